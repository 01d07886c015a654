#include "formats/ListFile.h"

#include "support/RecordingPlatform.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

const char* const kLocationMark = "{LOCATION}";

// The example library of one m3u entry with two songs, the second of them
// missing, as the original program wrote it: GBK bytes, CR LF line ends.
const char* const kExampleGbk =
    "// \xD7\xA2\xD2\xE2:\xC4\xFA\xBF\xC9\xD2\xD4\xB0\xB4\xB8\xF1\xCA\xBD\xD0\xDE\xB8\xC4\xD2\xD4"
    "\xCF\xC2\xBC\xC7\xC2\xBC\xB5\xC4\xC4\xDA\xC8\xDD, \xB5\xAB\xCE\xF0\xD0\xDE\xB8\xC4\xBC\xC7"
    "\xC2\xBC\xB8\xF1\xCA\xBD\xBD\xE1\xB9\xB9, \xD2\xD4\xB7\xC0\xB7\xA2\xC9\xFA\xBC\xC7\xC2\xBC"
    "\xB8\xF1\xCA\xBD\xB6\xC1\xC8\xEB\xB4\xED\xCE\xF3\r\n"
    "// 1.\xC7\xEB\xB2\xBB\xD2\xAA\xBC\xD3\xC8\xEB\xD2\xBB\xB8\xF6\xD0\xD0\xBB\xF2\xCA\xC7\xC9\xBE"
    "\xB3\xFD\xD2\xBB\xD0\xD0\r\n"
    "// 2.\xC7\xEB\xB2\xBB\xD2\xAA\xD0\xDE\xB8\xC4\xCA\xF4\xD0\xD4\xB5\xC4\xC3\xFB\xB3\xC6\r\n"
    "// 3.\xC7\xEB\xB2\xBB\xD2\xAA\xD0\xDE\xB8\xC4\" = \"\xD2\xD4\xBC\xB0\";\"\xB5\xC8\xB9\xD8\xBC"
    "\xFC\xB4\xCA\xB8\xF1\xCA\xBD\r\n"
    "// 4.\xC7\xEB\xB2\xBB\xD2\xAA\xC9\xBE\xB3\xFD\xB1\xBE\xCB\xB5\xC3\xF7\r\n"
    "\r\n"
    "number = 1;\r\n"
    "\r\n"
    "<play list>\r\n"
    "\xC7\xFA\xC4\xBF\xB1\xEA\xCC\xE2 = \xC0\xCF\xB8\xE8\xBE\xAB\xD1\xA1;\r\n"
    "\xD2\xD5\xCA\xF5\xBC\xD2 = N/A;\r\n"
    "\xB7\xE7\xB8\xF1 = 2002;\r\n"
    "\xC7\xFA\xCA\xFD = 2;\r\n"
    "\xCA\xB1\xBC\xE4 = 425;\r\n"
    "\xD0\xC0\xC9\xCD\xB4\xCE\xCA\xFD = 3;\r\n"
    "\xCE\xC4\xBC\xFE\xC3\xFB = \xC0\xCF\xB8\xE8\xBE\xAB\xD1\xA1.m3u;\r\n"
    "\xCE\xC4\xBC\xFE\xCE\xBB\xD6\xC3 = {LOCATION};\r\n"
    "\r\n"
    "<song list>\r\n"
    "\xD2\xF4\xC0\xD6\xB1\xEA\xCC\xE2 = \xD4\xC2\xC1\xC1\xBA\xD3;\r\n"
    "\xD2\xD5\xCA\xF5\xBC\xD2 = N/A;\r\n"
    "\xB7\xE7\xB8\xF1 = 2001;\r\n"
    "\xCA\xB1\xBC\xE4 = 185;\r\n"
    "\xB4\xCE\xD0\xF2 = 1;\r\n"
    "\xCE\xC4\xBC\xFE\xC3\xFB = \xD4\xC2\xC1\xC1\xBA\xD3.mp3;\r\n"
    "\xCE\xC4\xBC\xFE\xC0\xE0\xD0\xCD = mp3;\r\n"
    "\xCE\xC4\xBC\xFE\xCE\xBB\xD6\xC3 = {LOCATION};\r\n"
    "\xCE\xC4\xBC\xFE\xB4\xF3\xD0\xA1 = 2960384;\r\n"
    "\r\n"
    "\xD2\xF4\xC0\xD6\xB1\xEA\xCC\xE2 = \xD2\xB9\xC7\xFA;\r\n"
    "\xD2\xD5\xCA\xF5\xBC\xD2 = N/A;\r\n"
    "\xB7\xE7\xB8\xF1 = 2001;\r\n"
    "\xCA\xB1\xBC\xE4 = 240;\r\n"
    "\xB4\xCE\xD0\xF2 = 2;\r\n"
    "\xCE\xC4\xBC\xFE\xC3\xFB = \xB2\xBB\xB4\xE6\xD4\xDA;\r\n"
    "\xCE\xC4\xBC\xFE\xC0\xE0\xD0\xCD = ;\r\n"
    "\xCE\xC4\xBC\xFE\xCE\xBB\xD6\xC3 = ;\r\n"
    "\xCE\xC4\xBC\xFE\xB4\xF3\xD0\xA1 = 0;\r\n"
    "\r\n";

