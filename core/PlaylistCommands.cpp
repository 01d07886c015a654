#include "core/PlaylistCommands.h"

#include "audio/Mp3Info.h"
#include "audio/SongFile.h"
#include "core/MusicManager.h"
#include "core/TagEdit.h"
#include "formats/M3uFile.h"
#include "formats/PathFunctions.h"
#include "platform/Platform.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <string>

namespace {

const char* const kAddM3uFailed = "添加曲目没有成功，M3U文件格式不正确";

// The first name of title.m3u, title_1.m3u, title_2.m3u, ... that is free in
// the folder, so that converting never overwrites a playlist already there.
std::string FreePlaylistPath(const std::string& folder, const std::string& title) {
    std::string path = JoinPath(folder, title + ".m3u");
    for (int suffix = 1; FileExists(path); ++suffix) {
        path = JoinPath(folder, title + "_" + std::to_string(suffix) + ".m3u");
    }
    return path;
}

// The name the playlist is given: the entry's title, or the folder's own name
// when the title cannot be a file name.
std::string PlaylistTitle(const CPlayListItem& entry) {
    if (entry.title.empty() || entry.title.find('/') != std::string::npos) {
        return NamePart(entry.location);
    }
    return entry.title;
}

// The tag writes that failed in one command, reported together at its end:
// a folder of read-only files gives one message, not one per file.
struct CTagWriteFailures {
    std::string firstPath;
    int firstCode = 0;
    int count = 0;
};

void WriteEntryTags(const CPlayListItem& entry, CTagWriteFailures& failures) {
    int count = std::min(entry.count, entry.songs.GetCount());
    for (int position = 1; position <= count; ++position) {
        CSongPtr song = entry.songs.GetAt(position);
        if (!song || ExtensionOf(song->fileName) != "mp3") {
            continue;
        }
        // A fresh reader per file: a file without a tag must not receive the
        // year, comment or genre that the previous file's tag left behind.
        Mp3Info info;
        if (info.Open(song->GetFullPath()) != 0) {
            continue;
        }
        errno = 0; // WriteTag returns right after the failing call, whose errno says why
        if (info.WriteTag(song->title, song->artist, entry.title, kKeepTagField, kKeepTagField,
                          kKeepTagField, kKeepTagField) == MP3_OK) {
            continue;
        }
        if (failures.count == 0) {
            failures.firstPath = info.path;
            failures.firstCode = errno;
        }
        ++failures.count;
    }
}

// A name with a line break would split its record line in the store files:
// it is refused whole rather than stored half.
bool RefuseUnstorableName(const std::string& path) {
    if (IsStorableName(path)) {
        return false;
    }
    Platform().ShowMessage("“" + path + "”的名称含有换行符，音乐单无法保存，未加入。", kAppTitle,
                           CMessageIcon::Information);
    return true;
}

} // namespace

void ExecuteAddM3u(CMusicManager& manager, const CMusicCommand& command) {
    if (RefuseUnstorableName(command.GetString(0))) {
        return;
    }
    auto entry = std::make_shared<CPlayListItem>();
    CM3uReadResult result = ReadM3UFileChecked(command.GetString(0), entry.get());
    if (result == CM3uReadResult::Unreadable) {
        return; // the file error has been shown
    }
    if (result == CM3uReadResult::Malformed) {
        Platform().ShowMessage(kAddM3uFailed, kAppTitle, CMessageIcon::Information);
        return;
    }
    manager.entries.AddTail(entry);
    for (const auto& song : entry->songs) {
        manager.songs.AddTail(song);
    }
    Platform().ShowMessage("添加曲目成功！标题:\"" + entry->title +
                               "\" 音乐数:" + std::to_string(entry->count) + "首",
                           kAppTitle, CMessageIcon::Information);
    manager.RefreshArtists();
}

void ExecuteFolderToM3u(CMusicManager& manager, const CMusicCommand& command) {
    CEntryPtr entry = manager.entries.GetAt(command.GetInt(0));
    if (!entry || entry->GetType() != PLTYPE_FOLDER) {
        return;
    }
    std::string path = FreePlaylistPath(entry->location, PlaylistTitle(*entry));
    // Song lines hold bare names: the playlist lies in the songs' own folder.
    // The entry becomes the playlist only once the file is really there.
    if (WriteM3UFile(path, *entry, false)) {
        entry->fileName = NamePart(path);
    }
    if (command.GetInt(1) == 0 && manager.frame != nullptr) {
        manager.frame->RefillEntryRows();
    }
}

void ExecuteAllFoldersToM3u(CMusicManager& manager, const CMusicCommand&) {
    int count = manager.entries.GetCount();
    for (int position = 1; position <= count; ++position) {
        CEntryPtr entry = manager.entries.GetAt(position);
        if (entry && entry->GetType() == PLTYPE_FOLDER) {
            CMusicCommand convert(MCMD_FOLDER_TO_M3U, 4, 4);
            convert.SetInt(position, 0);
            convert.SetInt(2, 1); // the pane is redrawn once, below
            manager.Execute(convert);
        }
    }
    if (manager.frame != nullptr) {
        manager.frame->RefillEntryRows();
    }
}

void ExecuteAddSong(CMusicManager& manager, const CMusicCommand& command) {
    if (RefuseUnstorableName(command.GetString(0))) {
        return;
    }
    auto song = std::make_shared<CSongItem>();
    // Stored by its absolute, normalised path: one file, one location.
    ReadSongFile(AbsolutePath(command.GetString(0)), song.get()); // added even when unreadable
    int row = command.GetInt(0);
    CEntryPtr entry = row > 0 ? manager.entries.GetAt(row) : nullptr;
    if (entry) {
        song->order = entry->count + 1;
        entry->songs.AddTail(song);
        entry->Renumber();
        entry->UpdateTotals();
    }
    manager.songs.AddTail(song);
}

void ExecuteWriteTags(CMusicManager& manager, const CMusicCommand& command) {
    CTagWriteFailures failures;
    for (int index = 0; index < command.intCount; ++index) {
        CEntryPtr entry = manager.entries.GetAt(command.GetInt(index));
        if (entry) {
            WriteEntryTags(*entry, failures);
        }
    }
    if (failures.count > 0) {
        ReportTagWriteFailure(failures.firstPath, failures.firstCode, failures.count - 1);
    }
}

void ExecuteSaveEntryM3u(CMusicManager& manager, const CMusicCommand& command) {
    CEntryPtr entry = manager.entries.GetAt(command.GetInt(0));
    if (entry) {
        WriteM3UFile(command.GetString(0), *entry, true);
    }
}
