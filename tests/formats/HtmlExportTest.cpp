#include "formats/HtmlExport.h"

#include "core/MusicManager.h"
#include "formats/PathFunctions.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/TextEncoding.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <dirent.h>

#include <algorithm>

#include <string>
#include <vector>

namespace {

// The template of the section rules, with markers, placeholders and fixed
// text partly in capitals.
const std::vector<std::string> kRuleTemplate = {
    "<HTML><HEAD><TITLE>Cricklet音乐单模板</TITLE></HEAD><BODY>",
    "<table border=1><tr><td>曲目</td><td>类型</td><td>艺术家</td><td>风格</td><td>曲数</td>"
    "<td>时间</td>",
    "</TR>",
    "<tr><td><a href=#LINK_NAME>#PL_TITLE</a></td><td>#pl_type</td><td>#pl_artist</td>"
    "<td>#pl_style</td><td>#pl_count</td><td>#pl_time</td>",
    "</tr>",
    "</table>",
    "<a name=link_index></a><h3>#pl_title_line</h3>",
    "<table border=1><tr><td>序号</td><td>标题</td><td>艺术家</td><td>风格</td><td>时间</td>"
    "<td>类型</td><td>大小</td><td>位置</td>",
    "</tr>",
    "<tr><td>#m_index</td><td>#m_title</td><td>#m_artist</td><td>#m_genre</td><td>#m_time</td>"
    "<td>#m_ftype</td><td>#m_fsize</td><td>file_path</td>",
    "</tr>",
    "Nothing after the song row is read",
};

const char* const kIndexHeader = "<table border=1><tr><td>曲目</td><td>类型</td><td>艺术家</td>"
                                 "<td>风格</td><td>曲数</td><td>时间</td>\n";
const char* const kSongHeader =
    "<table border=1><tr><td>序号</td><td>标题</td><td>艺术家</td>"
    "<td>风格</td><td>时间</td><td>类型</td><td>大小</td><td>位置</td>\n";

CSongPtr MakeSong(const std::string& title, const std::string& artist, int style, int time,
                  int order, const std::string& fileName, const std::string& location,
                  std::int64_t size) {
    auto song = std::make_shared<CSongItem>();
    song->title = title;
    song->artist = artist;
    song->style = style;
    song->time = time;
    song->order = order;
    song->fileName = fileName;
    song->fileType = fileName == "不存在" ? "" : "mp3";
    song->location = location;
    song->size = size;
    return song;
}

CEntryPtr MakeEntry(const std::string& title, const std::string& artist, int style,
                    const std::string& fileName, const std::string& location) {
    auto entry = std::make_shared<CPlayListItem>();
    entry->title = title;
    entry->artist = artist;
    entry->style = style;
    entry->fileName = fileName;
    entry->location = location;
    return entry;
}

// An m3u entry without a title holding a song with markup in its title and
// a missing song; a folder; an entry of another playlist type whose title
// holds a placeholder word.
CMusicList SampleLibrary() {
    CMusicList entries;
    CEntryPtr playlist = MakeEntry("", "", 2001, "list.m3u", "/m");
    playlist->songs.AddTail(MakeSong("<b>&", "Ann", 2002, 65, 1, "a.mp3", "/m", 2960384));
    playlist->songs.AddTail(MakeSong("", "", 2016, 0, 2, "不存在", "", 0));
    playlist->UpdateTotals();
    entries.AddTail(playlist);
    entries.AddTail(MakeEntry("Folder \"X\"", "AC/DC", 2003, "/music/X", "/music/X"));
    entries.AddTail(MakeEntry("Other #pl_count", "", 2005, "list.asx", "/m"));
    return entries;
}

class CMessageRecorder : public CPlatform {
public:
    std::vector<std::string> messages;
    void ShowMessage(const std::string& text, const std::string&, CMessageIcon) override {
        messages.push_back(text);
    }
    CAnswer AskOkCancel(const std::string&, const std::string&) override { return CAnswer::Cancel; }
    CAnswer AskYesNo(const std::string&, const std::string&) override { return CAnswer::No; }
    CAnswer AskYesNoCancel(const std::string&, const std::string&) override {
        return CAnswer::Cancel;
    }
    void OpenPath(const std::string&) override {}
    void ExploreFolder(const std::string&) override {}
    bool StartProgram(const std::string&, const std::string&, std::string&) override {
        return false;
    }
};

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

std::vector<std::string> FolderNames(const std::string& folder) {
    std::vector<std::string> names;
    DIR* listing = opendir(folder.c_str());
    while (const dirent* item = listing ? readdir(listing) : nullptr) {
        if (item->d_name[0] != '.') {
            names.push_back(item->d_name);
        }
    }
    if (listing != nullptr) {
        closedir(listing);
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(HtmlExport, FillsEverySectionWithEscapedValuesNeverRescanned) {
    std::string page = BuildHtmlPage(kRuleTemplate, "Rock & Roll", SampleLibrary());

    std::string expected =
        std::string(
            "<html><head><meta charset=\"utf-8\"><title>Rock &amp; Roll</title></head><body>\n") +
        kIndexHeader +
        "<tr><td><a href=#1>N/A</a></td><td>m3u</td><td>N/A</td><td>N/A</td><td>2</td>"
        "<td>01:05</td>\n"
        "</tr>\n"
        "<tr><td><a href=#2>Folder &quot;X&quot;</a></td><td>文件夹</td><td>AC/DC</td>"
        "<td>摇滚</td><td>0</td><td>Unknown</td>\n"
        "</tr>\n"
        "<tr><td><a href=#3>Other #pl_count</a></td><td>#pl_type</td><td>N/A</td><td>古典</td>"
        "<td>0</td><td>Unknown</td>\n"
        "</tr>\n"
        "</table>\n"
        "<a name=1></a><h3></h3>\n" +
        kSongHeader +
        "<tr><td>1</td><td>&lt;b&gt;&amp;</td><td>Ann</td><td>流行</td><td>01:05</td>"
        "<td>mp3</td><td>2960KB</td><td>/m/a.mp3</td>\n"
        "</tr>\n"
        "<tr><td>2</td><td>N/A</td><td>N/A</td><td>未知</td><td>Unknown</td><td></td>"
        "<td>0KB</td><td>不存在</td>\n"
        "</tr>\n"
        "</table>\n"
        "<a name=2></a><h3>Folder &quot;X&quot;</h3>\n" +
        kSongHeader +
        "</table>\n"
        "<a name=3></a><h3>Other #pl_count</h3>\n" +
        kSongHeader +
        "</table>\n"
        "</body>\n"
        "</html>\n";
    EXPECT_EQ(page, expected);
}

TEST(HtmlExport, EmptyLibraryGivesHeadMiddleAndClosingLines) {
    std::string page = BuildHtmlPage(kRuleTemplate, "x", CMusicList());
    EXPECT_EQ(page,
              std::string("<html><head><meta charset=\"utf-8\"><title>x</title></head><body>\n") +
                  kIndexHeader + "</table>\n</body>\n</html>\n");
}

TEST(HtmlExport, ATemplateThatEndsEarlyUsesOnlyItsCompleteSections) {
    CMusicList entries = SampleLibrary();
    // An entry whose count claims more songs than it holds.
    entries.GetAt(1)->count = 5;

    // No "</tr>" at all: every line is head.
    EXPECT_EQ(BuildHtmlPage({"<P>Just TEXT", "Line 2"}, "t", entries),
              "<meta charset=\"utf-8\">\n<p>just text\nline 2\n</body>\n</html>\n");

    // Ends inside the entry row: no rows, no entry tables.
    EXPECT_EQ(BuildHtmlPage({"<body>", "</tr>", "<tr><td>#pl_title</td>"}, "t", entries),
              "<meta charset=\"utf-8\">\n<body>\n</body>\n</html>\n");

    // Ends inside the song row: headers and column headers, no song rows.
    std::vector<std::string> cut(kRuleTemplate.begin(), kRuleTemplate.begin() + 9);
    cut.push_back("<tr><td>#m_title</td>");
    std::string page = BuildHtmlPage(cut, "t", entries);
    std::string tables = std::string("<a name=1></a><h3></h3>\n") + kSongHeader + "</table>\n" +
                         "<a name=2></a><h3>Folder &quot;X&quot;</h3>\n" + kSongHeader +
                         "</table>\n" + "<a name=3></a><h3>Other #pl_count</h3>\n" + kSongHeader +
                         "</table>\n</body>\n</html>\n";
    ASSERT_GE(page.size(), tables.size());
    EXPECT_EQ(page.substr(page.size() - tables.size()), tables);

    // Complete template, count past the songs: only the songs there are.
    page = BuildHtmlPage(kRuleTemplate, "t", entries);
    EXPECT_NE(page.find("<td>2</td><td>N/A</td><td>N/A</td><td>未知</td>"), std::string::npos);
    EXPECT_EQ(page.find("<td>3</td><td>"), std::string::npos);
}

TEST(HtmlExport, WritesTheUsersTemplateCopyAtomicallyAsUtf8) {
    CTempDir work;
    // A template saved by the original program: GBK bytes.
    work.Write("Template.htm", EncodeGb18030(JoinLines(kRuleTemplate)));
    CMessageRecorder recorder;
    SetPlatform(&recorder);
    CNullFrame frame;
    CMusicManager manager(&frame);
    manager.config.WorkDirectory = work.Path();
    CMusicList entries = SampleLibrary();
    work.Write("out/新建音乐单.htm", "old page");

    EXPECT_TRUE(manager.store.ExportHtml(work.File("out/新建音乐单.htm"), entries));

    EXPECT_EQ(work.Read("out/新建音乐单.htm"), BuildHtmlPage(kRuleTemplate, "新建音乐单", entries));
    EXPECT_EQ(FolderNames(work.File("out")), (std::vector<std::string>{"新建音乐单.htm"}));
    EXPECT_TRUE(recorder.messages.empty());

    // An output folder that does not exist: reported, nothing written.
    EXPECT_FALSE(manager.store.ExportHtml(work.File("none/page.htm"), entries));
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].rfind(work.File("none/page.htm") + ": ", 0), 0u);
    SetPlatform(nullptr);
}

TEST(HtmlExport, UsersTemplateWinsOverTheInstalledOne) {
    CTempDir work;
    std::string installed = InstalledDataFolder() + "/Template.htm";
    EXPECT_EQ(FindInstalledFile(work.Path(), "Template.htm"),
              FileExists(installed) ? installed : work.File("Template.htm"));
    work.Write("Template.htm", "x");
    work.Write("Help/ckhelp.htm", "x");
    EXPECT_EQ(FindInstalledFile(work.Path(), "Template.htm"), work.File("Template.htm"));
    EXPECT_EQ(FindInstalledFile(work.Path(), "Help/ckhelp.htm"), work.File("Help/ckhelp.htm"));
}

TEST(HtmlExport, MissingTemplateIsReportedAndNoPageIsCreated) {
    CTempDir work;
    if (FileExists(FindInstalledFile(work.Path(), "Template.htm"))) {
        GTEST_SKIP() << "an installed Template.htm would be used";
    }
    CMessageRecorder recorder;
    SetPlatform(&recorder);
    CNullFrame frame;
    CMusicManager manager(&frame);
    manager.config.WorkDirectory = work.Path();

    EXPECT_FALSE(manager.store.ExportHtml(work.File("page.htm"), SampleLibrary()));

    EXPECT_FALSE(FileExists(work.File("page.htm")));
    EXPECT_EQ(recorder.messages, (std::vector<std::string>{work.File("Template.htm") +
                                                           ": No such file or directory"}));
    SetPlatform(nullptr);
}

TEST(HtmlExport, ShippedTemplateHasAllSixSections) {
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadTextLines(std::string(CRICKLET_SOURCE_DIR) + "/resources/Template.htm", lines));
    CMusicList entries;
    CEntryPtr entry = MakeEntry("Tea & <Cake>", "Bo", 2004, "/m/T", "/m/T");
    entry->songs.AddTail(MakeSong("S\"1\"", "Bo", 2002, 200, 1, "s1.mp3", "/m/T", 4000));
    entry->UpdateTotals();
    entries.AddTail(entry);

