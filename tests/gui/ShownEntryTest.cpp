// The entry the window works on: whatever path changes the highlighted entry,
// the manager's currentRow names it and the song pane shows its songs, so
// the song commands act on the song the user picked. Keys move between and
// within the panes.
#include "GuiHelpers.h"

#include "core/MusicManager.h"
#include "panes/PlayListView.h"
#include "panes/SongListView.h"
#include "support/RecordingPlatform.h"

#include <QSignalSpy>
#include <QtTest>

#include <functional>

namespace {

// 乙 with b1..b3, 甲 with a1..a3, Zed with z1: a title sort turns the order
// round (ASCII before the GBK order of jia, yi).
CMusicList ThreeEntries(const std::string& root) {
    auto songs = [&root](const std::string& prefix, int count) {
        std::vector<CSongPtr> list;
        for (int i = 1; i <= count; ++i) {
            const std::string name = prefix + std::to_string(i);
            list.push_back(MakeSong(name, "", 60 * i, i, root + "/" + prefix, name + ".mp3", 1000));
        }
        return list;
    };
    CMusicList entries;
    entries.AddTail(MakeEntry("乙", "", root + "/b", "b.m3u", songs("b", 3)));
    entries.AddTail(MakeEntry("甲", "", root + "/a", "a.m3u", songs("a", 3)));
    entries.AddTail(MakeEntry("Zed", "", root + "/z", "z.m3u", songs("z", 1)));
    return entries;
}

using Steps = std::function<void(CShownLibrary&)>;

void Key(QWidget* pane, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(pane, key, modifiers);
}

// The entry named by currentRow, highlighted alone, with its songs shown.
QString CheckInStep(CShownLibrary& shown, const QString& title, const QStringList& songs) {
    CMusicManager* manager = shown.frame->m_pManager;
    const int row = manager->currentRow;
    if (shown.playList->SelectedRows() != std::vector<int>({row})) {
        return QStringLiteral("the highlight is not on currentRow %1").arg(row);
    }
    if (shown.playList->ItemText(row, 0) != title) {
        return QStringLiteral("currentRow %1 shows %2")
            .arg(row)
            .arg(shown.playList->ItemText(row, 0));
    }
    if (shown.Titles() != songs) {
        return QStringLiteral("the song pane shows ") + shown.Titles().join(QLatin1Char(','));
    }
    return QString();
}

} // namespace

class ShownEntryTest : public QObject {
    Q_OBJECT
private slots:
    void EveryPathKeepsTheSongPaneOnTheHighlightedEntry();
    void SongCommandsActOnTheSongThePanesShow();
    void PlayCountCellShowsTheNewCount();
    void KeysMoveBetweenThePanesAndPlay();
};

void ShownEntryTest::EveryPathKeepsTheSongPaneOnTheHighlightedEntry() {
    const QStringList bSongs = {"b1", "b2", "b3"};
    const struct {
        const char* name;
        Steps steps;
        const char* title;
        QStringList songs;
    } cases[] = {
        {"click, Down, click",
         [](CShownLibrary& s) {
             ClickRow(s.playList, 1);
             Key(s.playList, Qt::Key_Down);
             ClickRow(s.playList, 1);
         },
         "乙", bSongs},
        {"title sort",
         [](CShownLibrary& s) { ClickRow(s.playList, 1), ClickHeader(s.playList, 0); }, "乙",
         bSongs},
        {"Page Down",
         [](CShownLibrary& s) { ClickRow(s.playList, 1), Key(s.playList, Qt::Key_PageDown); },
         "Zed",
         {"z1"}},
        {"End, Home",
         [](CShownLibrary& s) {
             ClickRow(s.playList, 2);
             Key(s.playList, Qt::Key_End);
             Key(s.playList, Qt::Key_Home);
         },
         "所有歌曲",
         {"b1", "b2", "b3", "a1", "a2", "a3", "z1"}},
        {"redraw",
         [](CShownLibrary& s) { ClickRow(s.playList, 2), s.frame->RefillPanes(); },
         "甲",
         {"a1", "a2", "a3"}},
        {"click below the rows",
         [](CShownLibrary& s) { ClickRow(s.playList, 2), ClickEmptySpace(s.playList); },
         "甲",
         {"a1", "a2", "a3"}},
    };
    for (const auto& c : cases) {
        CShownLibrary shown;
        QVERIFY(shown.Show(ThreeEntries(shown.library.Dir().Path())));
        c.steps(shown);
        const QString fault = CheckInStep(shown, QString::fromUtf8(c.title), c.songs);
        QVERIFY2(fault.isEmpty(), qPrintable(QString::fromUtf8(c.name) + ": " + fault));
    }
}