const char* const kHeaderUtf8 =
    "// 注意:您可以按格式修改以下记录的内容, 但勿修改记录格式结构, 以防发生记录格式读入错误\n"
    "// 1.请不要加入一个行或是删除一行\n"
    "// 2.请不要修改属性的名称\n"
    "// 3.请不要修改\" = \"以及\";\"等关键词格式\n"
    "// 4.请不要删除本说明\n"
    "\n";

const char* const kExampleEntryUtf8 = "<play list>\n"
                                      "曲目标题 = 老歌精选;\n"
                                      "艺术家 = N/A;\n"
                                      "风格 = 2002;\n"
                                      "曲数 = 2;\n"
                                      "时间 = 425;\n"
                                      "欣赏次数 = 3;\n"
                                      "文件名 = 老歌精选.m3u;\n"
                                      "文件位置 = {LOCATION};\n"
                                      "\n"
                                      "<song list>\n";

const char* const kExampleSongsUtf8 = "音乐标题 = 月亮河;\n"
                                      "艺术家 = N/A;\n"
                                      "风格 = 2001;\n"
                                      "时间 = 185;\n"
                                      "次序 = 1;\n"
                                      "文件名 = 月亮河.mp3;\n"
                                      "文件类型 = mp3;\n"
                                      "文件位置 = {LOCATION};\n"
                                      "文件大小 = 2960384;\n"
                                      "\n"
                                      "音乐标题 = 夜曲;\n"
                                      "艺术家 = N/A;\n"
                                      "风格 = 2001;\n"
                                      "时间 = 240;\n"
                                      "次序 = 2;\n"
                                      "文件名 = 不存在;\n"
                                      "文件类型 = ;\n"
                                      "文件位置 = ;\n"
                                      "文件大小 = 0;\n"
                                      "\n";

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

// Every field of a song as one comparable text.
std::string Describe(const CSongItem& song) {
    return song.title + "|" + song.artist + "|" + std::to_string(song.style) + "|" +
           std::to_string(song.time) + "|" + std::to_string(song.order) + "|" + song.fileName +
           "|" + song.fileType + "|" + song.location + "|" + std::to_string(song.size);
}

std::string Describe(const CPlayListItem& entry) {
    std::string text = entry.title + "|" + entry.artist + "|" + std::to_string(entry.style) + "|" +
                       std::to_string(entry.count) + "|" + std::to_string(entry.time) + "|" +
                       std::to_string(entry.playCount) + "|" + entry.fileName + "|" +
                       entry.location;
    for (const auto& song : entry.songs) {
        text += "\n  " + Describe(*song);
    }
    return text;
}

std::vector<std::string> Describe(const CMusicList& list) {
    std::vector<std::string> entries;
    for (const auto& entry : list) {
        entries.push_back(Describe(*entry));
    }
    return entries;
}

