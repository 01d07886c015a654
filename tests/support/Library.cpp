#include "support/Library.h"

CSongPtr TestSong(const std::string& title, int time, const std::string& location,
                  const std::string& fileName) {
    auto song = std::make_shared<CSongItem>();
    song->title = title;
    song->time = time;
    song->location = location;
    song->fileName = fileName.empty() ? title + ".mp3" : fileName;
    auto point = song->fileName.rfind('.');
    song->fileType = point == std::string::npos ? "" : song->fileName.substr(point + 1);
    return song;
}

CEntryPtr TestEntry(const std::string& title, const std::string& location,
                    const std::string& fileName, const std::vector<CSongPtr>& songs,
                    const std::string& artist) {
    auto entry = std::make_shared<CPlayListItem>();
    entry->title = title;
    entry->artist = artist;
    entry->location = location;
    entry->fileName = fileName;
    for (const auto& song : songs) {
        entry->songs.AddTail(song);
    }
    entry->Renumber();
    entry->UpdateTotals();
    return entry;
}

CMusicCommand TestCommand(int code, const std::vector<int>& ints,
                          const std::vector<std::string>& strings) {
    CMusicCommand command(code, static_cast<int>(ints.size()), 4);
    for (std::size_t i = 0; i < ints.size(); ++i) {
        command.SetInt(ints[i], static_cast<int>(i));
    }
    for (std::size_t i = 0; i < strings.size(); ++i) {
        command.SetString(strings[i], static_cast<int>(i));
    }
    return command;
}

std::string Describe(const CSongItem& song) {
    return song.title + "|" + song.artist + "|" + std::to_string(song.style) + "|" +
           std::to_string(song.time) + "|" + std::to_string(song.order) + "|" + song.fileName +
           "|" + song.fileType + "|" + song.location + "|" + std::to_string(song.size);
}

std::string Describe(const CPlayListItem& entry) {
    std::string text = entry.title + "|" + entry.artist + "|" + std::to_string(entry.style) + "|" +
                       std::to_string(entry.count) + "|" + std::to_string(entry.time) + "|" +
                       std::to_string(entry.playCount) + "|" + entry.fileName + "|" +
                       entry.location;
    for (const auto& song : entry.songs) {
        text += "\n  " + Describe(*song);
    }
    return text;
}

std::string Joined(const std::vector<std::string>& texts, const std::string& separator) {
    std::string joined;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        joined += (i == 0 ? "" : separator) + texts[i];
    }
    return joined;
}
