#include "formats/HtmlExport.h"

#include "core/MusicManager.h"
#include "formats/PathFunctions.h"
#include "platform/FileSystem.h"
#include "platform/TextEncoding.h"
#include "support/Library.h"
#include "support/RecordingPlatform.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using Lines = std::vector<std::string>;

// The template of the section rules, with markers, placeholders and fixed
// text partly in capitals.
const Lines kRuleTemplate = {
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
const std::string kEnd = "</body>\n</html>\n";
const std::string kHead = "<html><head><meta charset=\"utf-8\"><title>";
const std::string kIndexHeader = kRuleTemplate[1] + "\n";
const std::string kSongHeader = kRuleTemplate[7] + "\n";

CSongPtr Song(const std::string& title, const std::string& artist, int style, int time,
              const std::string& fileName, const std::string& location, std::int64_t size) {
    CSongPtr song = TestSong(title, time, location, fileName);
    song->artist = artist;
    song->style = style;
    song->size = size;
    return song;
}

CEntryPtr Entry(const std::string& title, const std::string& artist, int style,
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
    entries.AddTail(Entry("", "", 2001, "list.m3u", "/m",
                          {Song("<b>&", "Ann", 2002, 65, "a.mp3", "/m", 2960384),
                           Song("", "", 2016, 0, "不存在", "", 0)}));
    entries.AddTail(Entry("Folder \"X\"", "AC/DC", 2003, "/music/X", "/music/X"));
    entries.AddTail(Entry("Other #pl_count", "", 2005, "list.asx", "/m"));
    return entries;
}

// The entries' tables of the sample library, without song rows.
const std::string kEmptyTables = "<a name=1></a><h3></h3>\n" + kSongHeader +
                                 "</table>\n<a name=2></a><h3>Folder &quot;X&quot;</h3>\n" +
                                 kSongHeader +
                                 "</table>\n<a name=3></a><h3>Other #pl_count</h3>\n" +
                                 kSongHeader + "</table>\n</body>\n</html>\n";
const std::string kSecondTables = kEmptyTables.substr(kEmptyTables.find("<a name=2>"));

} // namespace

TEST(HtmlExport, FillsEverySectionWithEscapedValuesNeverRescanned) {
    EXPECT_EQ(BuildHtmlPage(kRuleTemplate, "Rock & Roll", SampleLibrary()),
              kHead + "Rock &amp; Roll</title></head><body>\n" + kIndexHeader +
                  "<tr><td><a href=#1>N/A</a></td><td>m3u</td><td>N/A</td><td>N/A</td><td>2</td>"
                  "<td>01:05</td>\n</tr>\n"
                  "<tr><td><a href=#2>Folder &quot;X&quot;</a></td><td>文件夹</td><td>AC/DC</td>"
                  "<td>摇滚</td><td>0</td><td>Unknown</td>\n</tr>\n"
                  "<tr><td><a href=#3>Other #pl_count</a></td><td>#pl_type</td><td>N/A</td>"
                  "<td>古典</td><td>0</td><td>Unknown</td>\n</tr>\n</table>\n<a name=1></a><h3>"
                  "</h3>\n" +
                  kSongHeader +
                  "<tr><td>1</td><td>&lt;b&gt;&amp;</td><td>Ann</td><td>流行</td><td>01:05</td>"
                  "<td>mp3</td><td>2960KB</td><td>/m/a.mp3</td>\n</tr>\n"
                  "<tr><td>2</td><td>N/A</td><td>N/A</td><td>未知</td><td>Unknown</td><td></td>"
                  "<td>0KB</td><td>不存在</td>\n</tr>\n</table>\n" +
                  kSecondTables);
}

TEST(HtmlExport, ATemplateThatEndsEarlyUsesOnlyItsCompleteSections) {
    // An empty library gives the head, the middle and the closing lines.
    EXPECT_EQ(BuildHtmlPage(kRuleTemplate, "x", CMusicList()),
              kHead + "x</title></head><body>\n" + kIndexHeader + "</table>\n</body>\n</html>\n");
    CMusicList entries = SampleLibrary();
    entries.GetAt(1)->count = 5; // a count that claims more songs than the entry holds
    Lines cut(kRuleTemplate.begin(), kRuleTemplate.begin() + 9);
    cut.push_back("<tr><td>#m_title</td>");
    const struct {
        Lines lines;
        std::string tail;
    } cases[] = {
        // No "</tr>" at all: every line is head.
        {{"<P>Just TEXT", "Line 2"}, "<meta charset=\"utf-8\">\n<p>just text\nline 2\n" + kEnd},
        // Ends inside the entry row: no rows, no entry tables.
        {{"<body>", "</tr>", "<tr><td>#pl_title</td>"},
         "<meta charset=\"utf-8\">\n<body>\n" + kEnd},
        // Ends inside the song row: headers and column headers, no song rows.
        {cut, kEmptyTables},
        // Complete template, count past the songs: only the songs there are.
        {kRuleTemplate, "<td>0KB</td><td>不存在</td>\n</tr>\n</table>\n" + kSecondTables},
    };
    for (const auto& c : cases) {
        std::string page = BuildHtmlPage(c.lines, "t", entries);
        ASSERT_GE(page.size(), c.tail.size()) << c.lines.front();
        EXPECT_EQ(page.substr(page.size() - c.tail.size()), c.tail) << c.lines.front();
    }
}

