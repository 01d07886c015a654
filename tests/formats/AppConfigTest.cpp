#include "formats/AppConfig.h"

#include "support/RecordingPlatform.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char* const kDefaultFileTemplate = "[Cricklet Configuration List]\n"
                                         "IsUseDefaultPlayer = 1;\n"
                                         "PlayerPath = ;\n"
                                         "IsFirstUse = 0;\n"
                                         "RecentDirectory = ;\n"
                                         "WorkDirectory = @WORK@;\n"
                                         "IsImportDir = 1;\n"
                                         "IsHideWhenMin = 1;\n"
                                         "IsExitAlert = 1;\n"
                                         "IconPlaylistID = 1;\n"
                                         "IconMusicID = 1;\n"
                                         "SupportedFileTypeCount = 10;\n"
                                         "mp3 = 1;\n"
                                         "mpga = 1;\n"
                                         "rm = 0;\n"
                                         "ra = 0;\n"
                                         "ram = 0;\n"
                                         "mid = 1;\n"
                                         "midi = 0;\n"
                                         "wav = 0;\n"
                                         "wma = 0;\n"
                                         "voc = 0;\n"
                                         "DlgEditPlaylistUF = 1;\n"
                                         "DlgEditMusicUF = 0;\n"
                                         "EnableEyeProtector = 0;\n"
                                         "DelayOfEyeProtector = 60;\n"
                                         "MenuStatus = 0;\n";

std::string DefaultFile(const std::string& workDirectory) {
    std::string text = kDefaultFileTemplate;
    text.replace(text.find("@WORK@"), 6, workDirectory);
    return text;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    std::size_t at = text.find(from);
    if (at != std::string::npos) {
        text.replace(at, from.size(), to);
    }
    return text;
}

std::string RowsOf(const CAppConfig& config) {
    std::string rows;
    for (const FileTypeEntry& row : config.fileTypes) {
        rows += row.extension + "=" + std::to_string(row.enabled) + " ";
    }
    return rows;
}

const char* const kDefaultRows = "mp3=1 mpga=1 rm=0 ra=0 ram=0 mid=1 midi=0 wav=0 wma=0 voc=0 ";

CAppConfig Defaults(const std::string& workDirectory) {
    CAppConfig config;
    config.SetDefaults();
    config.WorkDirectory = workDirectory;
    return config;
}

} // namespace

TEST(AppConfigWrite, DefaultsAfterTheFirstRunGiveTheTwentySevenLineFile) {
    CTempDir dir;
    CAppConfig config = Defaults("/home/ann/音乐 工具");
    config.IsFirstUse = 0;
    std::string path = dir.File("Cricklet.ini");
    ASSERT_TRUE(WriteConfigFile(path, config));
    EXPECT_EQ(dir.Read("Cricklet.ini"), DefaultFile("/home/ann/音乐 工具"));
}

TEST(AppConfigWrite, AFailedWriteIsReportedAndReplacesNothing) {
    CTempDir dir;
    dir.Write("blocker", "not a folder");
    CAppConfig config = Defaults(dir.Path());
    CScopedRecordingPlatform recorder;
    EXPECT_FALSE(WriteConfigFile(dir.File("blocker/Cricklet.ini"), config));
    EXPECT_EQ(recorder.platform.MessageTexts(),
              std::vector<std::string>{dir.File("blocker/Cricklet.ini") + ": Not a directory"});
    EXPECT_EQ(dir.Read("blocker"), "not a folder");
}

