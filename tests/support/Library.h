// Records, lists and commands of a library, built in one line each, and
// their fields as comparable texts.
#pragma once

#include "core/MusicCommand.h"
#include "core/MusicManager.h"
#include "core/PlayListItem.h"
#include "support/RecordingPlatform.h"
#include "support/TempDir.h"

#include <string>
#include <vector>

// A song whose file is fileName (title + ".mp3" when empty) in location; the
// file type is the name's extension.
CSongPtr TestSong(const std::string& title, int time = 0, const std::string& location = "",
                  const std::string& fileName = "");

// An entry holding the songs, renumbered and totalled. A fileName equal to
// location makes a folder entry.
CEntryPtr TestEntry(const std::string& title, const std::string& location,
                    const std::string& fileName, const std::vector<CSongPtr>& songs = {},
                    const std::string& artist = "");

// A command with exactly these integer arguments and room for four texts.
CMusicCommand TestCommand(int code, const std::vector<int>& ints,
                          const std::vector<std::string>& strings = {});

using Lines = std::vector<std::string>;

// "title|artist|style|time|order|fileName|fileType|location|size".
std::string Describe(const CSongItem& song);
// "title|artist|style|count|time|playCount|fileName|location", then one
// indented line per song.
std::string Describe(const CPlayListItem& entry);
// One description per record of a list of songs or entries.
template <typename List> Lines Describe(const List& list) {
    Lines texts;
    for (const auto& record : list) {
        texts.push_back(Describe(*record));
    }
    return texts;
}

template <typename List> Lines TitlesOf(const List& list) {
    Lines titles;
    for (const auto& record : list) {
        titles.push_back(record ? record->title : "(none)");
    }
    return titles;
}

// The texts joined by the separator, for compact expectations in tables.
std::string Joined(const std::vector<std::string>& texts, const std::string& separator = " ");

// A frame that counts the redraws of the entry rows a command asks for.
class CCountingFrame : public CNullFrame {
public:
    int entryRedraws = 0;
    void RefillEntryRows() override { ++entryRedraws; }
};

// A manager with a folder of its own, a recording platform and a counting
// frame; Run executes one command built from its arguments.
struct CTestLibrary {
    CTempDir dir;
    CScopedRecordingPlatform recording;
    CRecordingPlatform& platform = recording.platform;
    CCountingFrame frame;
    CMusicManager manager{&frame};

    void Run(int code, const std::vector<int>& ints, const std::vector<std::string>& strings = {}) {
        manager.Execute(TestCommand(code, ints, strings));
    }
};
