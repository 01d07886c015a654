// The command IDs that menus, the toolbar, accelerators and the tray menu
// send to the main frame. The numbers are the program's resource numbers;
// handlers and update rules are keyed by them.
#pragma once

enum : int {
    ID_PLAY = 32773,                  // 播放
    ID_APP_EXIT = 32778,              // 退出..
    ID_EDIT_INFO = 32784,             // 编辑曲目资料.. / 编辑音乐资料..
    ID_ADD_ENTRY = 32785,             // 添加曲目..
    ID_REMOVE_ENTRY = 32786,          // 移去曲目..
    ID_IMPORT_LIST = 32790,           // 导入音乐单..
    ID_EXPORT_LIST = 32791,           // 导出音乐单..
    ID_SETTINGS = 32793,              // 功能设置..
    ID_CLEAR_LIBRARY = 32794,         // 移去所有曲目..
    ID_RANDOM_ENTRIES_1 = 32798,      // 1个曲目
    ID_RANDOM_ENTRIES_2 = 32799,      // 2个曲目
    ID_RANDOM_ENTRIES_4 = 32800,      // 4个曲目
    ID_RANDOM_SONGS_10 = 32801,       // 10首
    ID_RANDOM_SONGS_20 = 32802,       // 20首
    ID_RANDOM_SONGS_40 = 32803,       // 40首
    ID_HELP = 32804,                  // 帮助
    ID_WIZARD = 32806,                // Ctrl+W; no handler
    ID_HOMEPAGE = 32807,              // Cricklet 的主页
    ID_IMPORT_FOLDER = 32809,         // 从文件夹导入音乐..
    ID_EXPLORE_ENTRY = 32814,         // 浏览文件目录.. (playlist pane)
    ID_EXPLORE_SONG = 32819,          // 浏览文件目录.. (song pane)
    ID_PLAY_ENTRIES_SHUFFLED = 32828, // 随机播放所选曲目(可多个)
    ID_FOLDER_TO_M3U = 32829,         // 转换当前文件夹为m3u曲目
    ID_ALL_FOLDERS_TO_M3U = 32830,    // 转换所有文件夹为m3u曲目
    ID_SHOW_WINDOW = 32831,           // 显示主界面
    ID_HIDE_WINDOW = 32832,           // 隐藏主界面
    ID_CANCEL_POPUP = 32835,          // 取消弹出
    ID_REMOVE_SONGS = 32836,          // 移去歌曲..
    ID_ADD_SONG = 32837,              // 添加歌曲..
    ID_DOWNLOAD_PAGE = 32838,         // Cricklet 最新版本
    ID_SAVE_ENTRY_M3U = 32839,        // 另存曲目为 m3u..
    ID_EDIT_TAG = 32841,              // 编辑 MP3 TAG 信息..
    ID_MENU_SIMPLE = 32842,           // 弹出菜单 > 简洁
    ID_MENU_FULL = 32845,             // 弹出菜单 > 全部
    ID_PLAY_SONGS_SHUFFLED = 32846,   // 随机播放多个歌曲
    ID_FEEDBACK = 32847,              // 用户反馈意见..
    ID_RANDOM_ENTRIES_2_SHUFFLED = 32849,
    ID_RANDOM_ENTRIES_1_SHUFFLED = 32850,
    ID_RANDOM_ENTRIES_4_SHUFFLED = 32851,
    ID_WRITE_TAGS = 32852,         // 将资料应用至音乐文件中..
    ID_ARTIST_PLACEHOLDER = 32855, // "1" in an artist menu not filled yet
    ID_EXPORT_HTML = 32856,        // 导出音乐单为网页..
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_APP_ABOUT = 57664,    // 关于 Cricklet..
    ID_ARTIST_FIRST = 40000, // artist k (1-based) is ID_ARTIST_FIRST + k - 1
    ID_ARTIST_LAST = 43601,
};

// The artist command of the k-th artist (1-based) of the artist index.
inline int ArtistCommandId(int k) {
    return ID_ARTIST_FIRST + k - 1;
}
inline bool IsArtistCommand(int commandId) {
    return commandId >= ID_ARTIST_FIRST && commandId <= ID_ARTIST_LAST;
}
