#include "app/CommandTable.h"

#include "app/CommandIds.h"
#include "app/MainFrame.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <map>

const char* const kArtistMenuName = "ArtistMenu";

namespace {

enum : int { kSeparator = -1, kSubmenu = 0 };

struct CMenuItemDef {
    int id;
    const char* text;
    const char* shortcutText;
    std::vector<CMenuItemDef> items; // a submenu's items
};

const CMenuItemDef kSeparatorItem{kSeparator, "", "", {}};

CMenuItemDef Item(int id, const char* text, const char* shortcutText = "") {
    return CMenuItemDef{id, text, shortcutText, {}};
}

CMenuItemDef Submenu(const char* text, std::vector<CMenuItemDef> items) {
    return CMenuItemDef{kSubmenu, text, "", std::move(items)};
}

CMenuItemDef RandomEntriesMenu(bool withShortcuts) {
    return Submenu("随机播放曲目",
                   {
                       Item(ID_RANDOM_ENTRIES_1, "1个曲目", withShortcuts ? "Shift+1" : ""),
                       Item(ID_RANDOM_ENTRIES_2, "2个曲目", withShortcuts ? "Shift+2" : ""),
                       Item(ID_RANDOM_ENTRIES_4, "4个曲目", withShortcuts ? "Shift+4" : ""),
                       kSeparatorItem,
                       Item(ID_RANDOM_ENTRIES_1_SHUFFLED, "1个曲目 (乐序随机)"),
                       Item(ID_RANDOM_ENTRIES_2_SHUFFLED, "2个曲目 (乐序随机)"),
                       Item(ID_RANDOM_ENTRIES_4_SHUFFLED, "4个曲目 (乐序随机)"),
                   });
}

CMenuItemDef RandomSongsMenu(bool withShortcuts) {
    return Submenu("随机播放音乐",
                   {
                       Item(ID_RANDOM_SONGS_10, "10首", withShortcuts ? "Alt+1" : ""),
                       Item(ID_RANDOM_SONGS_20, "20首", withShortcuts ? "Alt+2" : ""),
                       Item(ID_RANDOM_SONGS_40, "40首", withShortcuts ? "Alt+4" : ""),
                   });
}

CMenuItemDef ArtistMenu() {
    return Submenu("随机播放艺术家", {Item(ID_ARTIST_PLACEHOLDER, "1")});
}

std::vector<CMenuItemDef> MenuBarItems() {
    return {
        Submenu("文件(&F)",
                {Item(ID_IMPORT_LIST, "导入音乐单..", "Ctrl+O"),
                 Item(ID_EXPORT_LIST, "导出音乐单..", "Ctrl+S"),
                 Item(ID_EXPORT_HTML, "导出音乐单为网页.."), kSeparatorItem,
                 Item(ID_SETTINGS, "功能设置..", "Ctrl+T"),
                 Submenu("弹出菜单", {Item(ID_MENU_SIMPLE, "简洁"), Item(ID_MENU_FULL, "全部")}),
                 kSeparatorItem, Item(ID_APP_EXIT, "退出..", "Alt+F4")}),
        Submenu("曲目(&M)",
                {Item(ID_IMPORT_FOLDER, "从文件夹导入音乐..", "Ctrl+I"), kSeparatorItem,
                 Item(ID_EDIT_INFO, "编辑曲目资料..", "Ctrl+E"),
                 Item(ID_EDIT_INFO, "编辑音乐资料..", "Ctrl+E"),
                 Item(ID_WRITE_TAGS, "将资料应用至音乐文件中.."), kSeparatorItem,
                 Item(ID_ADD_ENTRY, "添加曲目..", "Ctrl+A"), Item(ID_REMOVE_ENTRY, "移去曲目.."),
                 Item(ID_CLEAR_LIBRARY, "移去所有曲目..", "Ctrl+L"),
                 Item(ID_SAVE_ENTRY_M3U, "另存曲目为 m3u.."), kSeparatorItem,
                 Item(ID_FOLDER_TO_M3U, "转换当前文件夹为m3u曲目"),
                 Item(ID_ALL_FOLDERS_TO_M3U, "转换所有文件夹为m3u曲目")}),
        Submenu("播放(&P)",
                {Item(ID_PLAY, "播放", "Ctrl+P"), kSeparatorItem, RandomEntriesMenu(true),
                 RandomSongsMenu(true), Item(ID_PLAY_ENTRIES_SHUFFLED, "随机播放所选曲目(可多个) "),
                 kSeparatorItem, Item(ID_PLAY_SONGS_SHUFFLED, "随机播放多个歌曲")}),
        Submenu("帮助(&H)",
                {Item(ID_HELP, "帮助", "Ctrl+H"), Item(ID_APP_ABOUT, "关于 Cricklet.."),
                 kSeparatorItem, Item(ID_DOWNLOAD_PAGE, "Cricklet 最新版本"),
                 Item(ID_HOMEPAGE, "Cricklet 的主页"), Item(ID_FEEDBACK, "用户反馈意见..")}),
    };
}

// The items both playlist menus begin with, up to the shuffled selection.
std::vector<CMenuItemDef> PlayListMenuHead() {
    return {Item(ID_PLAY, "播放曲目", "Ctrl+P"),
            Item(ID_EDIT_INFO, "编辑曲目资料..", "Ctrl+E"),
            kSeparatorItem,
            RandomEntriesMenu(true),
            RandomSongsMenu(true),
            ArtistMenu(),
            Item(ID_PLAY_ENTRIES_SHUFFLED, "随机播放所选曲目(可多个) ")};
}

std::vector<CMenuItemDef> MenuItems(int resourceId) {
    std::vector<CMenuItemDef> items;
    switch (resourceId) {
    case IDR_PLAYLIST:
        items = PlayListMenuHead();
        items.insert(items.end(), {kSeparatorItem, Item(ID_ADD_ENTRY, "添加曲目..", "Ctrl+A"),
                                   Item(ID_REMOVE_ENTRY, "移去曲目.."),
                                   Item(ID_CLEAR_LIBRARY, "移去所有曲目..", "Ctrl+L"),
                                   Item(ID_SAVE_ENTRY_M3U, "另存曲目为 m3u.."), kSeparatorItem,
                                   Item(ID_IMPORT_LIST, "导入音乐单..", "Ctrl+O"),
                                   Item(ID_EXPORT_LIST, "导出音乐单..", "Ctrl+S"),
                                   Item(ID_EXPORT_HTML, "导出音乐单为网页.."), kSeparatorItem,
                                   Item(ID_IMPORT_FOLDER, "从文件夹导入音乐..", "Ctrl+I"),
                                   Item(ID_WRITE_TAGS, "将资料应用至音乐文件中.."),
                                   Item(ID_EXPLORE_ENTRY, "浏览文件目录.."), kSeparatorItem,
                                   Item(ID_FOLDER_TO_M3U, "转换当前文件夹为m3u曲目"),
                                   Item(ID_ALL_FOLDERS_TO_M3U, "转换所有文件夹为m3u曲目"),
                                   kSeparatorItem, Item(ID_HELP, "帮助", "Ctrl+H")});
        break;
    case IDR_PLAYLIST_SIMPLE:
        items = PlayListMenuHead();
        items.insert(items.end(), {kSeparatorItem, Item(ID_ADD_ENTRY, "添加曲目..", "Ctrl+A"),
                                   Item(ID_REMOVE_ENTRY, "移去曲目.."), kSeparatorItem,
                                   Item(ID_HELP, "帮助", "Ctrl+H")});
        break;
    case IDR_SONG:
        items = {Item(ID_PLAY, "播放歌曲", "Ctrl+P"),
                 Item(ID_EDIT_INFO, "编辑音乐资料..", "Ctrl+E"),
                 Item(ID_EDIT_TAG, "编辑 MP3 TAG 信息.."),
                 kSeparatorItem,
                 Item(ID_PLAY_SONGS_SHUFFLED, "随机播放多个歌曲"),
                 kSeparatorItem,
                 Item(ID_ADD_SONG, "添加歌曲.."),
                 Item(ID_REMOVE_SONGS, "移去歌曲.."),
                 kSeparatorItem,
                 Item(ID_EXPLORE_SONG, "浏览文件目录.."),
                 Item(ID_HELP, "帮助", "Ctrl+H")};
        break;
    case IDR_TRAY:
        items = {Item(ID_SHOW_WINDOW, "显示主界面"),
                 Item(ID_HIDE_WINDOW, "隐藏主界面"),
                 Item(ID_CANCEL_POPUP, "取消弹出"),
                 kSeparatorItem,
                 RandomEntriesMenu(false),
                 RandomSongsMenu(false),
                 ArtistMenu(),
                 kSeparatorItem,
                 Item(ID_IMPORT_FOLDER, "从文件夹导入音乐.."),
                 Item(ID_IMPORT_LIST, "导入音乐单.."),
                 kSeparatorItem,
                 Item(ID_SETTINGS, "功能设置.."),
                 Item(ID_HELP, "帮助"),
                 kSeparatorItem,
                 Item(ID_APP_EXIT, "退出..")};
        break;
    default:
        break;
    }
    return items;
}

void AddItems(QMenu* menu, const std::vector<CMenuItemDef>& items, CMainFrame& frame) {
    QObject::connect(menu, &QMenu::aboutToShow, &frame,
                     [menu, &frame] { frame.UpdateMenuItems(menu); });
    for (const CMenuItemDef& item : items) {
        if (item.id == kSeparator) {
            menu->addSeparator();
        } else if (item.id == kSubmenu) {
            QMenu* submenu = menu->addMenu(QString::fromUtf8(item.text));
            if (item.items.size() == 1 && item.items[0].id == ID_ARTIST_PLACEHOLDER) {
                submenu->setObjectName(QString::fromUtf8(kArtistMenuName));
            }
            AddItems(submenu, item.items, frame);
        } else {
            QString text = QString::fromUtf8(item.text);
            if (item.shortcutText[0] != '\0') {
                text += QLatin1Char('\t') + QString::fromUtf8(item.shortcutText);
            }
            QAction* action = menu->addAction(text);
            const int id = item.id;
            action->setData(id);
            action->setStatusTip(CommandPrompt(id));
            QObject::connect(action, &QAction::triggered, &frame,
                             [&frame, id] { frame.ExecuteCommand(id); });
        }
    }
}

void CollectTexts(const std::vector<CMenuItemDef>& items, std::map<int, QString>& texts) {
    for (const CMenuItemDef& item : items) {
        if (item.id == kSubmenu) {
            CollectTexts(item.items, texts);
        } else if (item.id > 0 && texts.count(item.id) == 0) {
            texts[item.id] = QString::fromUtf8(item.text);
        }
    }
}

const std::map<int, const char*>& PromptStrings() {
    static const std::map<int, const char*> prompts = {
        {ID_PLAY, "\n播放所选的曲目或音乐"},
        {ID_APP_EXIT, "\n退出"},
        {ID_EDIT_INFO, "\n编辑当前曲目"},
        {ID_ADD_ENTRY, "\n添加一个曲目(*.m3u)"},
        {ID_REMOVE_ENTRY, "\n移去一个曲目，但不会删除曲目文件"},
        {ID_IMPORT_LIST, "\n导入一个音乐单"},
        {ID_EXPORT_LIST, "\n导出当前音乐单"},
        {ID_SETTINGS, "\n功能设置"},
        {ID_CLEAR_LIBRARY, "清除所有曲目，不会删除曲目文件"},
        {ID_RANDOM_ENTRIES_1, "所有曲目中随机播放1个曲目"},
        {ID_RANDOM_ENTRIES_2, "所有曲目中随机播放2个曲目"},
        {ID_RANDOM_ENTRIES_4, "所有曲目中随机播放4个曲目"},
        {ID_RANDOM_SONGS_10, "所有音乐中随机播放10首"},
        {ID_RANDOM_SONGS_20, "所有音乐中随机播放20首"},
        {ID_RANDOM_SONGS_40, "所有音乐中随机播放40首"},
        {ID_HELP, "\n帮助"},
        {ID_WIZARD, "打开向导入门对话框"},
        {ID_HOMEPAGE, "\n访问相关网站"},
        {ID_IMPORT_FOLDER, "\n从指定的文件夹内导入所有的音乐文件，和播放列表(*.m3u)"},
        {ID_EXPLORE_ENTRY, "调用资源浏览器浏览存放当前选中曲目的文件夹"},
        {ID_EXPLORE_SONG, "调用资源浏览器浏览存放当前选中歌曲的文件夹"},
        {ID_PLAY_ENTRIES_SHUFFLED, "随机播放当前所选的一个或多个曲目"},
        {ID_FOLDER_TO_M3U, "转换当前所选的音乐文件夹曲目为m3u曲目 (文件夹变虫子)"},
        {ID_ALL_FOLDERS_TO_M3U, "转换所有的音乐文件夹曲目为m3u曲目 (所有的文件夹变虫子) "},
        {ID_REMOVE_SONGS, "在当前选中的曲目中移去歌曲"},
        {ID_ADD_SONG, "在当前选中的曲目中添加歌曲"},
        {ID_DOWNLOAD_PAGE, "访问\"Cricklet 鸣蛩\"更新信息"},
        {ID_SAVE_ENTRY_M3U, "另存当前选中的曲目为m3u(winamp playlist)播放列表文件"},
        {ID_FEEDBACK, "用电子邮件的方式提交您对Cricklet鸣蛩的意见 "},
        {ID_RANDOM_ENTRIES_2_SHUFFLED, "所有曲目中随机播放2个曲目 (乐序随机)"},
        {ID_RANDOM_ENTRIES_1_SHUFFLED, "所有曲目中随机播放1个曲目 (乐序随机)"},
        {ID_RANDOM_ENTRIES_4_SHUFFLED, "所有曲目中随机播放4个曲目 (乐序随机)"},
        {ID_APP_ABOUT, "关于本软件"},
    };
    return prompts;
}

QString PromptString(int commandId) {
    auto found = PromptStrings().find(commandId);
    return found == PromptStrings().end() ? QString() : QString::fromUtf8(found->second);
}

const std::map<int, QList<QKeySequence>>& Accelerators() {
    // Shift with a digit arrives as the shifted character on most layouts,
    // so those accelerators also answer to "!", "@" and "$".
    static const std::map<int, QList<QKeySequence>> keys = {
        {ID_RANDOM_SONGS_10, {QKeySequence(Qt::ALT | Qt::Key_1)}},
        {ID_RANDOM_ENTRIES_1,
         {QKeySequence(Qt::SHIFT | Qt::Key_1), QKeySequence(Qt::SHIFT | Qt::Key_Exclam)}},
        {ID_RANDOM_SONGS_20, {QKeySequence(Qt::ALT | Qt::Key_2)}},
        {ID_RANDOM_ENTRIES_2,
         {QKeySequence(Qt::SHIFT | Qt::Key_2), QKeySequence(Qt::SHIFT | Qt::Key_At)}},
        {ID_RANDOM_SONGS_40, {QKeySequence(Qt::ALT | Qt::Key_4)}},
        {ID_RANDOM_ENTRIES_4,
         {QKeySequence(Qt::SHIFT | Qt::Key_4), QKeySequence(Qt::SHIFT | Qt::Key_Dollar)}},
        {ID_ADD_ENTRY, {QKeySequence(Qt::CTRL | Qt::Key_A)}},
        {ID_EDIT_INFO, {QKeySequence(Qt::CTRL | Qt::Key_E)}},
        {ID_HELP, {QKeySequence(Qt::CTRL | Qt::Key_H)}},
        {ID_IMPORT_FOLDER, {QKeySequence(Qt::CTRL | Qt::Key_I)}},
        {ID_CLEAR_LIBRARY, {QKeySequence(Qt::CTRL | Qt::Key_L)}},
        {ID_IMPORT_LIST, {QKeySequence(Qt::CTRL | Qt::Key_O)}},
        {ID_PLAY, {QKeySequence(Qt::CTRL | Qt::Key_P)}},
        {ID_PLAY_ENTRIES_SHUFFLED, {QKeySequence(Qt::CTRL | Qt::Key_R)}},
        {ID_EXPORT_LIST, {QKeySequence(Qt::CTRL | Qt::Key_S)}},
        {ID_SETTINGS, {QKeySequence(Qt::CTRL | Qt::Key_T)}},
        {ID_WIZARD, {QKeySequence(Qt::CTRL | Qt::Key_W)}},
    };
    return keys;
}

} // namespace

