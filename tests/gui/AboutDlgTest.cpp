// The About box with its link labels, the link label itself, and the lock
// that keeps a second copy from starting.
#include "app/AboutDlg.h"
#include "app/TunecaseApp.h"
#include "desktop/HyperLinkLabel.h"
#include "support/RecordingPlatform.h"
#include "support/TempDir.h"

#include <QLockFile>
#include <QtTest>

class AboutDlgTest : public QObject {
    Q_OBJECT
private slots:
    void LinkLabelOpensItsTextOnlyAsALink();
    void AboutBoxShowsItsTextsAndLinks();
    void SecondCopyFindsTheLockUntilTheFirstEnds();
};

void AboutDlgTest::LinkLabelOpensItsTextOnlyAsALink() {
    CScopedRecordingPlatform recording;
    CHyperLinkLabel web(QStringLiteral("https://cricklet.example/"));
    CHyperLinkLabel mail(QStringLiteral("mailto:someone@example.org"));
    web.show();
    mail.show();
    QVERIFY(QTest::qWaitForWindowExposed(&web));
    QTest::mouseClick(&web, Qt::LeftButton);
    QVERIFY(recording.platform.openedPaths.empty());
    QCOMPARE(web.cursor().shape(), Qt::ArrowCursor);

    web.SetLink(true).SetTextColor(QColor(0, 0, 255)).SetFontUnderline(true);
    mail.SetLink(true).SetLinkCursor(QCursor(Qt::PointingHandCursor));
    QTest::mouseClick(&web, Qt::LeftButton);
    QTest::mouseClick(&mail, Qt::LeftButton);
    QTest::mouseClick(&mail, Qt::RightButton);
    QCOMPARE(recording.platform.openedPaths,
             std::vector<std::string>({"https://cricklet.example/", "mailto:someone@example.org"}));
    QCOMPARE(web.palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QVERIFY(web.font().underline());
    QVERIFY(!mail.font().underline());
    QCOMPARE(mail.cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(web.cursor().shape(), Qt::ArrowCursor);
}

void AboutDlgTest::AboutBoxShowsItsTextsAndLinks() {
    CAboutDlg dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("关于 Cricklet"));
    QVERIFY(dialog.AboutText().startsWith(
        QStringLiteral("Cricklet(鸣蛩)提供便捷的音乐管理,强大的曲目播放方式.\n"
                       "只需使用Cricklet，一切音乐尽在掌握中！\n\n")));
    QVERIFY(dialog.AboutText().contains(QStringLiteral("\n开发人员:")));
    for (CHyperLinkLabel* label : {dialog.WebLabel(), dialog.MailLabel()}) {
        QVERIFY(label->IsLink());
        QCOMPARE(label->TextColor(), QColor(0, 0, 255));
        QVERIFY(label->font().underline());
        QCOMPARE(label->cursor().shape(), Qt::PointingHandCursor);
    }
    QCOMPARE(dialog.WebLabel()->Target(), AboutWebAddress());
    QVERIFY(!dialog.WebLabel()->text().isEmpty());
}

void AboutDlgTest::SecondCopyFindsTheLockUntilTheFirstEnds() {
    CTempDir dir;
    const QString path = QString::fromStdString(dir.File("instance.lock"));
    {
        QLockFile first(path);
        QVERIFY(AcquireInstanceLock(first));
        QLockFile second(path);
        QVERIFY(!AcquireInstanceLock(second));
    }
    QLockFile again(path);
    QVERIFY(AcquireInstanceLock(again));
    QCOMPARE(QString::fromUtf8(kAlreadyRunningText), QStringLiteral("鸣蛩(Cricklet) 已经运行了。"));
}

QTEST_MAIN(AboutDlgTest)
#include "AboutDlgTest.moc"
