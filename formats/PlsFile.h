// PLS playlist files as other players write them: a "[playlist]" section
// with FileN, TitleN and LengthN keys. Read only; Cricklet writes M3U.
#pragma once

#include "core/PlayListItem.h"

#include <string>

bool IsPlsExtension(const std::string& extension);

// Appends the songs of a decoded PLS text to entry, in the order of their
// numbers, and sets its count and time. A song's title and time come from
// TitleN and LengthN where the list gives them, the rest from its file.
// Text without a "[playlist]" section gives no songs.
void ReadPlsSongs(const std::string& text, CPlayListItem& entry);
