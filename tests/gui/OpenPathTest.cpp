// Files and folders handed to the program from outside (its command line, a
// second copy, a file manager's "open with") join the library as the
// matching command adds them.
#include "GuiHelpers.h"
#include "app/Handlers.h"

#include <QtTest>

namespace {

template <typename List> std::vector<std::string> Titles(const List& list) {
    std::vector<std::string> titles;
    for (const auto& item : list) {
        titles.push_back(item->title);
    }
    return titles;
}

// "%f" in an expected message stands for the window's folder.
std::vector<std::string> InFolder(std::vector<std::string> texts, const std::string& folder) {
    for (std::string& text : texts) {
        const size_t at = text.find("%f");
        if (at != std::string::npos) {
            text.replace(at, 2, folder);
        }
    }
    return texts;
}

} // namespace

class OpenPathTest : public QObject {
    Q_OBJECT
private slots:
    void AddsEachKindAsItsCommandDoes();
};

void OpenPathTest::AddsEachKindAsItsCommandDoes() {
    using Texts = std::vector<std::string>;
    const char* const added = "添加曲目成功！标题:\"精选\" 音乐数:1首";
    const char* const imported = "导入音乐文件成功！共导入曲目1个, 音乐文件2个。";
    const char* const appendQuestion = "第一步: 您是否将导入的音乐追加至当前音乐单？(选择\"否\" "
                                       "则先清空当前后再导入)";
    const struct {
        const char* name;
        Texts paths; // opened in turn, relative to the window's folder
        std::deque<CAnswer> answers;
        Texts entries;
        Texts songs;
        Texts messages;
    } cases[] = {
        {"playlist", {"精选.m3u"}, {}, {"精选"}, {"first"}, {added}},
        {"music file", {"Music/first.mid"}, {}, {}, {"first"}, {}},
        {"folder", {"Music"}, {}, {"Music"}, {"first", "second"}, {imported}},
        {"playlist, then a song",
         {"精选.m3u", "Music/second.mid"},
         {},
         {"精选"},
         {"first", "second"},
         {added}},
        {"folder into a library, cancelled",
         {"精选.m3u", "Music"},
         {CAnswer::Cancel},
         {"精选"},
         {"first"},
         {added, appendQuestion}},
        {"folder into a library, appended",
         {"精选.m3u", "Music"},
         {CAnswer::Yes},
         {"精选", "Music"},
         {"first", "first", "second"},
         {added, appendQuestion, imported}},
        {"missing", {"gone.m3u"}, {}, {}, {}, {"找不到文件\"%f/gone.m3u\""}},
        {"music type switched off",
         {"take.wav"},
         {},
         {},
         {},
         {"Cricklet 不能添加\"%f/take.wav\": 它既不是播放列表, 也不是已启用的音乐文件类型。"}},
    };
    for (const auto& c : cases) {
        CTestWindow window;
        const CTempDir& folder = window.folder;
        folder.Write("Music/first.mid", MidiBytes());
        folder.Write("Music/second.mid", MidiBytes());
        folder.Write("精选.m3u", "#EXTM3U\n#EXTINF:10,first\nMusic/first.mid\n");
        folder.Write("take.wav", "RIFF");
        window.platform.answers = c.answers;
        for (const std::string& path : c.paths) {
            OnOpenPath(*window.frame, folder.File(path));
            if (window.Manager().importThread) {
                window.Manager().importThread->Join();
            }
            QCoreApplication::processEvents();
        }
        QVERIFY2(Titles(window.Manager().entries) == c.entries, c.name);
        QVERIFY2(Titles(window.Manager().songs) == c.songs, c.name);
        QVERIFY2(window.platform.MessageTexts() == InFolder(c.messages, folder.Path()), c.name);
        // The panes show what the library holds: the placeholder row only
        // when it is empty.
        const int rows = window.frame->GetPlayListPane()->GetItemCount();
        QVERIFY2(rows == static_cast<int>(c.entries.size()) + 1, c.name);
    }
}

QTEST_MAIN(OpenPathTest)
#include "OpenPathTest.moc"