    std::string page = BuildHtmlPage(lines, "我的音乐", entries);

    EXPECT_NE(page.find("<meta charset=\"utf-8\">\n"), std::string::npos);
    EXPECT_NE(page.find("<title>我的音乐</title>\n"), std::string::npos);
    EXPECT_NE(page.find("<tr><td><a href=\"#1\">Tea &amp; &lt;Cake&gt;</a></td><td>文件夹</td>"
                        "<td>Bo</td><td>爵士</td><td class=\"num\">1</td>"
                        "<td class=\"num\">03:20</td>\n</tr>\n</table>\n"),
              std::string::npos);
    EXPECT_NE(page.find("<h2 id=\"1\">Tea &amp; &lt;Cake&gt; "), std::string::npos);
    std::string tail = "<tr><td class=\"num\">1</td><td>S&quot;1&quot;</td><td>Bo</td><td>流行</td>"
                       "<td class=\"num\">03:20</td><td>mp3</td><td class=\"num\">4KB</td>"
                       "<td class=\"path\">/m/T/s1.mp3</td>\n</tr>\n</table>\n</body>\n</html>\n";
    ASSERT_GE(page.size(), tail.size());
    EXPECT_EQ(page.substr(page.size() - tail.size()), tail);
    EXPECT_TRUE(IsValidUtf8(page));
}

