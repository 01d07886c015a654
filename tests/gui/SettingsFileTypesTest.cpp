// The check boxes of the formats read through TagLib (flac, ogg, opus, m4a,
// ape, wv): off in a new configuration, whose file keeps its ten rows, and
// switched on as extra rows of the type table.
#include "GuiHelpers.h"
#include "app/SettingsDlg.h"
#include "formats/AppConfig.h"
#include "support/TempDir.h"

#include <QCheckBox>
#include <QTest>

namespace {

std::string TypeRows(const CAppConfig& config) {
    std::string text;
    for (const FileTypeEntry& row : config.fileTypes) {
        text += row.extension + "=" + std::to_string(row.enabled) + " ";
    }
    return text;
}

const char* const kExtraTypes[] = {"flac", "ogg", "opus", "m4a", "ape", "wv"};

// Runs the dialog on config, ticks or clears the boxes named and confirms.
void TickAndConfirm(CAppConfig& config, const std::vector<std::pair<std::string, bool>>& ticks,
                    std::vector<std::string>* checkedOnShow = nullptr) {
    CSettingsDlg dialog;
    dialog.CopyFromConfig(config);
    WhenShown<CSettingsDlg>([&](CSettingsDlg* shown) {
        for (const char* type : kExtraTypes) {
            auto* box = shown->findChild<QCheckBox*>(QString("type_") + type);
            QVERIFY2(box != nullptr && box->text() == type, type);
            if (checkedOnShow != nullptr && box->isChecked()) {
                checkedOnShow->push_back(type);
            }
        }
        for (const auto& [type, on] : ticks) {
            shown->findChild<QCheckBox*>(QString::fromStdString("type_" + type))->setChecked(on);
        }
        shown->accept();
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    dialog.CopyToConfig(config);
}

} // namespace

class SettingsFileTypesTest : public QObject {
    Q_OBJECT
private slots:
    void ExtraTypesAreOffInANewConfigurationAndAddRowsWhenTicked();
};

void SettingsFileTypesTest::ExtraTypesAreOffInANewConfigurationAndAddRowsWhenTicked() {
    CTempDir dir;
    CAppConfig config;
    config.SetDefaults();
    const std::string defaults = TypeRows(config);
    std::vector<std::string> checked;
    TickAndConfirm(config, {}, &checked);
    QVERIFY(checked.empty());
    QCOMPARE(TypeRows(config), defaults);
    QVERIFY(WriteConfigFile(dir.File("Cricklet.ini"), config));
    QVERIFY(dir.Read("Cricklet.ini").find("SupportedFileTypeCount = 10;\n") != std::string::npos);

    TickAndConfirm(config, {{"opus", true}, {"flac", true}});
    QCOMPARE(TypeRows(config), defaults + "flac=1 opus=1 ");
    QVERIFY(config.IsSupportedExtension("flac") && config.IsSupportedExtension("opus"));
    QVERIFY(!config.IsSupportedExtension("ogg"));

    // Written and read back, the rows tick their boxes again; clearing one
    // keeps its row, switched off.
    QVERIFY(WriteConfigFile(dir.File("Cricklet.ini"), config));
    CAppConfig reread;
    QVERIFY(ReadConfigFile(dir.File("Cricklet.ini"), reread));
    checked.clear();
    TickAndConfirm(reread, {{"flac", false}, {"wv", true}}, &checked);
    QCOMPARE(checked, (std::vector<std::string>{"flac", "opus"}));
    QCOMPARE(TypeRows(reread), defaults + "flac=0 opus=1 wv=1 ");
    QVERIFY(!reread.IsSupportedExtension("flac"));
}

QTEST_MAIN(SettingsFileTypesTest)
#include "SettingsFileTypesTest.moc"
