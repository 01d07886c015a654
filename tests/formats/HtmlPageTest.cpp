// The exported page's encoding declaration and its cost for odd templates.
#include "formats/HtmlExport.h"

#include "core/PlayListItem.h"
#include "core/SongItem.h"

#include <gtest/gtest.h>

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

// The row sections, each line followed by `blank`.
std::string Rows(const std::string& blank) {
    std::string rows;
    for (const char* line : {"</tr>", "<tr><td>#pl_title</td>", "</tr>", "</table>",
                             "<h3>#pl_title_line</h3>", "<table><tr><td>标题</td>", "</tr>",
                             "<tr><td>#m_title</td>", "</tr>"}) {
        rows += std::string(line) + "\n" + blank;
    }
    return rows;
}

} // namespace

TEST(HtmlPage, AlwaysDeclaresUtf8WhateverTheTemplateDeclared) {
    const struct {
        const char* head;
        const char* pageHead;
    } cases[] = {
        {"<HTML><HEAD><META http-equiv=Content-Type content=\"text/html; charset=gb2312\">",
         "<html><head><meta http-equiv=content-type content=\"text/html; charset=utf-8\">\n"},
        {"<html><head>\n<meta charset='GBK'>", "<html><head>\n<meta charset='utf-8'>\n"},
        {"<html><head><title>t</title>", "<html><head><meta charset=\"utf-8\"><title>t</title>\n"},
        {"<html>\n<head lang=zh>", "<html>\n<head lang=zh><meta charset=\"utf-8\">\n"},
        {"<header>", "<meta charset=\"utf-8\">\n<header>\n"},
    };
    for (const auto& c : cases) {
        std::string page =
            BuildHtmlPageFromText(std::string(c.head) + "\n" + Rows(""), "t", LibraryOf(1, 1));
        EXPECT_EQ(page.substr(0, std::string(c.pageHead).size()), c.pageHead) << c.head;
    }
}

// Blank lines of a repeated section would be repeated for every song.
TEST(HtmlPage, BlankLinesOfRowSectionsAreNotRepeatedPerSong) {
    std::string page =
        BuildHtmlPageFromText("<head>\n" + Rows(std::string(100000, '\n')), "t", LibraryOf(20, 50));
    EXPECT_LT(page.size(), 200000u); // the middle's blank lines, once
    EXPECT_NE(page.find("<tr><td>歌49</td>\n</tr>\n</table>\n<h3>曲目19</h3>\n<table><tr><td>标题"
                        "</td>\n<tr><td>歌0</td>\n</tr>\n"),
              std::string::npos);
}