TEST(HelpPage, IsUtf8AndDescribesEveryMenuCommand) {
    std::string bytes;
    ASSERT_TRUE(
        ReadFileBytes(std::string(CRICKLET_SOURCE_DIR) + "/resources/Help/ckhelp.htm", bytes));
    EXPECT_TRUE(IsValidUtf8(bytes));
    EXPECT_NE(bytes.find("<meta charset=\"utf-8\">"), std::string::npos);
    for (const char* command : {"导入音乐单",
                                "导出音乐单",
                                "导出音乐单为网页",
                                "功能设置",
                                "弹出菜单",
                                "从文件夹导入音乐",
                                "编辑曲目资料",
                                "编辑音乐资料",
                                "将资料应用至音乐文件中",
                                "添加曲目",
                                "移去曲目",
                                "移去所有曲目",
                                "另存曲目为 m3u",
                                "转换当前文件夹为m3u曲目",
                                "转换所有文件夹为m3u曲目",
                                "随机播放曲目",
                                "随机播放音乐",
                                "随机播放艺术家",
                                "随机播放所选曲目",
                                "随机播放多个歌曲",
                                "编辑 MP3 TAG 信息",
                                "添加歌曲",
                                "移去歌曲",
                                "浏览文件目录",
                                "显示主界面",
                                "隐藏主界面",
                                "视力保护",
                                "Template.htm",
                                "用户反馈意见",
                                "Cricklet 最新版本",
                                "Cricklet 的主页"}) {
        EXPECT_NE(bytes.find(command), std::string::npos) << command;
    }
}