void ShownEntryTest::SongCommandsActOnTheSongThePanesShow() {
    const struct {
        const char* name;
        Steps steps;
    } cases[] = {
        {"click, Down, click",
         [](CShownLibrary& s) {
             ClickRow(s.playList, 1);
             Key(s.playList, Qt::Key_Down);
             ClickRow(s.playList, 1);
         }},
        {"title sort",
         [](CShownLibrary& s) { ClickRow(s.playList, 1), ClickHeader(s.playList, 0); }},
    };
    for (const auto& c : cases) {
        CScopedRecordingPlatform recording;
        CShownLibrary shown;
        QVERIFY(shown.Show(ThreeEntries(shown.library.Dir().Path())));
        c.steps(shown);
        ClickRow(shown.songs, 2);
        // The song the user picks is the one played and then removed.
        QVERIFY2(shown.songs->ItemText(2, 0) == QStringLiteral("b3"), c.name);
        Key(shown.songs, Qt::Key_P, Qt::ControlModifier);
        const CEntryPtr b =
            shown.frame->m_pManager->entries.GetAt(shown.frame->m_pManager->currentRow);
        QVERIFY2(b && b->title == "乙", c.name);
        QCOMPARE(recording.platform.openedPaths,
                 std::vector<std::string>({shown.library.Path("b/b3.mp3")}));

        recording.platform.answers.push_back(CAnswer::Ok);
        Key(shown.songs, Qt::Key_Delete);
        QCOMPARE(recording.platform.MessageTexts(),
                 std::vector<std::string>({"确定要在当前曲目中移去\"b3\"? (不会删除该音乐文件)"}));
        QVERIFY2(b->songs.GetCount() == 2 && b->songs.GetAt(2)->title == "b2", c.name);
        QCOMPARE(shown.Titles(), QStringList({"b1", "b2"}));
    }
}

void ShownEntryTest::PlayCountCellShowsTheNewCount() {
    CScopedRecordingPlatform recording;
    CShownLibrary shown;
    QVERIFY(shown.Show(ThreeEntries(shown.library.Dir().Path())));
    QSignalSpy redrawn(shown.playList->model(), &QAbstractItemModel::dataChanged);
    ClickRow(shown.playList, 2);
    Key(shown.playList, Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(shown.frame->m_pManager->entries.GetAt(2)->playCount, 1);
    QCOMPARE(shown.playList->ItemText(2, 6), QStringLiteral("1"));
    bool cellRedrawn = false;
    for (const QList<QVariant>& signal : redrawn) {
        const auto from = signal.at(0).value<QModelIndex>();
        const auto to = signal.at(1).value<QModelIndex>();
        cellRedrawn = cellRedrawn ||
                      (from.row() <= 2 && to.row() >= 2 && from.column() <= 6 && to.column() >= 6);
    }
    QVERIFY(cellRedrawn);
}

void ShownEntryTest::KeysMoveBetweenThePanesAndPlay() {
    CScopedRecordingPlatform recording;
    CShownLibrary shown;
    QVERIFY(shown.Show(ThreeEntries(shown.library.Dir().Path())));
    shown.frame->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(shown.frame.get()));
    ClickRow(shown.playList, 2);
    Key(shown.playList, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(shown.songs));
    QCOMPARE(shown.frame->GetActivePaneRow(), 1);
    Key(shown.songs, Qt::Key_Down);
    Key(shown.songs, Qt::Key_Return);
    QCOMPARE(recording.platform.openedPaths,
             std::vector<std::string>({shown.library.Path("a/a2.mp3")}));

    const struct {
        Qt::Key key;
        QWidget* focused;
    } switches[] = {
        {Qt::Key_Backtab, shown.playList}, {Qt::Key_F6, shown.songs}, {Qt::Key_F6, shown.playList}};
    for (const auto& s : switches) {
        Key(QApplication::focusWidget(), s.key);
        QVERIFY2(QApplication::focusWidget() == s.focused,
                 qPrintable(QKeySequence(s.key).toString()));
    }
    // Enter in the playlist pane plays the highlighted entry, as a double
    // click does.
    Key(shown.playList, Qt::Key_Enter);
    QCOMPARE(shown.frame->m_pManager->entries.GetAt(2)->playCount, 1);
}

QTEST_MAIN(ShownEntryTest)
#include "ShownEntryTest.moc"
