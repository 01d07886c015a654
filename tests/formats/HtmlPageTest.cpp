// The exported page's encoding declaration and its cost for odd templates.
#include "formats/HtmlExport.h"

#include "core/MusicManager.h"
#include "platform/FileSystem.h"
#include "support/RecordingPlatform.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <memory>
#include <string>

namespace {

CMusicList LibraryOf(int entryCount, int songsPerEntry) {
    CMusicList entries;
    for (int e = 0; e < entryCount; ++e) {
        auto entry = std::make_shared<CPlayListItem>();
        entry->title = "曲目" + std::to_string(e);
        for (int s = 0; s < songsPerEntry; ++s) {
            auto song = std::make_shared<CSongItem>();
            song->title = "歌" + std::to_string(s);
            entry->songs.AddTail(song);
        }
        entry->UpdateTotals();
        entries.AddTail(entry);
    }
    return entries;
}

const std::string kRows =
    "</tr>\n<tr><td>#pl_title</td>\n</tr>\n</table>\n<h3>#pl_title_line</h3>\n"
    "<table><tr><td>标题</td>\n</tr>\n<tr><td>#m_title</td>\n</tr>\n";

} // namespace

TEST(HtmlPage, AlwaysDeclaresUtf8WhateverTheTemplateDeclared) {
    const struct {
        std::string head;
        std::string pageHead;
    } cases[] = {
        {"<HTML><HEAD><META http-equiv=Content-Type content=\"text/html; charset=gb2312\">",
         "<html><head><meta http-equiv=content-type content=\"text/html; charset=utf-8\">\n"},
        {"<html><head>\n<meta charset='GBK'>", "<html><head>\n<meta charset='utf-8'>\n"},
        {"<html><head>\n<meta charset=\"utf-8\">", "<html><head>\n<meta charset=\"utf-8\">\n"},
        {"<html><head><title>t</title>", "<html><head><meta charset=\"utf-8\"><title>t</title>\n"},
        {"<html>\n<head lang=zh>", "<html>\n<head lang=zh><meta charset=\"utf-8\">\n"},
        {"<p>no head at all", "<meta charset=\"utf-8\">\n<p>no head at all\n"},
    };
    for (const auto& c : cases) {
        std::string page = BuildHtmlPageFromText(c.head + "\n" + kRows, "t", LibraryOf(1, 1));
        EXPECT_EQ(page.substr(0, c.pageHead.size()), c.pageHead) << c.head;
    }
}

// Blank lines of a repeated section would be repeated for every song.
TEST(HtmlPage, BlankLinesOfRowSectionsAreNotRepeatedPerSong) {
    std::string blank(200000, '\n');
    std::string rowTemplate = "<html><head>\n</tr>\n<tr><td>#pl_title</td>\n" + blank +
                              "</tr>\n</table>\n<h3>#pl_title_line</h3>\n" + blank +
                              "<table><tr><td>标题</td>\n" + blank +
                              "</tr>\n<tr><td>#m_title</td>\n" + blank + "</tr>\n";
    std::string page = BuildHtmlPageFromText(rowTemplate, "t", LibraryOf(20, 50));
    EXPECT_LT(page.size(), 60000u);
    EXPECT_NE(
        page.find("<tr><td>歌49</td>\n</tr>\n</table>\n<h3>曲目19</h3>\n<table><tr><td>标题</td>\n"
                  "<tr><td>歌0</td>\n</tr>\n"),
        std::string::npos);
}

TEST(HtmlPage, ATemplateThatIsNoRegularFileOrTooLargeIsReportedAndNothingWritten) {
    CTempDir dir;
    std::filesystem::create_directory(dir.File("pipe"));
    ASSERT_EQ(mkfifo(dir.File("pipe/Template.htm").c_str(), 0600), 0);
    std::filesystem::resize_file(dir.Write("large/Template.htm", "<html>"), kTemplateFileLimit + 1);
    const struct {
        const char* folder;
        std::string message;
    } cases[] = {
        {"pipe", "“" + dir.File("pipe/Template.htm") + "”不是普通文件，无法读取。"},
        {"large", "“" + dir.File("large/Template.htm") + "”大于16 MB，文件太大，无法读取。"},
    };
    for (const auto& c : cases) {
        CScopedRecordingPlatform recorder;
        CMusicManager manager(nullptr);
        manager.config.WorkDirectory = dir.File(c.folder);
        EXPECT_FALSE(manager.store.ExportHtml(dir.File("page.htm"), manager.entries));
        EXPECT_EQ(recorder.platform.MessageTexts(), std::vector<std::string>{c.message});
        EXPECT_FALSE(std::filesystem::exists(dir.File("page.htm"))) << c.folder;
    }
}
