#include "formats/HtmlExport.h"

#include "core/MusicManager.h"
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
const std::string kHead = "<html><head><meta charset=\"utf-8\"><title>";
const std::string kIndexHeader = kRuleTemplate[1] + "\n";
const std::string kSongHeader = kRuleTemplate[7] + "\n";

// An m3u entry without a title holding a song with markup in its title and
// a missing song; a folder; an entry of another playlist type whose title
// holds a placeholder word.
CMusicList SampleLibrary() {
    CSongPtr song = TestSong("<b>&", 65, "/m", "a.mp3");
    song->artist = "Ann";
    song->style = 2002;
    song->size = 2960384;
    CSongPtr gone = TestSong("", 0, "", "不存在");
    gone->style = 2016;
    CMusicList entries;
    entries.AddTail(TestEntry("", "/m", "list.m3u", {song, gone}));
    entries.AddTail(TestEntry("Folder \"X\"", "/music/X", "/music/X", {}, "AC/DC"));
    entries.AddTail(TestEntry("Other #pl_count", "/m", "list.asx"));
    entries.GetAt(2)->style = 2003;
    entries.GetAt(3)->style = 2005;
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

TEST(HtmlExport, ATemplateThatEndsEarlyUsesOnlyItsCompleteSectionsAndDeclaresUtf8) {
    CMusicList entries = SampleLibrary();
    entries.GetAt(1)->count = 5; // a count that claims more songs than the entry holds
    Lines cut(kRuleTemplate.begin(), kRuleTemplate.begin() + 9);
    cut.push_back("<tr><td>#m_title</td>");
    const struct {
        Lines lines;
        std::string head, tail;
    } cases[] = {
        // Ends inside the song row: headers and column headers, no song rows.
        {cut, kHead, kEmptyTables},
        // Ends before the entry header: no entry tables at all.
        {Lines(kRuleTemplate.begin(), kRuleTemplate.begin() + 6), kHead,
         "</tr>\n</table>\n</body>\n</html>\n"},
        // Complete template, count past the songs: only the songs there are.
        {kRuleTemplate, kHead, "<td>0KB</td><td>不存在</td>\n</tr>\n</table>\n" + kSecondTables},
        // A declared charset becomes UTF-8.
        {{"<HTML><HEAD><META http-equiv=Content-Type content=\"text/html; charset=gb2312\">",
          "</tr>"},
         "<html><head><meta http-equiv=content-type content=\"text/html; charset=utf-8\">\n",
         "</body>\n</html>\n"},
    };
    for (const auto& c : cases) {
        std::string page = BuildHtmlPage(c.lines, "t", entries);
        ASSERT_GE(page.size(), c.tail.size()) << c.lines.front();
        EXPECT_EQ(page.substr(0, c.head.size()), c.head) << c.lines.front();
        EXPECT_EQ(page.substr(page.size() - c.tail.size()), c.tail) << c.lines.front();
    }
}

TEST(HtmlExport, WritesTheUsersTemplateCopyAsUtf8WithEverySectionFilled) {
    CTempDir work;
    CScopedRecordingPlatform recorder;
    CMusicManager manager(nullptr);
    manager.config.WorkDirectory = work.Path();
    CMusicList entries = SampleLibrary();
    // The user's template wins; this one was saved by the original program: GBK bytes.
    work.Write("Template.htm", EncodeGb18030(Joined(kRuleTemplate, "\n")));
    // Every section filled, values escaped and never scanned again.
    work.Write("out/新建音乐单 & Co.htm", "old page");
    EXPECT_TRUE(manager.store.ExportHtml(work.File("out/新建音乐单 & Co.htm"), entries));
    EXPECT_EQ(work.Read("out/新建音乐单 & Co.htm"),
              kHead + "新建音乐单 &amp; Co</title></head><body>\n" + kIndexHeader +
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
    // An output folder that does not exist, and a template over 16 MB: reported, nothing written.
    EXPECT_FALSE(manager.store.ExportHtml(work.File("none/page.htm"), entries));
    std::filesystem::resize_file(work.File("Template.htm"), kTemplateFileLimit + 1);
    EXPECT_FALSE(manager.store.ExportHtml(work.File("page.htm"), entries));
    EXPECT_FALSE(std::filesystem::exists(work.File("page.htm")));
    EXPECT_EQ(recorder.platform.MessageTexts(),
              (Lines{work.File("none/page.htm") + ": No such file or directory",
                     "“" + work.File("Template.htm") + "”大于16 MB，文件太大，无法读取。"}));
}

TEST(HtmlExport, TheShippedTemplateFillsTheSongRows) {
    Lines lines;
    ASSERT_TRUE(ReadTextLines(std::string(CRICKLET_SOURCE_DIR) + "/resources/Template.htm", lines));
    std::string page = BuildHtmlPage(lines, "我的音乐", SampleLibrary());
    EXPECT_NE(page.find("<tr><td class=\"num\">1</td><td>&lt;b&gt;&amp;</td><td>Ann</td><td>流行"
                        "</td><td class=\"num\">01:05</td><td>mp3</td><td class=\"num\">2960KB"
                        "</td><td class=\"path\">/m/a.mp3</td>\n</tr>\n"),
              std::string::npos);
    EXPECT_EQ(page.substr(page.size() - 25), "</table>\n</body>\n</html>\n");
}