std::vector<std::string> Describe(const CSongList& songs) {
    std::vector<std::string> texts;
    for (const auto& song : songs) {
        texts.push_back(Describe(*song));
    }
    return texts;
}

CSongPtr MakeSong(const std::string& title, int time, const std::string& location = "",
                  const std::string& fileName = kMissingFileMarker) {
    auto song = std::make_shared<CSongItem>();
    song->title = title;
    song->artist = "歌手";
    song->style = 2003;
    song->time = time;
    song->fileName = fileName;
    if (!location.empty()) {
        song->location = location;
        song->fileType = "mp3";
        song->size = 1234;
    }
    return song;
}

CEntryPtr MakeEntry(const std::string& title, std::vector<CSongPtr> songs) {
    auto entry = std::make_shared<CPlayListItem>();
    entry->title = title;
    entry->artist = "合唱团";
    entry->style = 2005;
    entry->playCount = 7;
    entry->fileName = title + ".m3u";
    entry->location = "/music";
    for (auto& song : songs) {
        entry->songs.AddTail(song);
    }
    entry->Renumber();
    entry->UpdateTotals();
    return entry;
}

std::string ListFileText(const std::string& records, int entryCount) {
    return std::string(kHeaderUtf8) + "number = " + std::to_string(entryCount) + ";\n\n" + records;
}

// One song record in the file's form, the values given in key order.
std::string SongRecordText(const std::string& title, int time, int order) {
    return "音乐标题 = " + title + ";\n艺术家 = ;\n风格 = 2001;\n时间 = " + std::to_string(time) +
           ";\n次序 = " + std::to_string(order) +
           ";\n文件名 = 不存在;\n文件类型 = ;\n文件位置 = ;\n文件大小 = 0;\n";
}

std::string EntryRecordText(const std::string& title, int count) {
    return "<play list>\n曲目标题 = " + title +
           ";\n艺术家 = ;\n风格 = 2001;\n曲数 = " + std::to_string(count) +
           ";\n时间 = 0;\n欣赏次数 = 0;\n文件名 = x.m3u;\n文件位置 = /m;\n\n<song list>\n";
}

} // namespace

TEST(ListFileRead, WorkedExampleInGbkReadsAndWritesBackAsUtf8) {
    CTempDir folder;
    std::string location = folder.Path() + "/音乐/老歌";
    folder.Write("音乐/老歌/月亮河.mp3", "ID3");
    std::string locationGbk = folder.Path() + "/\xD2\xF4\xC0\xD6/\xC0\xCF\xB8\xE8";
    std::string path =
        folder.Write("PlayList.stp", ReplaceAll(kExampleGbk, kLocationMark, locationGbk));

    CMusicList list;
    ASSERT_TRUE(ReadMusicListFile(path, list));
    std::vector<std::string> expected = {"老歌精选|N/A|2002|2|425|3|老歌精选.m3u|" + location +
                                         "\n  月亮河|N/A|2001|185|1|月亮河.mp3|mp3|" + location +
                                         "|2960384" + "\n  夜曲|N/A|2001|240|2|不存在|||0"};
    EXPECT_EQ(Describe(list), expected);

    std::string entryText = ReplaceAll(kExampleEntryUtf8, kLocationMark, location);
    std::string songsText = ReplaceAll(kExampleSongsUtf8, kLocationMark, location);
    std::string written = folder.File("written.stp");
    ASSERT_TRUE(WriteMusicListFile(written, list));
    EXPECT_EQ(folder.Read("written.stp"), ListFileText(entryText + songsText, 1));

    // The same two songs in the song store file.
    CSongList songs;
    CollectAllSongs(songs, list);
    ASSERT_TRUE(WriteSongStoreFile(folder.File("MusicList.ckp"), songs));
    EXPECT_EQ(folder.Read("MusicList.ckp"), "number = 2;\n\n" + songsText);

    CSongList readSongs;
    ASSERT_TRUE(ReadSongStoreFile(folder.File("MusicList.ckp"), readSongs));
    EXPECT_EQ(Describe(readSongs), Describe(songs));
}

