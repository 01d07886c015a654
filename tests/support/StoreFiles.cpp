#include "support/StoreFiles.h"

namespace {
const char* const kListFileHeader =
    "// 注意:您可以按格式修改以下记录的内容, 但勿修改记录格式结构, 以防发生记录格式读入错误\n"
    "// 1.请不要加入一个行或是删除一行\n"
    "// 2.请不要修改属性的名称\n"
    "// 3.请不要修改\" = \"以及\";\"等关键词格式\n"
    "// 4.请不要删除本说明\n"
    "\n";

std::string Line(const std::string& key, const std::string& value) {
    return key + " = " + value + ";\n";
}
} // namespace

std::string SongRecordText(const CSongItem& song) {
    return Line("音乐标题", song.title) + Line("艺术家", song.artist) +
           Line("风格", std::to_string(song.style)) + Line("时间", std::to_string(song.time)) +
           Line("次序", std::to_string(song.order)) + Line("文件名", song.fileName) +
           Line("文件类型", song.fileType) + Line("文件位置", song.location) +
           Line("文件大小", std::to_string(song.size));
}

std::string EntryRecordText(const CPlayListItem& entry) {
    std::string text =
        "<play list>\n" + Line("曲目标题", entry.title) + Line("艺术家", entry.artist) +
        Line("风格", std::to_string(entry.style)) + Line("曲数", std::to_string(entry.count)) +
        Line("时间", std::to_string(entry.time)) +
        Line("欣赏次数", std::to_string(entry.playCount)) + Line("文件名", entry.fileName) +
        Line("文件位置", entry.location) + "\n<song list>\n";
    for (const auto& song : entry.songs) {
        text += SongRecordText(*song) + "\n";
    }
    return text;
}

std::string ListFileText(const std::vector<std::string>& entryRecords, int number) {
    std::string text =
        kListFileHeader +
        Line("number",
             std::to_string(number < 0 ? entryRecords.size() : static_cast<std::size_t>(number))) +
        "\n";
    for (const auto& record : entryRecords) {
        text += record;
    }
    return text;
}

std::string ListFileText(const CMusicList& entries) {
    std::vector<std::string> records;
    for (const auto& entry : entries) {
        records.push_back(EntryRecordText(*entry));
    }
    return ListFileText(records);
}

std::string SongStoreText(const std::vector<CSongPtr>& songs) {
    std::string text = Line("number", std::to_string(songs.size())) + "\n";
    for (const auto& song : songs) {
        text += SongRecordText(*song) + "\n";
    }
    return text;
}

std::string DefaultSettingsText(const std::string& workDirectory) {
    return "[Cricklet Configuration List]\nIsUseDefaultPlayer = 1;\nPlayerPath = ;\n"
           "IsFirstUse = 0;\nRecentDirectory = ;\nWorkDirectory = " +
           workDirectory +
           ";\nIsImportDir = 1;\nIsHideWhenMin = 1;\nIsExitAlert = 1;\nIconPlaylistID = 1;\n"
           "IconMusicID = 1;\nSupportedFileTypeCount = 10;\nmp3 = 1;\nmpga = 1;\nrm = 0;\n"
           "ra = 0;\nram = 0;\nmid = 1;\nmidi = 0;\nwav = 0;\nwma = 0;\nvoc = 0;\n"
           "DlgEditPlaylistUF = 1;\nDlgEditMusicUF = 0;\nEnableEyeProtector = 0;\n"
           "DelayOfEyeProtector = 60;\nMenuStatus = 0;\n";
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}