QString CommandPrompt(int commandId) {
    return PromptString(commandId).section(QLatin1Char('\n'), 0, 0);
}

QString CommandToolTip(int commandId) {
    QString prompt = PromptString(commandId);
    int newline = prompt.indexOf(QLatin1Char('\n'));
    return newline < 0 ? QString() : prompt.mid(newline + 1);
}

QList<QKeySequence> CommandShortcuts(int commandId) {
    auto found = Accelerators().find(commandId);
    return found == Accelerators().end() ? QList<QKeySequence>() : found->second;
}

std::vector<int> AcceleratorCommands() {
    std::vector<int> ids;
    for (const auto& accelerator : Accelerators()) {
        ids.push_back(accelerator.first);
    }
    return ids;
}

QString CommandText(int commandId) {
    static const std::map<int, QString> texts = [] {
        std::map<int, QString> collected;
        CollectTexts(MenuBarItems(), collected);
        for (int resource : {IDR_PLAYLIST, IDR_SONG, IDR_TRAY}) {
            CollectTexts(MenuItems(resource), collected);
        }
        return collected;
    }();
    auto found = texts.find(commandId);
    return found == texts.end() ? QString() : found->second;
}

QMenu* CreateMenuResource(int resourceId, CMainFrame& frame, QWidget* parent) {
    auto* menu = new QMenu(parent);
    AddItems(menu, MenuItems(resourceId), frame);
    return menu;
}

void FillMenuBar(QMenuBar* menuBar, CMainFrame& frame) {
    for (const CMenuItemDef& top : MenuBarItems()) {
        QMenu* menu = menuBar->addMenu(QString::fromUtf8(top.text));
        AddItems(menu, top.items, frame);
    }
}