TEST(ListFileRead, SongWhoseFileIsGoneComesBackMarkedMissing) {
    CTempDir folder;
    // The example as written on the original platform: its folder is not here.
    std::string path =
        folder.Write("PlayList.stp", ReplaceAll(kExampleGbk, kLocationMark,
                                                "D:\\\xD2\xF4\xC0\xD6\\\xC0\xCF\xB8\xE8"));
    CMusicList list;
    ASSERT_TRUE(ReadMusicListFile(path, list));
    std::vector<std::string> expected = {"老歌精选|N/A|2002|2|425|3|老歌精选.m3u|D:\\音乐\\老歌"
                                         "\n  月亮河|N/A|2001|185|1|不存在|||0"
                                         "\n  夜曲|N/A|2001|240|2|不存在|||0"};
    EXPECT_EQ(Describe(list), expected);

    // A file that exists keeps everything; deleting it marks it on the next read.
    std::string songPath = folder.Write("music/a.mp3", "x");
    auto kept = MakeSong("留下", 100, folder.Path() + "/music", "a.mp3");
    auto gone = MakeSong("删掉", 50, folder.Path() + "/music", "b.mp3");
    CMusicList library;
    library.AddTail(MakeEntry("专辑", {kept, gone}));
    ASSERT_TRUE(WriteMusicListFile(folder.File("two.stp"), library));
    ASSERT_TRUE(ReadMusicListFile(folder.File("two.stp"), list));
    ASSERT_EQ(list.GetCount(), 1);
    EXPECT_EQ(Describe(*list.GetAt(1)->songs.GetAt(1)), Describe(*kept));
    EXPECT_EQ(Describe(*list.GetAt(1)->songs.GetAt(2)), "删掉|歌手|2003|50|2|不存在|||0");

    ASSERT_EQ(unlink(songPath.c_str()), 0);
    CSongList songs;
    CollectAllSongs(songs, library);
    ASSERT_TRUE(WriteSongStoreFile(folder.File("songs.ckp"), songs));
    ASSERT_TRUE(ReadSongStoreFile(folder.File("songs.ckp"), songs));
    EXPECT_EQ(Describe(songs), (std::vector<std::string>{"留下|歌手|2003|100|1|不存在|||0",
                                                         "删掉|歌手|2003|50|2|不存在|||0"}));
}

TEST(ListFileRead, ValueRunsToTheLastSemicolon) {
    CTempDir folder;
    auto song = MakeSong("A;B", 61);
    song->artist = "X = Y";
    auto entry = MakeEntry("C;D;", {song});
    entry->artist = "E = F;G";
    CMusicList library;
    library.AddTail(entry);
    ASSERT_TRUE(WriteMusicListFile(folder.File("list.stp"), library));

    CMusicList list;
    ASSERT_TRUE(ReadMusicListFile(folder.File("list.stp"), list));
    EXPECT_EQ(Describe(list), Describe(library));

    std::string key;
    std::string value;
    SplitRecordLine("曲目标题 = A;B;", key, value);
    EXPECT_EQ(key + "|" + value, "曲目标题|A;B");
    SplitRecordLine("曲目标题 = X = Y;", key, value);
    EXPECT_EQ(key + "|" + value, "曲目标题|X = Y");
    SplitRecordLine("风格 =  2003;", key, value);
    EXPECT_EQ(key + "|" + value, "风格| 2003");
    EXPECT_EQ(ParseRecordNumber(value), 2003);
    SplitRecordLine("key = no semicolon", key, value);
    EXPECT_EQ(key + "|" + value, "key|");
    SplitRecordLine("a;b = c", key, value);
    EXPECT_EQ(key + "|" + value, "a;b|");
    // Without " = " there is no key, and the value starts at the third byte.
    SplitRecordLine("abcdef;", key, value);
    EXPECT_EQ(key + "|" + value, "|cdef");
    SplitRecordLine("", key, value);
    EXPECT_EQ(key + "|" + value, "|");
    SplitRecordLine(";", key, value);
    EXPECT_EQ(key + "|" + value, "|");
}

