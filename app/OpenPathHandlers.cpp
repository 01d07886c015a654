// Handler of a file or folder handed to the program from outside: its
// command line, a second copy, or a file manager's "open with".
#include "app/Handlers.h"

#include "app/MainFrame.h"
#include "core/MusicManager.h"
#include "core/PlayListItem.h"
#include "formats/PathFunctions.h"
#include "platform/Platform.h"

#include <sys/stat.h>

using namespace Handlers;

namespace {

bool IsFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsPlaylistExtension(const std::string& extension) {
    return IsM3uExtension(extension) || extension == "pls";
}

} // namespace

void OnOpenPath(CMainFrame& frame, const std::string& path) {
    RestoreIfHidden(frame);
    if (IsFolder(path)) {
        const int append = AskAppend(frame);
        if (append >= 0) {
            ImportFolder(frame, path, append);
        }
        return;
    }
    if (!FileExists(path)) {
        Platform().ShowMessage("找不到文件\"" + path + "\"", kAppTitle, CMessageIcon::Information);
        return;
    }
    const std::string extension = ExtensionOf(path);
    if (IsPlaylistExtension(extension)) {
        AddEntryFile(frame, path);
    } else if (frame.m_pManager->config.IsSupportedExtension(extension)) {
        AddSongFile(frame, path);
    } else {
        Platform().ShowMessage("Cricklet 不能添加\"" + path +
                                   "\": 它既不是播放列表, 也不是已启用的音乐文件类型。",
                               kAppTitle, CMessageIcon::Information);
    }
}