TEST(HtmlPage, AlwaysDeclaresUtf8WhateverTheTemplateDeclared) {
    const struct {
        const char* head;
        const char* pageHead;
    } cases[] = {
        {"<HTML><HEAD><META http-equiv=Content-Type content=\"text/html; charset=gb2312\">",
         "<html><head><meta http-equiv=content-type content=\"text/html; charset=utf-8\">\n"},
        {"<html><head>\n<meta charset='GBK'>", "<html><head>\n<meta charset='utf-8'>\n"},
        {"<html>\n<head lang=zh>", "<html>\n<head lang=zh><meta charset=\"utf-8\">\n"},
        {"<header>", "<meta charset=\"utf-8\">\n<header>\n"},
    };
    for (const auto& c : cases) {
        std::string page = BuildHtmlPage({c.head, "</tr>"}, "t", SampleLibrary());
        EXPECT_EQ(page.substr(0, std::string(c.pageHead).size()), c.pageHead) << c.head;
    }
}

// Blank lines of a repeated section would be repeated for every song.
TEST(HtmlPage, BlankLinesOfRowSectionsAreNotRepeatedPerSong) {
    std::string text = "<head>\n";
    for (const char* line :
         {"</tr>", "<tr><td>#pl_title</td>", "</tr>", "</table>", "<h3>#pl_title_line</h3>",
          "<table><tr><td>标题</td>", "</tr>", "<tr><td>#m_title</td>", "</tr>"}) {
        text += std::string(line) + "\n" + std::string(100000, '\n');
    }
    CMusicList entries;
    for (int e = 0; e < 20; ++e) {
        std::vector<CSongPtr> songs;
        for (int s = 0; s < 50; ++s) {
            songs.push_back(TestSong("歌" + std::to_string(s)));
        }
        entries.AddTail(TestEntry("曲目" + std::to_string(e), "/m", "x.m3u", songs));
    }
    std::string page = BuildHtmlPageFromText(text, "t", entries);
    EXPECT_LT(page.size(), 200000u); // the middle's blank lines, once
    EXPECT_NE(page.find("<tr><td>歌49</td>\n</tr>\n</table>\n<h3>曲目19</h3>\n<table><tr><td>标题"
                        "</td>\n<tr><td>歌0</td>\n</tr>\n"),
              std::string::npos);
}

TEST(HtmlExport, WritesTheUsersTemplateCopyAtomicallyAsUtf8) {
    CTempDir work;
    CScopedRecordingPlatform recorder;
    CMusicManager manager(nullptr);
    manager.config.WorkDirectory = work.Path();
    CMusicList entries = SampleLibrary();
    std::string installed = InstalledDataFolder() + "/Template.htm";
    bool isInstalled = FileExists(installed);
    EXPECT_EQ(FindInstalledFile(work.Path(), "Template.htm"),
              isInstalled ? installed : work.File("Template.htm"));
    if (!isInstalled) { // a missing template is reported
        EXPECT_FALSE(manager.store.ExportHtml(work.File("page.htm"), entries));
        EXPECT_FALSE(FileExists(work.File("page.htm")));
        EXPECT_EQ(recorder.platform.MessageTexts(),
                  Lines{work.File("Template.htm") + ": No such file or directory"});
        recorder.platform.messages.clear();
    }
    // The user's template wins; this one was saved by the original program: GBK bytes.
    std::string text;
    for (const std::string& line : kRuleTemplate) {
        text += line + "\n";
    }
    work.Write("Template.htm", EncodeGb18030(text));
    work.Write("Help/ckhelp.htm", "x");
    for (const char* name : {"Template.htm", "Help/ckhelp.htm"}) {
        EXPECT_EQ(FindInstalledFile(work.Path(), name), work.File(name));
    }
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
              Lines{work.File("none/page.htm") + ": No such file or directory"});
}

TEST(HtmlExport, ShippedTemplateAndHelpPageAreUtf8AndComplete) {
    Lines lines;
    ASSERT_TRUE(ReadTextLines(std::string(CRICKLET_SOURCE_DIR) + "/resources/Template.htm", lines));
    CMusicList entries;
    entries.AddTail(Entry("Tea & <Cake>", "Bo", 2004, "/m/T", "/m/T",
                          {Song("S\"1\"", "Bo", 2002, 200, "s1.mp3", "/m/T", 4000)}));
    std::string page = BuildHtmlPage(lines, "我的音乐", entries);
    EXPECT_NE(page.find("<h2 id=\"1\">Tea &amp; &lt;Cake&gt; "), std::string::npos);
    std::string tail = "<tr><td class=\"num\">1</td><td>S&quot;1&quot;</td><td>Bo</td><td>流行</td>"
                       "<td class=\"num\">03:20</td><td>mp3</td><td class=\"num\">4KB</td>"
                       "<td class=\"path\">/m/T/s1.mp3</td>\n</tr>\n</table>\n</body>\n</html>\n";
    ASSERT_GE(page.size(), tail.size());
    EXPECT_EQ(page.substr(page.size() - tail.size()), tail);
    EXPECT_TRUE(IsValidUtf8(page));
    std::string help;
    ASSERT_TRUE(
        ReadFileBytes(std::string(CRICKLET_SOURCE_DIR) + "/resources/Help/ckhelp.htm", help));
    EXPECT_TRUE(IsValidUtf8(help));
    // One line from each part of the help page: the head, the menus, the template, the links.
    for (const char* text : {"<meta charset=\"utf-8\">", "导入音乐单", "随机播放艺术家",
                             "编辑 MP3 TAG 信息", "视力保护", "Template.htm", "Cricklet 的主页"}) {
        EXPECT_NE(help.find(text), std::string::npos) << text;
    }
}
