// Special and oversized files given to the readers.
#include "core/MusicManager.h"
#include "formats/ListFile.h"
#include "formats/M3uFile.h"
#include "platform/FileSystem.h"
#include "support/RecordingPlatform.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

TEST(Readers, SpecialFilesAndOversizedOnesAreRefusedWithAMessage) {
    CTempDir dir;
    ASSERT_EQ(mkfifo(dir.File("pipe").c_str(), 0600), 0);
    std::filesystem::resize_file(dir.Write("large/Template.htm", "<html>"), kTemplateFileLimit + 1);
    auto readM3u = [](const std::string& path) {
        CPlayListItem entry;
        return ReadM3UFileChecked(path, &entry) == CM3uReadResult::Unreadable;
    };
    auto readList = [](const std::string& path) {
        CMusicList list;
        return !ReadMusicListFile(path, list);
    };
    auto exportWith = [&dir](const std::string& folder) {
        CMusicManager manager(nullptr);
        manager.config.WorkDirectory = folder;
        return !manager.store.ExportHtml(dir.File("page.htm"), manager.entries);
    };
    const std::string notRegular = "”不是普通文件，无法读取。";
    const struct {
        std::function<bool(const std::string&)> read;
        std::string path;
        std::string message;
    } cases[] = {
        {readM3u, dir.File("pipe"), "“" + dir.File("pipe") + notRegular},
        {readList, "/dev/zero", "“/dev/zero" + notRegular},
        {exportWith, dir.File("large"),
         "“" + dir.File("large/Template.htm") + "”大于16 MB，文件太大，无法读取。"},
    };
    for (const auto& c : cases) {
        CScopedRecordingPlatform recorder;
        EXPECT_TRUE(c.read(c.path)) << c.path;
        EXPECT_EQ(recorder.platform.MessageTexts(), std::vector<std::string>{c.message});
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("page.htm")));
}