TEST(AppConfigRead, WrittenSettingsReadBackFieldForField) {
    CTempDir dir;
    CAppConfig written = Defaults("/w");
    written.IsUseDefaultPlayer = 0;
    written.PlayerPath = "/usr/bin/mpv";
    written.RecentDirectory = "/home/ann/下载\n新"; // a line break cannot shift later lines
    written.IconPlaylistID = 3;
    written.IconMusicID = 2;
    written.fileTypes[2].enabled = 1;
    written.fileTypes.push_back({"ogg", 1});
    written.DlgEditMusicUF = 1;
    written.EnableEyeProtector = 1;
    written.DelayOfEyeProtector = 0;
    written.MenuStatus = 1;
    ASSERT_TRUE(WriteConfigFile(dir.File("c.ini"), written));

    CAppConfig read;
    ASSERT_TRUE(ReadConfigFile(dir.File("c.ini"), read));
    EXPECT_EQ(read.IsFirstUse, 1);
    EXPECT_EQ(read.IsUseDefaultPlayer, 0);
    EXPECT_EQ(read.PlayerPath, "/usr/bin/mpv");
    EXPECT_EQ(read.RecentDirectory, "/home/ann/下载 新");
    EXPECT_EQ(read.WorkDirectory, "/w");
    EXPECT_EQ(read.IconPlaylistID, 3);
    EXPECT_EQ(read.IconMusicID, 2);
    EXPECT_EQ(RowsOf(read), "mp3=1 mpga=1 rm=1 ra=0 ram=0 mid=1 midi=0 wav=0 wma=0 voc=0 ogg=1 ");
    EXPECT_EQ(read.DlgEditPlaylistUF, 1);
    EXPECT_EQ(read.DlgEditMusicUF, 1);
    EXPECT_EQ(read.EnableEyeProtector, 1);
    EXPECT_EQ(read.DelayOfEyeProtector, 0);
    EXPECT_EQ(read.MenuStatus, 1);
    EXPECT_TRUE(read.IsSupportedExtension("ogg"));

    // Written again, the file is the same: nothing is lost or reordered.
    ASSERT_TRUE(WriteConfigFile(dir.File("again.ini"), read));
    EXPECT_EQ(dir.Read("again.ini"), dir.Read("c.ini"));
}

TEST(AppConfigRead, LinesArePositionalWhateverTheirKeys) {
    CTempDir dir;
    std::string text = DefaultFile("/music");
    text = Replace(text, "IsUseDefaultPlayer = 1;", "IsUseDefaultPlayr = 0;");
    text = Replace(text, "PlayerPath = ;", "Spieler = /opt/a b/player;");
    text = Replace(text, "IconMusicID = 1;", "x = 2;");
    text = Replace(text, "DelayOfEyeProtector = 60;", "DelayOfEye = 45;");
    text = Replace(text, "[Cricklet Configuration List]", "anything at all");
    dir.Write("c.ini", text);
    CAppConfig config;
    ASSERT_TRUE(ReadConfigFile(dir.File("c.ini"), config));
    EXPECT_EQ(config.IsUseDefaultPlayer, 0);
    EXPECT_EQ(config.PlayerPath, "/opt/a b/player");
    EXPECT_EQ(config.WorkDirectory, "/music");
    EXPECT_EQ(config.IconMusicID, 2);
    EXPECT_EQ(config.DelayOfEyeProtector, 45);
    EXPECT_EQ(RowsOf(config), kDefaultRows);
}

TEST(AppConfigRead, GbkAndCrLfFilesReadLikeUtf8) {
    CTempDir dir;
    std::string text = Replace(DefaultFile("/x"), "RecentDirectory = ;",
                               "RecentDirectory = D:\\\xD2\xF4\xC0\xD6;"); // 音乐 in GBK
    std::string crlf;
    for (char c : text) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    dir.Write("c.ini", crlf);
    CAppConfig config;
    ASSERT_TRUE(ReadConfigFile(dir.File("c.ini"), config));
    EXPECT_EQ(config.RecentDirectory, "D:\\音乐");
    EXPECT_EQ(config.WorkDirectory, "/x");
    EXPECT_EQ(config.MenuStatus, 0);
    EXPECT_EQ(config.DelayOfEyeProtector, 60);
}

