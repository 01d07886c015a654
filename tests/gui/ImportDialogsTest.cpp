// The import-method question and the import progress dialog: their texts,
// the stop button, and a folder import stopped at once on the real window.
#include "GuiHelpers.h"
#include "app/CommandIds.h"
#include "app/FileDialogs.h"
#include "app/ImportMethodDlg.h"
#include "app/ImportProgressDlg.h"
#include "app/MainFrame.h"
#include "core/MusicManager.h"
#include "panes/PlayListView.h"
#include "support/RecordingPlatform.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

using CWindow = CTestWindow;

void DoubleClickRow(CPlayListView* pane, int row) {
    const QRect cell = pane->visualRect(pane->model()->index(row, 0));
    QTest::mouseDClick(pane->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
}

} // namespace

class ImportDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void ProgressShowsTheTwoLinesBehindTheirLabels();
    void StopButtonCancelsTheImportAndClosesWith1010();
    void EscapeStopsLikeTheStopButton();
    void MethodDialogShowsTheChoiceAndReturnsTheOneTaken();
    void DoubleClickOnThePlaceholderStartsTheFolderImport();
    void SecondChoiceOfThePlaceholderImportsAListFile();
    void StoppingAnImportAtOnceReportsTheInterruption();
};

void ImportDialogsTest::ProgressShowsTheTwoLinesBehindTheirLabels() {
    CImportProgressDlg dialog(nullptr);
    QCOMPARE(dialog.windowTitle(), QString("Cricklet 导入音乐"));
    QCOMPARE(dialog.LocationText(), QString("导入音乐文件中..."));
    QCOMPARE(dialog.FileNameText(), QString());
    QCOMPARE(dialog.StopButton()->text(), QString("取消"));

    dialog.ShowProgress("/home/me/Music/Live", "");
    QCOMPARE(dialog.LocationText(), QString("当前位置: /home/me/Music/Live"));
    QCOMPARE(dialog.FileNameText(), QString("文件名  : "));
    dialog.ShowProgress("/home/me/Music/Live", "01 夜曲.mp3");
    QCOMPARE(dialog.FileNameText(), QString("文件名  : 01 夜曲.mp3"));

    // A path far wider than the dialog is shortened on screen, not the dialog
    // widened.
    dialog.show();
    const int width = dialog.width();
    const QString deep = QString("/very/long/folder/name").repeated(30);
    dialog.ShowProgress(deep, "song.mp3");
    QCoreApplication::processEvents();
    QCOMPARE(dialog.width(), width);
    auto* location = dialog.findChild<QLabel*>("progressLocation");
    QVERIFY(location->text() != dialog.LocationText());
    QVERIFY(location->text().startsWith(QString("当前位置: /very")));
    QVERIFY(location->text().endsWith(QString("folder/name")));
}

void ImportDialogsTest::StopButtonCancelsTheImportAndClosesWith1010() {
    CMusicManager manager(nullptr);
    manager.importThread = std::make_unique<CImportThread>(&manager, "/nowhere");
    CImportProgressDlg dialog(&manager);
    WhenShown<CImportProgressDlg>([](CImportProgressDlg* shown) { shown->StopButton()->click(); });
    QCOMPARE(dialog.exec(), 1010);
    QVERIFY(manager.importThread->cancelled);
}

void ImportDialogsTest::EscapeStopsLikeTheStopButton() {
    CMusicManager manager(nullptr);
    manager.importThread = std::make_unique<CImportThread>(&manager, "/nowhere");
    CImportProgressDlg dialog(&manager);
    WhenShown<CImportProgressDlg>(
        [](CImportProgressDlg* shown) { QTest::keyClick(shown, Qt::Key_Escape); });
    QCOMPARE(dialog.exec(), 1010);
    QVERIFY(manager.importThread->cancelled);
}