TEST(ListFileRead, NumbersReadLikeAtoiIn32AndSizesIn64Bits) {
    EXPECT_EQ(ParseRecordNumber(""), 0);
    EXPECT_EQ(ParseRecordNumber("abc"), 0);
    EXPECT_EQ(ParseRecordNumber(" \t-3x"), -3);
    EXPECT_EQ(ParseRecordNumber("+7"), 7);
    EXPECT_EQ(ParseRecordNumber("12 34"), 12);
    EXPECT_EQ(ParseRecordNumber("- 5"), 0);
    EXPECT_EQ(ParseRecordNumber("5000000000"), 5000000000LL);
    EXPECT_EQ(ParseRecordNumber("-9223372036854775808"), INT64_MIN);
    EXPECT_EQ(ParseRecordNumber("99999999999999999999999"), INT64_MAX);
    EXPECT_EQ(ParseRecordNumber("-99999999999999999999999"), INT64_MIN);

    // Times and counts past the 16-bit range survive; a 5 GB file keeps its size.
    CTempDir folder;
    auto song = MakeSong("长", 100000, folder.Path(), "long.flac");
    song->size = 5000000000LL;
    folder.Write("long.flac", "x");
    CSongList songs;
    songs.AddTail(song);
    ASSERT_TRUE(WriteSongStoreFile(folder.File("MusicList.ckp"), songs));
    CSongList read;
    ASSERT_TRUE(ReadSongStoreFile(folder.File("MusicList.ckp"), read));
    EXPECT_EQ(Describe(read), Describe(songs));

    // Damaged numbers: not a number gives 0, an oversized one its low 32
    // bits, and totals of huge times do not overflow.
    folder.Write(
        "bad.stp",
        ListFileText(EntryRecordText("坏", 3) + SongRecordText("a", INT_MAX, 1) + "\n" +
                         SongRecordText("b", INT_MAX, 2) + "\n" +
                         ReplaceAll(SongRecordText("c", 0, 3), "时间 = 0", "时间 = 4294967297") +
                         "\n",
                     1));
    CMusicList list;
    ASSERT_TRUE(ReadMusicListFile(folder.File("bad.stp"), list));
    ASSERT_EQ(list.GetCount(), 1);
    EXPECT_EQ(list.GetAt(1)->songs.GetAt(3)->time, 1);
    EXPECT_EQ(list.GetAt(1)->time, INT_MAX);
}

TEST(ListFileRead, CountsLargerThanTheFileStopAtItsEnd) {
    CTempDir folder;
    // Two billion entries promised, one present, then empty lines.
    folder.Write("list.stp", ListFileText(EntryRecordText("一", 2000000000) +
                                              SongRecordText("歌", 10, 1) + "\n\n\n\n",
                                          2000000000));
    CMusicList list;
    ASSERT_TRUE(ReadMusicListFile(folder.File("list.stp"), list));
    EXPECT_EQ(Describe(list),
              (std::vector<std::string>{"一||2001|1|10|0|x.m3u|/m\n  歌||2001|10|1|不存在|||0"}));

    folder.Write("songs.ckp", "number = 2000000000;\n\n" + SongRecordText("歌", 10, 5) + "\n");
    CSongList songs;
    ASSERT_TRUE(ReadSongStoreFile(folder.File("songs.ckp"), songs));
    EXPECT_EQ(Describe(songs), (std::vector<std::string>{"歌||2001|10|5|不存在|||0"}));

    // A count and nothing after it.
    folder.Write("short.stp", std::string(kHeaderUtf8) + "number = 5;");
    ASSERT_TRUE(ReadMusicListFile(folder.File("short.stp"), list));
    EXPECT_EQ(list.GetCount(), 0);
}