TEST(AppConfigRead, MissingFileAndShortFile) {
    CTempDir dir;
    CAppConfig config;
    EXPECT_FALSE(ReadConfigFile(dir.File("none.ini"), config));

    // Lines missing at the end read as empty: numbers 0, texts empty; the
    // table is still one row per default extension, none of them enabled.
    dir.Write("short.ini", "[Cricklet Configuration List]\nIsUseDefaultPlayer = 1;\n"
                           "PlayerPath = /p;\n");
    config = Defaults("/old");
    ASSERT_TRUE(ReadConfigFile(dir.File("short.ini"), config));
    EXPECT_EQ(config.IsUseDefaultPlayer, 1);
    EXPECT_EQ(config.PlayerPath, "/p");
    EXPECT_EQ(config.IsFirstUse, 0);
    EXPECT_EQ(config.WorkDirectory, "");
    EXPECT_EQ(config.DelayOfEyeProtector, 0);
    EXPECT_EQ(RowsOf(config), "mp3=0 mpga=0 rm=0 ra=0 ram=0 mid=0 midi=0 wav=0 wma=0 voc=0 ");
    EXPECT_FALSE(config.IsSupportedExtension("mp3"));
}

TEST(AppConfigRead, ZeroRowsImportNothingButTheDialogStillHasItsTenRows) {
    CTempDir dir;
    std::string text = DefaultFile("/x");
    std::size_t rowsStart = text.find("SupportedFileTypeCount");
    std::size_t rowsEnd = text.find("DlgEditPlaylistUF");
    text.replace(rowsStart, rowsEnd - rowsStart, "SupportedFileTypeCount = 0;\n");
    dir.Write("c.ini", text);
    CAppConfig config;
    ASSERT_TRUE(ReadConfigFile(dir.File("c.ini"), config));
    EXPECT_EQ(RowsOf(config), "mp3=0 mpga=0 rm=0 ra=0 ram=0 mid=0 midi=0 wav=0 wma=0 voc=0 ");
    for (const FileTypeEntry& row : SupportedFileTypes()) {
        EXPECT_FALSE(config.IsSupportedExtension(row.extension)) << row.extension;
    }
    EXPECT_EQ(config.DlgEditPlaylistUF, 1);
    EXPECT_EQ(config.DelayOfEyeProtector, 60);
}

TEST(AppConfigRead, RowsInAnotherOrderOrMissingAreRepairedForTheDialog) {
    CTempDir dir;
    std::string text = DefaultFile("/x");
    std::size_t rowsStart = text.find("SupportedFileTypeCount");
    std::size_t rowsEnd = text.find("DlgEditPlaylistUF");
    text.replace(rowsStart, rowsEnd - rowsStart,
                 "SupportedFileTypeCount = 5;\nogg = 1;\nwav = 1;\nMP3 = 1;\nmp3 = 2;\nmid = 1;\n");
    dir.Write("c.ini", text);
    CAppConfig config;
    ASSERT_TRUE(ReadConfigFile(dir.File("c.ini"), config));
    EXPECT_EQ(RowsOf(config),
              "mp3=2 mpga=0 rm=0 ra=0 ram=0 mid=1 midi=0 wav=1 wma=0 voc=0 ogg=1 MP3=1 ");
    // Only the exact lower-case extension with the value 1 enables a type.
    EXPECT_FALSE(config.IsSupportedExtension("mp3"));
    EXPECT_FALSE(config.IsSupportedExtension("MP3x"));
    EXPECT_TRUE(config.IsSupportedExtension("MP3"));
    EXPECT_TRUE(config.IsSupportedExtension("wav"));
    EXPECT_TRUE(config.IsSupportedExtension("ogg"));
    EXPECT_TRUE(config.IsSupportedExtension("mid"));
    EXPECT_FALSE(config.IsSupportedExtension("midi"));
    EXPECT_EQ(config.DlgEditPlaylistUF, 1);
}