void ImportDialogsTest::MethodDialogShowsTheChoiceAndReturnsTheOneTaken() {
    CImportMethodDlg dialog;
    QCOMPARE(dialog.choice, -1);
    QCOMPARE(dialog.windowTitle(), QString("Cricklet 导入音乐方式"));
    dialog.choice = CImportMethodDlg::ChooseFolder;
    WhenShown<CImportMethodDlg>([](CImportMethodDlg* shown) {
        QVERIFY(shown->FolderRadio()->isChecked());
        QVERIFY(!shown->ListFileRadio()->isChecked());
        QCOMPARE(shown->FolderRadio()->text(), QString("选择一个文件夹导入里面的音乐文件"));
        QCOMPARE(shown->ListFileRadio()->text(), QString("导入一个现有的Cricklet音乐单(.stp)"));
        shown->ListFileRadio()->click();
        shown->accept();
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QCOMPARE(dialog.choice, int(CImportMethodDlg::ChooseListFile));

    // Cancel keeps the caller's choice.
    dialog.choice = CImportMethodDlg::ChooseFolder;
    WhenShown<CImportMethodDlg>([](CImportMethodDlg* shown) {
        QVERIFY(shown->FolderRadio()->isChecked());
        shown->ListFileRadio()->click();
        shown->reject();
    });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QCOMPARE(dialog.choice, int(CImportMethodDlg::ChooseFolder));
}

void ImportDialogsTest::DoubleClickOnThePlaceholderStartsTheFolderImport() {
    CWindow window;
    window.frame->show();
    CPlayListView* pane = window.frame->GetPlayListPane();
    QCOMPARE(pane->ItemText(0, 0), QString("导入您的音乐(请双击)"));
    WhenShown<CImportMethodDlg>([](CImportMethodDlg* shown) { shown->accept(); });
    DoubleClickRow(pane, 0);
    // The folder chooser came next (and was cancelled): nothing was asked.
    QCOMPARE(window.dialogs.requests.size(), size_t(1));
    QCOMPARE(window.dialogs.requests[0].kind, CFileDialogRequest::Folder);
    QVERIFY(window.platform.messages.empty());
}

void ImportDialogsTest::SecondChoiceOfThePlaceholderImportsAListFile() {
    CWindow window;
    window.frame->show();
    WhenShown<CImportMethodDlg>([](CImportMethodDlg* shown) {
        shown->ListFileRadio()->setChecked(true);
        shown->accept();
    });
    DoubleClickRow(window.frame->GetPlayListPane(), 0);
    QCOMPARE(window.dialogs.requests.size(), size_t(1));
    QCOMPARE(window.dialogs.requests[0].kind, CFileDialogRequest::OpenFile);
    QCOMPARE(window.dialogs.requests[0].filter, QString("Cricklet音乐单 (*.stp)"));
}

void ImportDialogsTest::StoppingAnImportAtOnceReportsTheInterruption() {
    CWindow window;
    // Far more folders and files than the worker gets through before the
    // stop button, pressed as soon as the dialog shows.
    for (int folder = 0; folder < 40; ++folder) {
        for (int file = 0; file < 100; ++file) {
            window.folder.Write("Music/f" + std::to_string(folder) + "/s" + std::to_string(file) +
                                    ".mid",
                                MidiBytes());
        }
    }
    window.dialogs.answers = {QString::fromStdString(window.folder.File("Music"))};
    bool dialogRecorded = false;
    WhenShown<CImportProgressDlg>([&window, &dialogRecorded](CImportProgressDlg* shown) {
        dialogRecorded = window.frame->m_pImportDlg == shown;
        shown->StopButton()->click();
    });
    window.frame->RunCommand(ID_IMPORT_FOLDER);
    QVERIFY(dialogRecorded);
    QVERIFY(window.frame->m_pImportDlg == nullptr);
    QVERIFY(window.frame->m_bImportFinished);
    window.Manager().importThread->Join();
    QCoreApplication::processEvents();

    const int entries = window.Manager().entries.GetCount();
    const int songs = window.Manager().songs.GetCount();
    QCOMPARE(window.platform.MessageTexts(),
             std::vector<std::string>({"导入音乐文件被中断。共导入曲目" + std::to_string(entries) +
                                       "个, 音乐文件" + std::to_string(songs) + "个。"}));
    QVERIFY(songs < 4000);
    // Whatever was imported before the stop is shown.
    QCOMPARE(window.frame->GetPlayListPane()->GetItemCount(), entries + 1);
}

QTEST_MAIN(ImportDialogsTest)
#include "ImportDialogsTest.moc"
