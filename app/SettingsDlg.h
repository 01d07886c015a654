// The settings dialog "Cricklet 功能设置": player, import, exit question,
// imported file types, appearance and the eye-protection reminder. It edits
// its members only; the settings command copies them to and from CAppConfig.
#pragma once

#include <QDialog>

#include <string>

class CAppConfig;
class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;

class CSettingsDlg : public QDialog {
    Q_OBJECT
public:
    explicit CSettingsDlg(QWidget* parent = nullptr);

    int useDefaultPlayer = 0;
    std::string playerPath;
    int importDirs = 0;
    int exitAlert = 0;
    int musicIcon = -1; // 0 blue note, 1 green lizard, -1 none chosen
    int bugColor = -1;  // 0 red, 1 green, 2 yellow, -1 none chosen
    int mid = 0;
    int midi = 0;
    int mp3 = 0;
    int mpga = 0;
    int ra = 0;
    int ram = 0;
    int rm = 0;
    int voc = 0;
    int wav = 0;
    int wma = 0;
    // The formats read through TagLib, after the ten.
    int flac = 0;
    int ogg = 0;
    int opus = 0;
    int m4a = 0;
    int ape = 0;
    int wv = 0;
    int hideWhenMin = 0;
    int eyeProtector = 0;
    int eyeDelay = 0; // minutes

    // The settings into the members (radio index = setting - 1) and back.
    // Each type flag belongs to its own extension wherever its row stands.
    void CopyFromConfig(const CAppConfig& config);
    void CopyToConfig(CAppConfig& config) const;

    // Members to controls, then the enabling rule.
    int exec() override;
    // Refuses an interval outside 0..10000, a reminder with an interval of
    // 0, and a player setting that names no program.
    void accept() override;

    // Controls to members; false (after the range message, with the focus
    // back in the field) when the interval is not a whole number 0..10000.
    bool CopyControlsToMembers();
    void CopyMembersToControls();

    static constexpr int kMaxEyeDelay = 10000;

private:
    struct TypeBox {
        const char* extension;
        int CSettingsDlg::*member;
        QCheckBox* box;
    };

    QWidget* MakePlayerGroup();
    QWidget* MakeFunctionGroup();
    QWidget* MakeTypeGroup();
    QWidget* MakeLookGroup();
    void ApplyEnablingRule();
    void Browse();

    QCheckBox* m_useDefaultPlayer;
    QLineEdit* m_playerPath;
    QPushButton* m_browse;
    QCheckBox* m_importDirs;
    QCheckBox* m_hideWhenMin;
    QCheckBox* m_exitAlert;
    QCheckBox* m_eyeProtector;
    QLineEdit* m_eyeDelay;
    QButtonGroup* m_bugColor;
    QButtonGroup* m_musicIcon;
    TypeBox m_types[16];
};
