// The check boxes of the formats read through TagLib (flac, ogg, opus, m4a,
// ape, wv): off in a new configuration, whose file keeps its ten rows, and
// switched on as extra rows of the type table.
#include "GuiHelpers.h"
#include "app/SettingsDlg.h"
#include "formats/AppConfig.h"
#include "support/TempDir.h"

#include <QCheckBox>
#include <QTest>

class SettingsFileTypesTest : public QObject {
    Q_OBJECT
private slots:
    void ExtraTypesAreOffInANewConfigurationAndAddRowsWhenTicked();
};

void SettingsFileTypesTest::ExtraTypesAreOffInANewConfigurationAndAddRowsWhenTicked() {
    CTempDir dir;
    CAppConfig config;
    config.SetDefaults();
    QVERIFY(WriteConfigFile(dir.File("new.ini"), config));
    QVERIFY(dir.Read("new.ini").find("SupportedFileTypeCount = 10;\nmp3") != std::string::npos);

    CSettingsDlg dialog;
    dialog.CopyFromConfig(config);
    QStringList shownChecked;
    WhenShown<CSettingsDlg>([&](CSettingsDlg* shown) {
        for (const char* type : {"flac", "ogg", "opus", "m4a", "ape", "wv"}) {
            auto* box = shown->findChild<QCheckBox*>(QString("type_") + type);
            QVERIFY2(box != nullptr && box->text() == type, type);
            if (box->isChecked()) {
                shownChecked << type;
            }
        }
        shown->findChild<QCheckBox*>("type_opus")->setChecked(true);
        shown->findChild<QCheckBox*>("type_flac")->setChecked(true);
        shown->accept();
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QVERIFY(shownChecked.isEmpty());
    dialog.CopyToConfig(config);
    QVERIFY(config.IsSupportedExtension("flac") && config.IsSupportedExtension("opus"));
    QVERIFY(!config.IsSupportedExtension("ogg"));

    // The rows go into the file after the ten and come back from it; a box
    // cleared later keeps its row, switched off.
    QVERIFY(WriteConfigFile(dir.File("Cricklet.ini"), config));
    CAppConfig reread;
    QVERIFY(ReadConfigFile(dir.File("Cricklet.ini"), reread));
    CSettingsDlg again;
    again.CopyFromConfig(reread);
    QCOMPARE(again.flac + again.opus + again.ogg + again.m4a + again.ape + again.wv, 2);
    again.flac = 0;
    again.CopyToConfig(reread);
    QCOMPARE(reread.fileTypes.size(), size_t(12));
    QCOMPARE(reread.fileTypes[10].extension + "=" + std::to_string(reread.fileTypes[10].enabled),
             std::string("flac=0"));
    QCOMPARE(reread.fileTypes[11].extension, std::string("opus"));
}

QTEST_MAIN(SettingsFileTypesTest)
#include "SettingsFileTypesTest.moc"