TEST(ListFileRead, EmptyLibraryAndEntryWithoutSongs) {
    CTempDir folder;
    CMusicList empty;
    ASSERT_TRUE(WriteMusicListFile(folder.File("empty.stp"), empty));
    EXPECT_EQ(folder.Read("empty.stp"), ListFileText("", 0));
    CMusicList list;
    list.AddTail(MakeEntry("old", {}));
    ASSERT_TRUE(ReadMusicListFile(folder.File("empty.stp"), list));
    EXPECT_EQ(list.GetCount(), 0);

    CMusicList library;
    library.AddTail(MakeEntry("空", {}));
    library.AddTail(MakeEntry("满", {MakeSong("歌", 30)}));
    ASSERT_TRUE(WriteMusicListFile(folder.File("two.stp"), library));
    std::string text = folder.Read("two.stp");
    // The next entry follows the empty entry's "<song list>" line directly.
    EXPECT_NE(text.find("文件位置 = /music;\n\n<song list>\n<play list>\n曲目标题 = 满;"),
              std::string::npos);
    ASSERT_TRUE(ReadMusicListFile(folder.File("two.stp"), list));
    EXPECT_EQ(Describe(list), Describe(library));

    CSongList noSongs;
    ASSERT_TRUE(WriteSongStoreFile(folder.File("none.ckp"), noSongs));
    EXPECT_EQ(folder.Read("none.ckp"), "number = 0;\n\n");
}

TEST(ListFileRead, MissingOrUnreadableFileEmptiesTheList) {
    CTempDir folder;
    CScopedRecordingPlatform recording;
    CMusicList list;
    list.AddTail(MakeEntry("old", {}));
    EXPECT_FALSE(ReadMusicListFile(folder.File("none.stp"), list));
    EXPECT_EQ(list.GetCount(), 0);
    CSongList songs;
    songs.AddTail(MakeSong("old", 1));
    EXPECT_FALSE(ReadSongStoreFile(folder.File("none.ckp"), songs));
    EXPECT_EQ(songs.GetCount(), 0);
    // A missing store file is an ordinary first start: nothing to report.
    EXPECT_TRUE(recording.platform.messages.empty());

    std::filesystem::create_directory(folder.File("folder.stp"));
    list.AddTail(MakeEntry("old", {}));
    EXPECT_FALSE(ReadMusicListFile(folder.File("folder.stp"), list));
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(
        recording.platform.MessageTexts(),
        (std::vector<std::string>{"“" + folder.File("folder.stp") + "”不是普通文件，无法读取。"}));
}

TEST(ListFileRead, DamagedRecordsKeepWhatCanBeRead) {
    CTempDir folder;
    // An empty line inside the second song ends the entry there: its count
    // and time match the one song before it. The old key name is accepted,
    // and the lines of a record may come in any order.
    std::string secondSong = ReplaceAll(SongRecordText("b", 20, 2), "次序 = 2;\n", "\n");
    std::string firstSong = SongRecordText("a", 10, 9);
    std::string swapped =
        ReplaceAll(firstSong, "音乐标题 = a;\n艺术家 = ;\n", "艺术家 = ;\n音乐标题 = a;\n");
    std::string entry = ReplaceAll(EntryRecordText("旧", 3), "曲数", "曲目数");
    std::string text = ListFileText(entry + swapped + "\n" + secondSong + "\n", 1);
    folder.Write("crlf.stp", ReplaceAll(text, "\n", "\r\n"));
    folder.Write("lf.stp", text);

    CMusicList crlf;
    ASSERT_TRUE(ReadMusicListFile(folder.File("crlf.stp"), crlf));
    CMusicList lf;
    ASSERT_TRUE(ReadMusicListFile(folder.File("lf.stp"), lf));
    // The same text again with a byte-order mark.
    folder.Write("bom.stp", "\xEF\xBB\xBF" + text);
    CMusicList bom;
    ASSERT_TRUE(ReadMusicListFile(folder.File("bom.stp"), bom));
    std::vector<std::string> expected = {"旧||2001|1|10|0|x.m3u|/m\n  a||2001|10|1|不存在|||0"};
    EXPECT_EQ(Describe(crlf), expected);
    EXPECT_EQ(Describe(lf), expected);
    EXPECT_EQ(Describe(bom), expected);

    // Read directly, the cut record says so; the songs before it stay.
    CLineCursor cursor(EntryRecordText("e", 2) + firstSong + "\n" + secondSong);
    CPlayListItem direct;
    EXPECT_FALSE(ReadEntryRecord(cursor, direct));
    EXPECT_EQ(Describe(direct), "e||2001|1|10|0|x.m3u|/m\n  a||2001|10|1|不存在|||0");
    CLineCursor whole(EntryRecordText("e", 1) + firstSong + "\n");
    CPlayListItem complete;
    EXPECT_TRUE(ReadEntryRecord(whole, complete));
    EXPECT_EQ(Describe(complete), Describe(direct));

    // Text values keep a leading space; numbers skip it.
    folder.Write("spaces.stp", ListFileText(ReplaceAll(ReplaceAll(EntryRecordText("t", 0),
                                                                  "曲目标题 = t", "曲目标题 =  t"),
                                                       "风格 = 2001", "风格 =  2003"),
                                            1));
    CMusicList spaces;
    ASSERT_TRUE(ReadMusicListFile(folder.File("spaces.stp"), spaces));
    EXPECT_EQ(Describe(spaces), (std::vector<std::string>{" t||2003|0|0|0|x.m3u|/m"}));
}

