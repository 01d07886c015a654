#include "core/ImportThread.h"

#include "audio/SongFile.h"
#include "core/ArtistIndex.h"
#include "core/FolderScan.h"
#include "core/MusicManager.h"
#include "formats/M3uFile.h"
#include "formats/PathFunctions.h"
#include "formats/PlsFile.h"
#include "platform/Platform.h"
#include "platform/TextEncoding.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const int kImportDialogResult = 1010;

// Texts in memory are UTF-8; names on disk may be old GBK bytes. Paths keep
// their raw bytes so the files still open, shown texts are decoded.
std::string ShownText(const std::string& bytes) {
    return IsValidUtf8(bytes) ? bytes : DecodeGb18030(bytes);
}

std::string AbsoluteFolder(const std::string& folder) {
    return AbsolutePath(folder.empty() ? std::string(".") : folder);
}

std::string ReportText(bool cancelled, int entryCount, int songCount, int skippedCount) {
    const char* format = cancelled ? "导入音乐文件被中断。共导入曲目%d个, 音乐文件%d个。"
                                   : "导入音乐文件成功！共导入曲目%d个, 音乐文件%d个。";
    char text[256];
    std::snprintf(text, sizeof text, format, entryCount, songCount);
    std::string report = text;
    if (skippedCount > 0) {
        std::snprintf(text, sizeof text,
                      "另有%d个文件或文件夹的名称含有换行符，音乐单无法保存，已跳过。",
                      skippedCount);
        report += text;
    }
    return report;
}

} // namespace

CImportThread::CImportThread(CMusicManager* owner, const std::string& root)
    : manager(owner), folder(AbsoluteFolder(root)) {}

CImportThread::~CImportThread() {
    Join();
}

void CImportThread::Start() {
    m_thread = std::thread([this] { InitInstance(); });
}

void CImportThread::Join() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void CImportThread::InitInstance() {
    if (IsStorableName(folder)) {
        ScanFolder(folder);
    } else {
        ++skippedNames;
    }
    // The index is rebuilt while the progress dialog still holds the user
    // interface: once it closes, commands may read the lists again, so the
    // worker must be done writing them.
    RebuildArtistIndex(manager->entries, manager->artists);
    CFrameInterface* frame = Frame();
    if (frame != nullptr) {
        frame->ImportCloseDialog(kImportDialogResult);
    }
    Platform().ShowMessage(
        ReportText(cancelled, manager->entries.GetCount() - manager->importBaseEntries,
                   manager->songs.GetCount() - manager->importBaseSongs, skippedNames),
        kAppTitle, CMessageIcon::Information);
    if (frame != nullptr) {
        frame->UpdateStatusText();
        frame->RebuildArtistMenu();
    }
}

void CImportThread::ScanFolder(const std::string& folderPath) {
    if (!EnterFolderOnce(folderPath)) {
        return;
    }
    std::vector<CFolderItem> items;
    ListFolder(folderPath, items); // a folder that cannot be listed gives no items
    SkipUnstorableNames(items);

    const CAppConfig& config = manager->config;
    int supportedFiles = CountSupportedFiles(config, items);
    CEntryPtr folderEntry;
    if (config.IsImportDir != 0 && supportedFiles > 0) {
        folderEntry = std::make_shared<CPlayListItem>();
        folderEntry->title = ShownText(TitlePart(NamePart(folderPath)));
        folderEntry->location = folderPath;
        folderEntry->fileName = folderPath;
        folderEntry->count = supportedFiles;
    }

    for (const CFolderItem& item : items) {
        if (cancelled) {
            return; // the unfinished folder entry is dropped
        }
        std::string path = JoinPath(folderPath, item.name);
        if (item.isDirectory) {
            ShowProgress(folderPath, std::string());
            if (ToLowerAscii(path).find("recycle") == std::string::npos) {
                ScanFolder(path);
            }
            continue;
        }
        std::string extension = ExtensionOf(item.name);
        if (IsM3uExtension(extension) || IsPlsExtension(extension)) {
            ShowProgress(folderPath, item.name);
            ImportPlaylist(path);
        } else if (config.IsSupportedExtension(extension)) {
            ShowProgress(folderPath, item.name);
            ImportSong(path, folderEntry);
        }
    }

    if (folderEntry) {
        folderEntry->UpdateTotals();
        AddEntry(folderEntry);
    }
}

bool CImportThread::EnterFolderOnce(const std::string& folderPath) {
    struct stat info {};
    if (stat(folderPath.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        return false;
    }
    return m_visitedFolders.insert({info.st_dev, info.st_ino}).second;
}

void CImportThread::SkipUnstorableNames(std::vector<CFolderItem>& items) {
    const CAppConfig& config = manager->config;
    auto unstorable = [&](const CFolderItem& item) {
        if (IsStorableName(item.name)) {
            return false;
        }
        std::string extension = ExtensionOf(item.name);
        if (item.isDirectory || IsM3uExtension(extension) ||
            config.IsSupportedExtension(extension)) {
            ++skippedNames;
        }
        return true;
    };
    items.erase(std::remove_if(items.begin(), items.end(), unstorable), items.end());
}

void CImportThread::ImportSong(const std::string& path, const CEntryPtr& folderEntry) {
    auto song = std::make_shared<CSongItem>();
    if (!ReadSongFile(path, song.get())) {
        return;
    }
    if (!IsValidUtf8(song->title)) {
        song->title = DecodeGb18030(song->title);
    }
    manager->songs.AddTail(song);
    if (CFrameInterface* frame = Frame()) {
        frame->ImportInsertSongRow(song, manager->songs.GetCount() - 1);
    }
    if (folderEntry) {
        folderEntry->songs.AddTail(song);
    }
}

void CImportThread::ImportPlaylist(const std::string& path) {
    auto entry = std::make_shared<CPlayListItem>();
    if (ReadM3UFile(path, entry.get())) {
        AddEntry(entry);
    }
}

void CImportThread::AddEntry(const CEntryPtr& entry) {
    manager->entries.AddTail(entry);
    if (CFrameInterface* frame = Frame()) {
        frame->ImportInsertEntryRow(entry, manager->entries.GetCount());
    }
}

void CImportThread::ShowProgress(const std::string& folderPath, const std::string& fileName) {
    if (CFrameInterface* frame = Frame()) {
        frame->ImportShowProgress(ShownText(folderPath), ShownText(fileName));
    }
}

CFrameInterface* CImportThread::Frame() const {
    return manager->GetFrame();
}
