// Whatever path changes the highlighted entry, currentRow names it and the
// song pane shows its songs, so song commands act on the song the user
// picked; keys move between and within the panes.
#include "GuiHelpers.h"

#include <QSignalSpy>
#include <QtTest>

#include <map>

namespace {

// 乙 b1..b3, 甲 a1..a3, Zed z1: a title sort turns the order round.
CMusicList ThreeEntries(const std::string& root) {
    CMusicList entries;
    for (const char* name : {"b3乙", "a3甲", "z1Zed"}) {
        const std::string prefix(name, 1);
        std::vector<CSongPtr> songs;
        for (int i = 1; i <= name[1] - '0'; ++i) {
            const std::string title = prefix + std::to_string(i);
            songs.push_back(MakeSong(title, "", 60, i, root + "/" + prefix, title + ".mp3", 1000));
        }
        entries.AddTail(MakeEntry(name + 2, "", root + "/" + prefix, prefix + ".m3u", songs));
    }
    return entries;
}

// Steps on the playlist pane: c<row> click, D Down, P Page Down, E End,
// H Home, S title sort, R redraw, X click below the rows.
void Run(CShownLibrary& shown, const char* steps) {
    const std::map<char, Qt::Key> keys = {
        {'D', Qt::Key_Down}, {'P', Qt::Key_PageDown}, {'E', Qt::Key_End}, {'H', Qt::Key_Home}};
    for (const char* step = steps; *step != '\0'; ++step) {
        if (*step == 'c') {
            ClickRow(shown.playList, *++step - '0');
        } else if (keys.count(*step) != 0) {
            QTest::keyClick(shown.playList, keys.at(*step));
        } else if (*step == 'S') {
            ClickHeader(shown.playList, 0);
        } else {
            *step == 'R' ? shown.frame->RefillPanes() : ClickEmptySpace(shown.playList);
        }
    }
}

} // namespace

class ShownEntryTest : public QObject {
    Q_OBJECT
private slots:
    void EveryPathKeepsTheSongPaneOnTheHighlightedEntry();
    void SongCommandsActOnTheSongTheUserPicked();
    void PlayCountCellShowsTheNewCount();
    void KeysMoveBetweenThePanesAndPlay();
};

void ShownEntryTest::EveryPathKeepsTheSongPaneOnTheHighlightedEntry() {
    const struct {
        const char* steps;
        const char* title;
        const char* songs;
    } cases[] = {{"c1Dc1", "乙", "b1 b2 b3"}, {"c1S", "乙", "b1 b2 b3"},
                 {"c1P", "Zed", "z1"},        {"c2EH", "所有歌曲", "b1 b2 b3 a1 a2 a3 z1"},
                 {"c2R", "甲", "a1 a2 a3"},   {"c2X", "甲", "a1 a2 a3"}};
    for (const auto& c : cases) {
        CShownLibrary shown;
        QVERIFY(shown.Show(ThreeEntries(shown.library.Dir().Path())));
        Run(shown, c.steps);
        const int row = shown.frame->m_pManager->currentRow;
        QVERIFY2(shown.playList->SelectedRows() == std::vector<int>({row}), c.steps);
        QVERIFY2(shown.playList->ItemText(row, 0) == QString::fromUtf8(c.title), c.steps);
        QVERIFY2(shown.Titles().join(' ') == QLatin1String(c.songs), c.steps);
    }
}

void ShownEntryTest::SongCommandsActOnTheSongTheUserPicked() {
    for (const char* steps : {"c1Dc1", "c1S"}) {
        CShownLibrary shown;
        QVERIFY(shown.Show(ThreeEntries(shown.library.Dir().Path())));
        Run(shown, steps);
        ClickRow(shown.songs, 2);
        QVERIFY2(shown.songs->ItemText(2, 0) == QStringLiteral("b3"), steps);
        QTest::keyClick(shown.songs, Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(shown.platform.openedPaths,
                 std::vector<std::string>({shown.library.Path("b/b3.mp3")}));
        shown.platform.answers.push_back(CAnswer::Ok);
        QTest::keyClick(shown.songs, Qt::Key_Delete);
        QCOMPARE(shown.platform.MessageTexts(),
                 std::vector<std::string>({"确定要在当前曲目中移去\"b3\"? (不会删除该音乐文件)"}));
        CMusicManager* manager = shown.frame->m_pManager;
        QVERIFY2(manager->entries.GetAt(manager->currentRow)->songs.GetCount() == 2, steps);
        QCOMPARE(shown.Titles(), QStringList({"b1", "b2"}));
    }
}

void ShownEntryTest::PlayCountCellShowsTheNewCount() {
    CShownLibrary shown;
    QVERIFY(shown.Show(ThreeEntries(shown.library.Dir().Path())));
    QSignalSpy redrawn(shown.playList->model(), &QAbstractItemModel::dataChanged);
    ClickRow(shown.playList, 2);
    QTest::keyClick(shown.playList, Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(shown.playList->ItemText(2, 6), QStringLiteral("1"));
    bool cellRedrawn = false;
    for (const QList<QVariant>& signal : redrawn) {
        const auto from = signal.at(0).value<QModelIndex>();
        const auto to = signal.at(1).value<QModelIndex>();
        cellRedrawn |= from.row() <= 2 && to.row() >= 2 && from.column() <= 6 && to.column() >= 6;
    }
    QVERIFY(cellRedrawn);
}

void ShownEntryTest::KeysMoveBetweenThePanesAndPlay() {
    CShownLibrary shown;
    QVERIFY(shown.Show(ThreeEntries(shown.library.Dir().Path())));
    shown.frame->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(shown.frame.get()));
    ClickRow(shown.playList, 2);
    QTest::keyClick(shown.playList, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(shown.songs));
    QTest::keyClick(shown.songs, Qt::Key_Down);
    QTest::keyClick(shown.songs, Qt::Key_Return);
    QCOMPARE(shown.platform.openedPaths,
             std::vector<std::string>({shown.library.Path("a/a2.mp3")}));
    const std::pair<Qt::Key, QWidget*> switches[] = {
        {Qt::Key_Backtab, shown.playList}, {Qt::Key_F6, shown.songs}, {Qt::Key_F6, shown.playList}};
    for (const auto& [key, focused] : switches) {
        QTest::keyClick(QApplication::focusWidget(), key);
        QVERIFY2(QApplication::focusWidget() == focused, qPrintable(QKeySequence(key).toString()));
    }
    QTest::keyClick(shown.playList, Qt::Key_Enter); // plays the entry, as a double click does
    QCOMPARE(shown.frame->m_pManager->entries.GetAt(2)->playCount, 1);
}

QTEST_MAIN(ShownEntryTest)
#include "ShownEntryTest.moc"