TEST(ListFileWrite, FailedWriteIsReportedAndLeavesTheOldFileWhole) {
    CTempDir folder;
    CScopedRecordingPlatform recording;
    CMusicList library;
    library.AddTail(MakeEntry("新", {MakeSong("歌", 30)}));

    std::string missing = folder.File("no such folder/PlayList.stp");
    EXPECT_FALSE(WriteMusicListFile(missing, library));
    std::string readOnlyPath = folder.Write("locked/PlayList.stp", "old library");
    bool canLock = geteuid() != 0; // permissions do not stop root
    if (canLock) {
        chmod(folder.File("locked").c_str(), 0555);
        EXPECT_FALSE(WriteMusicListFile(readOnlyPath, library));
        chmod(folder.File("locked").c_str(), 0755);
    }

    // A full disk, as the file size limit makes it: the write fails midway.
    std::string fullPath = folder.Write("full/PlayList.stp", "old library");
    CSongList songs;
    for (int i = 0; i < 100; ++i) {
        songs.AddTail(MakeSong("歌" + std::to_string(i), i));
    }
    struct rlimit saved {};
    getrlimit(RLIMIT_FSIZE, &saved);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 1000;
    setrlimit(RLIMIT_FSIZE, &small);
    bool fullWritten = WriteSongStoreFile(fullPath, songs);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(fullWritten);

    std::vector<std::string> expected = {missing + ": " + std::strerror(ENOENT)};
    if (canLock) {
        expected.push_back(readOnlyPath + ": " + std::strerror(EACCES));
    }
    expected.push_back(fullPath + ": " + std::strerror(EFBIG));
    EXPECT_EQ(recording.platform.MessageTexts(), expected);
    for (const auto& message : recording.platform.messages) {
        EXPECT_EQ(message.icon, CMessageIcon::Error);
    }
    EXPECT_EQ(folder.Read(readOnlyPath), "old library");
    EXPECT_EQ(folder.Read(fullPath), "old library");
    // No temporary file is left beside the target.
    std::vector<std::string> names;
    for (const auto& item : std::filesystem::directory_iterator(folder.File("full"))) {
        names.push_back(item.path().filename().string());
    }
    EXPECT_EQ(names, std::vector<std::string>{"PlayList.stp"});
}

TEST(ListFileWrite, NoValueCanBreakTheFilesLinesOrEncoding) {
    CTempDir folder;
    // A Linux file name may hold a line break, or bytes that are not UTF-8
    // (here GBK for "老"); either would garble every record after it.
    auto song = MakeSong("第一行\n第二行\r", 10);
    song->fileName = "\xC0\xCF.mp3";
    auto other = MakeSong("后面的歌", 20);
    CMusicList library;
    library.AddTail(MakeEntry("专辑", {song, other}));
    ASSERT_TRUE(WriteMusicListFile(folder.File("list.stp"), library));

    CMusicList list;
    ASSERT_TRUE(ReadMusicListFile(folder.File("list.stp"), list));
    ASSERT_EQ(list.GetCount(), 1);
    CEntryPtr entry = list.GetAt(1);
    ASSERT_EQ(entry->songs.GetCount(), 2);
    EXPECT_EQ(entry->songs.GetAt(1)->title, "第一行 第二行 ");
    EXPECT_EQ(Describe(*entry->songs.GetAt(2)), Describe(*other));
    EXPECT_EQ(entry->title, "专辑");
    EXPECT_NE(folder.Read("list.stp").find("文件名 = 老.mp3;\n"), std::string::npos);
}

