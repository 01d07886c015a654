#include "formats/HtmlExport.h"

#include "core/MusicManager.h"
#include "formats/PathFunctions.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/TextEncoding.h"
#include "support/Library.h"
#include "support/RecordingPlatform.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

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
                  const std::string& fileName, const std::string& location, std::int64_t size) {
    CSongPtr song = TestSong(title, time, location, fileName);
    song->artist = artist;
    song->style = style;
    song->size = size;
    return song;
}

CEntryPtr MakeEntry(const std::string& title, const std::string& artist, int style,
                    const std::string& fileName, const std::string& location,
                    const std::vector<CSongPtr>& songs = {}) {
    CEntryPtr entry = TestEntry(title, location, fileName, songs, artist);
    entry->style = style;
    return entry;
}

// An m3u entry without a title holding a song with markup in its title and
// a missing song; a folder; an entry of another playlist type whose title
// holds a placeholder word.
CMusicList SampleLibrary() {
    CMusicList entries;
    entries.AddTail(MakeEntry("", "", 2001, "list.m3u", "/m",
                              {MakeSong("<b>&", "Ann", 2002, 65, "a.mp3", "/m", 2960384),
                               MakeSong("", "", 2016, 0, "不存在", "", 0)}));
    entries.AddTail(MakeEntry("Folder \"X\"", "AC/DC", 2003, "/music/X", "/music/X"));
    entries.AddTail(MakeEntry("Other #pl_count", "", 2005, "list.asx", "/m"));
    return entries;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

} // namespace

TEST(HtmlExport, FillsEverySectionWithEscapedValuesNeverRescanned) {
    std::string page = BuildHtmlPage(kRuleTemplate, "Rock & Roll", SampleLibrary());

    std::string expected =
        std::string(
            "<html><head><meta charset=\"utf-8\"><title>Rock &amp; Roll</title></head><body>\n") +
        kIndexHeader +
        "<tr><td><a href=#1>N/A</a></td><td>m3u</td><td>N/A</td><td>N/A</td><td>2</td>"
        "<td>01:05</td>\n</tr>\n"
        "<tr><td><a href=#2>Folder &quot;X&quot;</a></td><td>文件夹</td><td>AC/DC</td>"
        "<td>摇滚</td><td>0</td><td>Unknown</td>\n</tr>\n"
        "<tr><td><a href=#3>Other #pl_count</a></td><td>#pl_type</td><td>N/A</td><td>古典</td>"
        "<td>0</td><td>Unknown</td>\n</tr>\n</table>\n<a name=1></a><h3></h3>\n" +
        kSongHeader +
        "<tr><td>1</td><td>&lt;b&gt;&amp;</td><td>Ann</td><td>流行</td><td>01:05</td>"
        "<td>mp3</td><td>2960KB</td><td>/m/a.mp3</td>\n</tr>\n"
        "<tr><td>2</td><td>N/A</td><td>N/A</td><td>未知</td><td>Unknown</td><td></td>"
        "<td>0KB</td><td>不存在</td>\n</tr>\n</table>\n<a name=2></a><h3>Folder "
        "&quot;X&quot;</h3>\n" +
        kSongHeader + "</table>\n<a name=3></a><h3>Other #pl_count</h3>\n" + kSongHeader +
        "</table>\n</body>\n</html>\n";
    EXPECT_EQ(page, expected);
}

TEST(HtmlExport, ATemplateThatEndsEarlyUsesOnlyItsCompleteSections) {
    // An empty library gives the head, the middle and the closing lines.
    EXPECT_EQ(BuildHtmlPage(kRuleTemplate, "x", CMusicList()),
              std::string("<html><head><meta charset=\"utf-8\"><title>x</title></head><body>\n") +
                  kIndexHeader + "</table>\n</body>\n</html>\n");
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
    CScopedRecordingPlatform recorder;
    CMusicManager manager(nullptr);
    manager.config.WorkDirectory = work.Path();
    CMusicList entries = SampleLibrary();
    work.Write("out/新建音乐单.htm", "old page");
    EXPECT_TRUE(manager.store.ExportHtml(work.File("out/新建音乐单.htm"), entries));
    EXPECT_EQ(work.Read("out/新建音乐单.htm"), BuildHtmlPage(kRuleTemplate, "新建音乐单", entries));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(work.File("out")),
                            std::filesystem::directory_iterator()),
              1);
    EXPECT_TRUE(recorder.platform.messages.empty());

    // An output folder that does not exist: reported, nothing written.
    EXPECT_FALSE(manager.store.ExportHtml(work.File("none/page.htm"), entries));
    EXPECT_EQ(recorder.platform.MessageTexts(),
              std::vector<std::string>{work.File("none/page.htm") + ": No such file or directory"});
}

TEST(HtmlExport, UsersTemplateWinsOverTheInstalledOneAndAMissingOneIsReported) {
    CTempDir work;
    std::string installed = InstalledDataFolder() + "/Template.htm";
    bool isInstalled = FileExists(installed);
    EXPECT_EQ(FindInstalledFile(work.Path(), "Template.htm"),
              isInstalled ? installed : work.File("Template.htm"));
    if (!isInstalled) {
        CScopedRecordingPlatform recorder;
        CMusicManager manager(nullptr);
        manager.config.WorkDirectory = work.Path();
        EXPECT_FALSE(manager.store.ExportHtml(work.File("page.htm"), SampleLibrary()));
        EXPECT_FALSE(FileExists(work.File("page.htm")));
        EXPECT_EQ(
            recorder.platform.MessageTexts(),
            std::vector<std::string>{work.File("Template.htm") + ": No such file or directory"});
    }
    for (const char* name : {"Template.htm", "Help/ckhelp.htm"}) {
        work.Write(name, "x");
        EXPECT_EQ(FindInstalledFile(work.Path(), name), work.File(name));
    }
}

TEST(HtmlExport, ShippedTemplateHasAllSixSections) {
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadTextLines(std::string(CRICKLET_SOURCE_DIR) + "/resources/Template.htm", lines));
    CMusicList entries;
    entries.AddTail(MakeEntry("Tea & <Cake>", "Bo", 2004, "/m/T", "/m/T",
                              {MakeSong("S\"1\"", "Bo", 2002, 200, "s1.mp3", "/m/T", 4000)}));
    std::string page = BuildHtmlPage(lines, "我的音乐", entries);
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
    // One line from each part of the page: the head, the menus, the template, the links.
    for (const char* text : {"<meta charset=\"utf-8\">", "导入音乐单", "随机播放艺术家",
                             "编辑 MP3 TAG 信息", "视力保护", "Template.htm", "Cricklet 的主页"}) {
        EXPECT_NE(bytes.find(text), std::string::npos) << text;
    }
}