TEST(AppConfigRead, HugeRowCountReadsNoMoreRowsThanTheFileHolds) {
    CTempDir dir;
    std::string text = Replace(DefaultFile("/x"), "SupportedFileTypeCount = 10;",
                               "SupportedFileTypeCount = 2000000000;");
    dir.Write("c.ini", text);
    CAppConfig config;
    ASSERT_TRUE(ReadConfigFile(dir.File("c.ini"), config));
    // The ten rows and the five lines after them all became rows.
    ASSERT_EQ(config.fileTypes.size(), 15u);
    EXPECT_EQ(config.fileTypes[10].extension, "DlgEditPlaylistUF");
    EXPECT_EQ(config.fileTypes[14].extension, "MenuStatus");
    EXPECT_EQ(config.DlgEditPlaylistUF, 0);
    EXPECT_EQ(config.MenuStatus, 0);

    text = Replace(DefaultFile("/x"), "SupportedFileTypeCount = 10;",
                   "SupportedFileTypeCount = 99999999999999999999;");
    dir.Write("big.ini", text);
    ASSERT_TRUE(ReadConfigFile(dir.File("big.ini"), config));
    EXPECT_EQ(config.fileTypes.size(), 15u);
}

TEST(AppConfigRead, NumbersReadLikeAtoiAndSemicolonsEndTexts) {
    CTempDir dir;
    std::string text = DefaultFile("/x");
    text = Replace(text, "IconPlaylistID = 1;", "IconPlaylistID =  -2xyz;");
    text = Replace(text, "IconMusicID = 1;", "IconMusicID = abc;");
    text = Replace(text, "PlayerPath = ;", "PlayerPath = /opt/a;b/player;");
    text = Replace(text, "RecentDirectory = ;", "RecentDirectory = /a = b;");
    dir.Write("c.ini", text);
    CAppConfig config;
    ASSERT_TRUE(ReadConfigFile(dir.File("c.ini"), config));
    EXPECT_EQ(config.IconPlaylistID, -2);
    EXPECT_EQ(config.IconMusicID, 0);
    // A value runs to the last ";" of its line, so this path survives.
    EXPECT_EQ(config.PlayerPath, "/opt/a;b/player");
    EXPECT_EQ(config.RecentDirectory, "/a = b");
}

TEST(AppConfig, DefaultsAndTheFileFilter) {
    CAppConfig fresh;
    EXPECT_TRUE(fresh.fileTypes.empty());
    EXPECT_FALSE(fresh.IsSupportedExtension("mp3"));
    CAppConfig config = Defaults("/w");
    EXPECT_EQ(RowsOf(config), kDefaultRows);
    EXPECT_TRUE(config.IsSupportedExtension("mp3"));
    EXPECT_TRUE(config.IsSupportedExtension("mpga"));
    EXPECT_TRUE(config.IsSupportedExtension("mid"));
    EXPECT_FALSE(config.IsSupportedExtension("wma"));
    EXPECT_FALSE(config.IsSupportedExtension(""));
    EXPECT_EQ(MakeRecordLine("风格", "2001"), "风格 = 2001;\n");
    EXPECT_EQ(config.GetMusicFileFilter(),
              "所有支持的音乐文件 (*.mp3 *.mpga *.rm *.ra *.ram *.mid *.midi *.wav *.wma *.voc "
              "*.flac *.ogg *.opus *.m4a *.ape *.wv);;"
              "MPEG Audio 文件 (*.mp3 *.mpga);;RealAudio 文件 (*.rm *.ra *.ram);;"
              "Standard MIDI 文件 (*.mid *.midi);;Microsoft Audio 文件 (*.wav *.wma);;"
              "Creative Lab Voice 文件 (*.voc);;"
              "FLAC, Ogg, Opus, M4A, APE, WavPack 文件 (*.flac *.ogg *.opus *.m4a *.ape *.wv);;"
              "All files (*)");
}