TEST(CollectAllSongs, SharesTheEntriesSongsInOrder) {
    auto a = MakeSong("a", 1);
    auto b = MakeSong("b", 2);
    auto c = MakeSong("c", 3);
    CMusicList library;
    library.AddTail(MakeEntry("1", {a, b}));
    library.AddTail(MakeEntry("2", {}));
    library.AddTail(MakeEntry("3", {c}));
    CSongList songs;
    songs.AddTail(MakeSong("old", 9));
    CollectAllSongs(songs, library);
    EXPECT_EQ(songs.Elements(), (std::vector<CSongPtr>{a, b, c}));
}

TEST(ListFileRead, GarbageNeverHangsOrInventsRecords) {
    CTempDir folder;
    std::string noise;
    unsigned state = 12345;
    for (int i = 0; i < 20000; ++i) {
        state = state * 1103515245 + 12345;
        noise += static_cast<char>(state >> 16);
    }
    std::string markers;
    for (int i = 0; i < 1000; ++i) {
        markers += "<play list>\r\n曲数 = 2147483647;\r\n";
    }
    const std::vector<std::string> files = {
        noise,
        std::string(kHeaderUtf8) + "number = 2147483647;\n\n" + noise,
        std::string(kHeaderUtf8) + "number = 2147483647;\n\n" + markers,
        std::string(kHeaderUtf8) + "number = 99;\n\n" + std::string(5000, '\r'),
        "number = 2147483647;\n\n" + noise,
    };
    for (const auto& bytes : files) {
        folder.Write("garbage", bytes);
        std::size_t lineCount = 1;
        for (char c : bytes) {
            lineCount += c == '\n' || c == '\r' ? 1 : 0;
        }
        CMusicList list;
        ASSERT_TRUE(ReadMusicListFile(folder.File("garbage"), list));
        std::size_t songCount = 0;
        for (const auto& entry : list) {
            EXPECT_EQ(entry->count, entry->songs.GetCount());
            songCount += static_cast<std::size_t>(entry->songs.GetCount());
        }
        // Every entry takes eleven lines at least, every song ten.
        EXPECT_LE(list.GetCount() * 11 + songCount * 10, lineCount + 11);
        CSongList songs;
        ASSERT_TRUE(ReadSongStoreFile(folder.File("garbage"), songs));
        EXPECT_LE(static_cast<std::size_t>(songs.GetCount()), lineCount / 2 + 1);
    }
}

TEST(CLineCursor, ReadsEmptyLinesPastTheEndAndKnowsWhenOnlyThoseRemain) {
    auto readAll = [](CLineCursor cursor) {
        std::vector<std::string> read;
        while (!cursor.AtEnd()) {
            read.emplace_back(cursor.Next());
        }
        read.emplace_back(cursor.Next()); // an empty line after the last
        read.emplace_back(cursor.Next());
        return read;
    };
    EXPECT_EQ(readAll(CLineCursor(std::string("a\r\n\nb\r\r\nc\n\r\n\n"))),
              (std::vector<std::string>{"a", "", "b", "", "c", "", ""}));
    EXPECT_EQ(readAll(CLineCursor(std::vector<std::string>{"a", "", "b", "c", "", ""})),
              (std::vector<std::string>{"a", "", "b", "c", "", ""}));
    EXPECT_EQ(readAll(CLineCursor(std::string("a\n\nb\r\nc"))),
              (std::vector<std::string>{"a", "", "b", "c", "", ""}));
    EXPECT_TRUE(CLineCursor(std::string("\r\n\n\r\n")).AtEnd());
}
