// The genre names that an ID3v1 tag's genre byte indexes: the ID3v1 list
// (0..79) and its customary extension up to "Dance Hall" (80..125).
#pragma once

#include <string>

const int kGenreCount = 126;

extern const char* const GenreNames[kGenreCount];

// The index of the name equal to name (exact, case-sensitive), or -1.
int FindGenreIndex(const std::string& name);
