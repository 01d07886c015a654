#include "formats/AppConfig.h"

#include "support/StoreFiles.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

using Edits = std::vector<std::pair<std::string, std::string>>;

std::string Edited(std::string text, const Edits& edits) {
    for (const auto& edit : edits) {
        text = ReplaceAll(text, edit.first, edit.second);
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

const char* const kNoRows = "mp3=0 mpga=0 rm=0 ra=0 ram=0 mid=0 midi=0 wav=0 wma=0 voc=0 ";

// Reads the settings text over a config that starts at the defaults of /old.
CAppConfig ReadText(const std::string& text) {
    CTempDir dir;
    CAppConfig config;
    config.SetDefaults();
    config.WorkDirectory = "/old";
    EXPECT_TRUE(ReadConfigFile(dir.Write("c.ini", text), config));
    return config;
}

// The file written of the config read from text.
std::string Reread(const std::string& text) {
    CTempDir dir;
    EXPECT_TRUE(WriteConfigFile(dir.File("w.ini"), ReadText(text)));
    return dir.Read("w.ini");
}

} // namespace

TEST(AppConfigWrite, DefaultsAfterTheFirstRunGiveTheTwentySevenLineFileAndReadBack) {
    CTempDir dir;
    CAppConfig config;
    config.SetDefaults();
    config.WorkDirectory = "/home/ann/音乐 工具";
    config.IsFirstUse = 0;
    ASSERT_TRUE(WriteConfigFile(dir.File("Cricklet.ini"), config));
    EXPECT_EQ(dir.Read("Cricklet.ini"), DefaultSettingsText("/home/ann/音乐 工具"));

    // Every field changed reads back, and is written again the same.
    config.IsUseDefaultPlayer = config.IsImportDir = config.IsHideWhenMin = 0;
    config.PlayerPath = "/usr/bin/mpv";
    config.RecentDirectory = "/home/ann/下载\n新"; // a line break cannot shift later lines
    config.IsExitAlert = config.DlgEditPlaylistUF = config.DelayOfEyeProtector = 0;
    config.IconPlaylistID = 3;
    config.IconMusicID = 2;
    config.fileTypes[2].enabled = 1;
    config.fileTypes.push_back({"ogg", 1});
    config.DlgEditMusicUF = config.EnableEyeProtector = config.MenuStatus = 1;
    ASSERT_TRUE(WriteConfigFile(dir.File("c.ini"), config));
    EXPECT_EQ(Reread(dir.Read("c.ini")), dir.Read("c.ini"));
    EXPECT_NE(dir.Read("c.ini").find("RecentDirectory = /home/ann/下载 新;\n"), std::string::npos);
    EXPECT_EQ(RowsOf(ReadText(dir.Read("c.ini"))),
              "mp3=1 mpga=1 rm=1 ra=0 ram=0 mid=1 midi=0 wav=0 wma=0 voc=0 ogg=1 ");
}

TEST(AppConfigRead, LinesArePositionalAndValuesReadLikeTheOldProgram) {
    const std::string text =
        Edited(DefaultSettingsText("/music"),
               {{"[Cricklet Configuration List]", "anything at all"},
                {"IsUseDefaultPlayer = 1;", "IsUseDefaultPlayr = 0;"},
                {"PlayerPath = ;", "Spieler = /opt/a;b/player;"}, // to the last ";" of the line
                {"RecentDirectory = ;", "RecentDirectory = /a = b;"},
                {"IconPlaylistID = 1;", "IconPlaylistID =  -2xyz;"},
                {"IconMusicID = 1;", "x = abc;"},
                {"DelayOfEyeProtector = 60;", "DelayOfEye = 45;"}});
    EXPECT_EQ(Reread(text), Edited(DefaultSettingsText("/music"),
                                   {{"IsUseDefaultPlayer = 1;", "IsUseDefaultPlayer = 0;"},
                                    {"PlayerPath = ;", "PlayerPath = /opt/a;b/player;"},
                                    {"RecentDirectory = ;", "RecentDirectory = /a = b;"},
                                    {"IconPlaylistID = 1;", "IconPlaylistID = -2;"},
                                    {"IconMusicID = 1;", "IconMusicID = 0;"},
                                    {"DelayOfEyeProtector = 60;", "DelayOfEyeProtector = 45;"}}));
    // GBK and CR LF files read like UTF-8 ones.
    const Edits recent = {{"RecentDirectory = ;", "RecentDirectory = D:\\\xD2\xF4\xC0\xD6;"}};
    EXPECT_EQ(Reread(Edited(Edited(DefaultSettingsText("/x"), recent), {{"\n", "\r\n"}})),
              Edited(DefaultSettingsText("/x"),
                     {{"RecentDirectory = ;", "RecentDirectory = D:\\音乐;"}}));

    // Lines missing at the end read as empty: numbers 0, texts empty; the
    // table is still one row per default extension, none of them enabled.
    CTempDir dir;
    CAppConfig config;
    EXPECT_FALSE(ReadConfigFile(dir.File("none.ini"), config));
    config = ReadText("[Cricklet Configuration List]\nIsUseDefaultPlayer = 1;\nPlayerPath = /p;\n");
    EXPECT_EQ(config.PlayerPath + config.WorkDirectory, "/p");
    EXPECT_EQ(config.IsUseDefaultPlayer * 100 + config.IsFirstUse + config.DelayOfEyeProtector,
              100);
    EXPECT_EQ(RowsOf(config), kNoRows);
}

// Only the exact extension with the value 1 enables a type.
TEST(AppConfigRead, FileTypeRowsAreRepairedForTheDialog) {
    std::string text = DefaultSettingsText("/x");
    std::size_t start = text.find("SupportedFileTypeCount");
    CAppConfig config = ReadText(text.replace(
        start, text.find("DlgEditPlaylistUF") - start,
        "SupportedFileTypeCount = 5;\nogg = 1;\nwav = 1;\nMP3 = 1;\nmp3 = 2;\nmid = 1;\n"));
    EXPECT_EQ(RowsOf(config),
              "mp3=2 mpga=0 rm=0 ra=0 ram=0 mid=1 midi=0 wav=1 wma=0 voc=0 ogg=1 MP3=1 ");
    std::string enabled;
    for (const char* extension : {"mp3", "mpga", "mid", "midi", "wav", "ogg", "MP3", "MP3x"}) {
        enabled += config.IsSupportedExtension(extension) ? std::string(extension) + " " : "";
    }
    EXPECT_EQ(enabled, "mid wav ogg MP3 ");
    EXPECT_EQ(config.DlgEditPlaylistUF * 100 + config.DelayOfEyeProtector, 160);
    // A huge count reads no more rows than the file holds: the five lines after the table.
    config = ReadText(ReplaceAll(DefaultSettingsText("/x"), "TypeCount = 10;",
                                 "TypeCount = 99999999999999999999;"));
    EXPECT_EQ(config.fileTypes.size(), 15u);
}

TEST(AppConfig, TheFileFilterOfTheDefaults) {
    CAppConfig config;
    config.SetDefaults();
    EXPECT_EQ(config.GetMusicFileFilter(),
              "所有支持的音乐文件 (*.mp3 *.mpga *.rm *.ra *.ram *.mid *.midi *.wav *.wma *.voc "
              "*.flac *.ogg *.opus *.m4a *.ape *.wv);;"
              "MPEG Audio 文件 (*.mp3 *.mpga);;RealAudio 文件 (*.rm *.ra *.ram);;"
              "Standard MIDI 文件 (*.mid *.midi);;Microsoft Audio 文件 (*.wav *.wma);;"
              "Creative Lab Voice 文件 (*.voc);;"
              "FLAC, Ogg, Opus, M4A, APE, WavPack 文件 (*.flac *.ogg *.opus *.m4a *.ape *.wv);;"
              "All files (*)");
}
