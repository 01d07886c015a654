// Renaming a file without ever replacing another one: the music files that
// the library renames after their titles must not overwrite a neighbour.
#pragma once

#include <string>

// Renames from to to when nothing exists at to. False with the system's
// error number in errorCode otherwise (EEXIST when to is taken); the file
// then keeps its old name.
bool RenameWithoutReplacing(const std::string& from, const std::string& to, int& errorCode);
