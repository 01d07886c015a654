// The store files as the program writes them (PlayList.stp, MusicList.ckp,
// Cricklet.ini), built from records, for whole-file comparisons and for
// libraries written straight to disk.
#pragma once

#include "core/PlayListItem.h"

#include <string>
#include <vector>

// One song record, its nine lines.
std::string SongRecordText(const CSongItem& song);
// One entry record with its songs, each song followed by an empty line.
std::string EntryRecordText(const CPlayListItem& entry);
// A list file: header, "number = N;" (N the records' count unless given) and the records.
std::string ListFileText(const std::vector<std::string>& entryRecords, int number = -1);
std::string ListFileText(const CMusicList& entries);
std::string SongStoreText(const std::vector<CSongPtr>& songs);

// Cricklet.ini of the default settings after the first run.
std::string DefaultSettingsText(const std::string& workDirectory);

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to);
