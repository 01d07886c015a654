#include "core/InfoEdit.h"

#include "audio/Mp3Info.h"
#include "core/MusicManager.h"
#include "core/TagEdit.h"
#include "formats/PathFunctions.h"
#include "platform/Platform.h"
#include "platform/RenameFile.h"

#include <cerrno>
#include <cstring>
#include <map>

namespace {

// Why a title cannot name a file, or empty when it can.
std::string TitleRefusal(const std::string& title) {
    if (title.empty()) {
        return "新标题为空";
    }
    if (title.find('/') != std::string::npos) {
        return "新标题中含有\"/\"";
    }
    if (title.find('\0') != std::string::npos) {
        return "新标题中含有空字符";
    }
    return std::string();
}

void ReportRenameRefused(const std::string& oldPath, const std::string& newName,
                         const std::string& reason) {
    Platform().ShowMessage("音乐文件\"" + oldPath + "\"没有改名为\"" + newName + "\"：" + reason +
                               "。文件名保持不变。",
                           kAppTitle, CMessageIcon::Warning);
}

std::string NewFileName(const CSongItem& song) {
    return song.title + "." + song.fileType;
}

void WriteSongTag(const CSongItem& song, const std::string& album) {
    Mp3Info info;
    if (info.Open(song.GetFullPath()) != MP3_OK) {
        return; // Open has said why; the library's changes stay
    }
    WriteTagReported(info, song.title, song.artist, album, kKeepTagField, kKeepTagField,
                     kKeepTagField, kKeepTagField);
}

// The first song of songs whose file is path, or null.
CSongPtr FirstWithPath(const CSongList& songs, const std::string& path) {
    for (const CSongPtr& song : songs) {
        if (song && song->GetFullPath() == path) {
            return song;
        }
    }
    return nullptr;
}

void UpdateOtherCopy(CMusicManager& manager, bool insideEntry, const CSongItem& edited,
                     const std::string& oldPath) {
    if (insideEntry) {
        if (CSongPtr copy = FirstWithPath(manager.songs, oldPath)) {
            copy->CopyFrom(edited);
        }
        return;
    }
    for (const CEntryPtr& entry : manager.entries) {
        CSongPtr copy = entry ? FirstWithPath(entry->songs, oldPath) : nullptr;
        if (copy) {
            copy->CopyFrom(edited);
            return;
        }
    }
}

void FollowRename(const CSongList& songs, const std::string& oldPath, const CSongItem& renamed) {
    for (const CSongPtr& song : songs) {
        if (song && song->GetFullPath() == oldPath) {
            song->fileName = renamed.fileName;
            song->location = renamed.location;
        }
    }
}

// No song of the library may be left pointing at the file's old name.
void FollowRenameEverywhere(CMusicManager& manager, const std::string& oldPath,
                            const CSongItem& renamed) {
    FollowRename(manager.songs, oldPath, renamed);
    for (const CEntryPtr& entry : manager.entries) {
        if (entry) {
            FollowRename(entry->songs, oldPath, renamed);
        }
    }
}

} // namespace

bool RenameAfterTitle(CSongItem& song) {
    const std::string oldPath = song.GetFullPath();
    const std::string newName = NewFileName(song);
    const std::string newPath = JoinPath(song.location, newName);
    std::string refusal = TitleRefusal(song.title);
    if (refusal.empty() && newPath == oldPath) {
        return false;
    }
    int errorCode = 0;
    if (refusal.empty() && !RenameWithoutReplacing(oldPath, newPath, errorCode)) {
        refusal = errorCode == EEXIST ? "文件夹中已有同名的文件" : std::strerror(errorCode);
    }
    if (!refusal.empty()) {
        ReportRenameRefused(oldPath, newName, refusal);
        return false;
    }
    song.fileName = newName;
    const std::string folder = FolderOf(newPath);
    if (!folder.empty()) {
        song.location = folder;
    }
    return true;
}

void ApplySongEdit(CMusicManager& manager, int entryRow, const CSongPtr& song,
                   const CSongEdit& edit) {
    if (!song) {
        return;
    }
    const std::string oldTitle = song->title;
    const std::string oldPath = song->GetFullPath();
    song->title = edit.title;
    song->artist = edit.artist;
    song->style = edit.style;
    const CEntryPtr entry = entryRow >= 1 ? manager.entries.GetAt(entryRow) : nullptr;
    bool renamed = false;
    if (edit.updateFile) {
        if (song->title != oldTitle) {
            renamed = RenameAfterTitle(*song);
        }
        if (ExtensionOf(NewFileName(*song)) == "mp3") {
            WriteSongTag(*song, entry ? entry->title : kKeepTagField);
        }
    }
    UpdateOtherCopy(manager, entry != nullptr, *song, oldPath);
    if (renamed) {
        FollowRenameEverywhere(manager, oldPath, *song);
    }
}

void PassOnToSongs(CSongList& allSongs, const CPlayListItem& entry) {
    // One pass over the flat list finds every first copy, however long it is.
    std::map<std::string, CSongPtr> firstCopies;
    for (const CSongPtr& song : entry.songs) {
        if (song) {
            firstCopies.emplace(song->GetFullPath(), nullptr);
        }
    }
    for (const CSongPtr& song : allSongs) {
        if (!song) {
            continue;
        }
        auto found = firstCopies.find(song->GetFullPath());
        if (found != firstCopies.end() && !found->second) {
            found->second = song;
        }
    }
    for (const CSongPtr& song : entry.songs) {
        if (!song) {
            continue;
        }
        song->artist = entry.artist;
        song->style = entry.style;
        if (const CSongPtr& copy = firstCopies[song->GetFullPath()]) {
            copy->title = song->title;
            copy->artist = song->artist;
            copy->style = song->style;
        }
    }
}
