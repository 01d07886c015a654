#include "app/SettingsDlg.h"

#include "app/FileDialogs.h"
#include "formats/AppConfig.h"
#include "platform/Platform.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <iterator>

namespace {

const char* const kNoPlayerMessage = "请点击\"浏览\"选择一个应用程序做为音乐播放器，或是选择"
                                     "\"使用系统默认播放器\"";
const char* const kRangeMessage = "请输入一个介于 0 和 10000 之间的整数。";
const char* const kNoIntervalMessage =
    "视力保护提示的间隔至少为 1 分钟：请输入 1 到 10000 之间的分钟数，或者不启用视力保护提示。";

QCheckBox* MakeCheckBox(const char* text, const char* name) {
    auto* box = new QCheckBox(QString::fromUtf8(text));
    box->setObjectName(QString::fromUtf8(name));
    return box;
}

// True when a row of this extension enables it (only the value 1 does).
bool IsTypeEnabled(const CAppConfig& config, const std::string& extension) {
    for (const FileTypeEntry& row : config.fileTypes) {
        if (row.extension == extension && row.enabled == 1) {
            return true;
        }
    }
    return false;
}

// Changes the rows of an extension only when the flag differs from what they
// say, so a dialog closed without changes leaves the table as it was.
void StoreTypeFlag(CAppConfig& config, const std::string& extension, bool enabled) {
    if (IsTypeEnabled(config, extension) == enabled) {
        return;
    }
    bool found = false;
    for (FileTypeEntry& row : config.fileTypes) {
        if (row.extension == extension) {
            row.enabled = enabled ? 1 : 0;
            found = true;
        }
    }
    if (!found) {
        config.fileTypes.push_back(FileTypeEntry{extension, 1});
    }
}

void CheckButton(QButtonGroup* group, int id) {
    for (QAbstractButton* button : group->buttons()) {
        button->setAutoExclusive(false);
        button->setChecked(group->id(button) == id);
        button->setAutoExclusive(true);
    }
}

} // namespace

CSettingsDlg::CSettingsDlg(QWidget* parent)
    : QDialog(parent),
      m_types{{"mp3", &CSettingsDlg::mp3, nullptr},   {"mpga", &CSettingsDlg::mpga, nullptr},
              {"rm", &CSettingsDlg::rm, nullptr},     {"ra", &CSettingsDlg::ra, nullptr},
              {"ram", &CSettingsDlg::ram, nullptr},   {"mid", &CSettingsDlg::mid, nullptr},
              {"midi", &CSettingsDlg::midi, nullptr}, {"wav", &CSettingsDlg::wav, nullptr},
              {"wma", &CSettingsDlg::wma, nullptr},   {"voc", &CSettingsDlg::voc, nullptr},
              {"flac", &CSettingsDlg::flac, nullptr}, {"ogg", &CSettingsDlg::ogg, nullptr},
              {"opus", &CSettingsDlg::opus, nullptr}, {"m4a", &CSettingsDlg::m4a, nullptr},
              {"ape", &CSettingsDlg::ape, nullptr},   {"wv", &CSettingsDlg::wv, nullptr}} {
    setWindowTitle(QStringLiteral("Cricklet 功能设置"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CSettingsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSettingsDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakePlayerGroup());
    layout->addWidget(MakeFunctionGroup());
    layout->addWidget(MakeTypeGroup());
    layout->addWidget(MakeLookGroup());
    layout->addWidget(buttons);

    connect(m_useDefaultPlayer, &QCheckBox::clicked, this, &CSettingsDlg::ApplyEnablingRule);
    connect(m_eyeProtector, &QCheckBox::clicked, this, &CSettingsDlg::ApplyEnablingRule);
    connect(m_browse, &QPushButton::clicked, this, &CSettingsDlg::Browse);
}

QWidget* CSettingsDlg::MakePlayerGroup() {
    m_useDefaultPlayer = MakeCheckBox("使用系统默认播放器", "useDefaultPlayer");
    m_playerPath = new QLineEdit;
    m_playerPath->setObjectName(QStringLiteral("playerPath"));
    m_playerPath->setReadOnly(true); // chosen with the browse button only
    m_browse = new QPushButton(QStringLiteral("浏览.."));
    m_browse->setObjectName(QStringLiteral("browse"));

    auto* group = new QGroupBox(QStringLiteral("播放器"));
    auto* grid = new QGridLayout(group);
    grid->addWidget(m_useDefaultPlayer, 0, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("自选播放器路径(推荐使用Winamp,MediaPlayer)")), 1, 0,
                    1, 2);
    grid->addWidget(m_playerPath, 2, 0);
    grid->addWidget(m_browse, 2, 1);
    return group;
}

QWidget* CSettingsDlg::MakeFunctionGroup() {
    m_importDirs = MakeCheckBox("从文件夹导入音乐时将子文件夹导成曲目", "importDirs");
    m_hideWhenMin = MakeCheckBox("最小化时在任务栏里隐藏", "hideWhenMin");
    m_exitAlert = MakeCheckBox("退出时显示提示对话框", "exitAlert");
    m_eyeProtector = MakeCheckBox("启用视力保护提示", "eyeProtector");
    m_eyeDelay = new QLineEdit;
    m_eyeDelay->setObjectName(QStringLiteral("eyeDelay"));
    m_eyeDelay->setValidator(new QIntValidator(0, kMaxEyeDelay, m_eyeDelay));
    m_eyeDelay->setMaximumWidth(70);

    auto* eyeRow = new QHBoxLayout;
    eyeRow->addWidget(m_eyeProtector);
    eyeRow->addWidget(new QLabel(QStringLiteral("提示间隔:")));
    eyeRow->addWidget(m_eyeDelay);
    eyeRow->addWidget(new QLabel(QStringLiteral("分钟")));
    eyeRow->addStretch(1);

    auto* group = new QGroupBox(QStringLiteral("功能"));
    auto* column = new QVBoxLayout(group);
    column->addWidget(m_importDirs);
    column->addWidget(m_hideWhenMin);
    column->addWidget(m_exitAlert);
    column->addLayout(eyeRow);
    return group;
}

QWidget* CSettingsDlg::MakeTypeGroup() {
    auto* group = new QGroupBox(QStringLiteral("导入的音乐文件格式"));
    auto* grid = new QGridLayout(group);
    const int specified = 10; // two rows of five; the other formats in a third row
    for (int i = 0; i < static_cast<int>(std::size(m_types)); ++i) {
        const std::string name = std::string("type_") + m_types[i].extension;
        m_types[i].box = MakeCheckBox(m_types[i].extension, name.c_str());
        if (i < specified) {
            grid->addWidget(m_types[i].box, i / 5, i % 5);
        } else {
            grid->addWidget(m_types[i].box, 2, i - specified);
        }
    }
    return group;
}

QWidget* CSettingsDlg::MakeLookGroup() {
    m_bugColor = new QButtonGroup(this);
    m_musicIcon = new QButtonGroup(this);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("曲目虫子颜色: ")), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("音乐图标:")), 1, 0);
    const char* const colours[] = {"红色", "绿色", "黄色"};
    const char* const colourNames[] = {"bugRed", "bugGreen", "bugYellow"};
    for (int i = 0; i < 3; ++i) {
        auto* radio = new QRadioButton(QString::fromUtf8(colours[i]));
        radio->setObjectName(QString::fromUtf8(colourNames[i]));
        m_bugColor->addButton(radio, i);
        grid->addWidget(radio, 0, i + 1);
    }
    const char* const icons[] = {"蓝色乐符", "绿色蜥蜴"};
    const char* const iconNames[] = {"musicNote", "musicLizard"};
    for (int i = 0; i < 2; ++i) {
        auto* radio = new QRadioButton(QString::fromUtf8(icons[i]));
        radio->setObjectName(QString::fromUtf8(iconNames[i]));
        m_musicIcon->addButton(radio, i);
        grid->addWidget(radio, 1, i + 1);
    }
    auto* group = new QGroupBox(QStringLiteral("外观"));
    group->setLayout(grid);
    return group;
}

void CSettingsDlg::CopyFromConfig(const CAppConfig& config) {
    useDefaultPlayer = config.IsUseDefaultPlayer;
    playerPath = config.PlayerPath;
    importDirs = config.IsImportDir;
    exitAlert = config.IsExitAlert;
    musicIcon = config.IconMusicID - 1;
    bugColor = config.IconPlaylistID - 1;
    for (const TypeBox& type : m_types) {
        this->*type.member = IsTypeEnabled(config, type.extension) ? 1 : 0;
    }
    hideWhenMin = config.IsHideWhenMin;
    eyeProtector = config.EnableEyeProtector;
    eyeDelay = config.DelayOfEyeProtector;
}

void CSettingsDlg::CopyToConfig(CAppConfig& config) const {
    config.IsUseDefaultPlayer = useDefaultPlayer;
    config.PlayerPath = playerPath;
    config.IsImportDir = importDirs;
    config.IsExitAlert = exitAlert;
    config.IconMusicID = musicIcon + 1;
    config.IconPlaylistID = bugColor + 1;
    for (const TypeBox& type : m_types) {
        StoreTypeFlag(config, type.extension, this->*type.member != 0);
    }
    config.IsHideWhenMin = hideWhenMin;
    // An interval below one minute cannot remind; it switches the reminder off.
    config.EnableEyeProtector = eyeDelay < 1 ? 0 : eyeProtector;
    config.DelayOfEyeProtector = eyeDelay;
}

int CSettingsDlg::exec() {
    CopyMembersToControls();
    ApplyEnablingRule();
    return QDialog::exec();
}

void CSettingsDlg::accept() {
    if (!CopyControlsToMembers()) {
        return;
    }
    // A reminder every 0 minutes cannot be kept; the user is told rather than
    // finding the reminder silently off.
    if (eyeProtector != 0 && eyeDelay < 1) {
        Platform().ShowMessage(kNoIntervalMessage, kAppTitle, CMessageIcon::Information);
        m_eyeDelay->setFocus();
        m_eyeDelay->selectAll();
        return;
    }
    if (useDefaultPlayer == 0 && playerPath.empty()) {
        Platform().ShowMessage(kNoPlayerMessage, kAppTitle, CMessageIcon::Information);
        return;
    }
    QDialog::accept();
}

bool CSettingsDlg::CopyControlsToMembers() {
    useDefaultPlayer = m_useDefaultPlayer->isChecked() ? 1 : 0;
    playerPath = m_playerPath->text().toStdString();
    importDirs = m_importDirs->isChecked() ? 1 : 0;
    exitAlert = m_exitAlert->isChecked() ? 1 : 0;
    hideWhenMin = m_hideWhenMin->isChecked() ? 1 : 0;
    eyeProtector = m_eyeProtector->isChecked() ? 1 : 0;
    // A group with no radio chosen (a setting outside the offered values)
    // keeps its value.
    if (m_bugColor->checkedId() >= 0) {
        bugColor = m_bugColor->checkedId();
    }
    if (m_musicIcon->checkedId() >= 0) {
        musicIcon = m_musicIcon->checkedId();
    }
    for (const TypeBox& type : m_types) {
        this->*type.member = type.box->isChecked() ? 1 : 0;
    }
    bool isNumber = false;
    const int delay = m_eyeDelay->text().trimmed().toInt(&isNumber);
    if (!isNumber || delay < 0 || delay > kMaxEyeDelay) {
        Platform().ShowMessage(kRangeMessage, kAppTitle, CMessageIcon::Warning);
        m_eyeDelay->setFocus();
        m_eyeDelay->selectAll();
        return false;
    }
    eyeDelay = delay;
    return true;
}

void CSettingsDlg::CopyMembersToControls() {
    m_useDefaultPlayer->setChecked(useDefaultPlayer != 0);
    m_playerPath->setText(QString::fromStdString(playerPath));
    m_importDirs->setChecked(importDirs != 0);
    m_exitAlert->setChecked(exitAlert != 0);
    m_hideWhenMin->setChecked(hideWhenMin != 0);
    m_eyeProtector->setChecked(eyeProtector != 0);
    m_eyeDelay->setText(QString::number(eyeDelay));
    CheckButton(m_bugColor, bugColor);
    CheckButton(m_musicIcon, musicIcon);
    for (const TypeBox& type : m_types) {
        type.box->setChecked(this->*type.member != 0);
    }
}

// The path belongs to the chosen player only; the interval to the reminder.
// The rule reads the check boxes themselves, so a half-typed interval does
// not raise the range message at every click.
void CSettingsDlg::ApplyEnablingRule() {
    const bool ownPlayer = !m_useDefaultPlayer->isChecked();
    m_browse->setEnabled(ownPlayer);
    m_playerPath->setEnabled(ownPlayer);
    m_eyeDelay->setReadOnly(!m_eyeProtector->isChecked());
}

// A Linux player is a program without an extension, most often in /usr/bin.
void CSettingsDlg::Browse() {
    CFileDialogRequest request;
    request.kind = CFileDialogRequest::OpenFile;
    request.filter = QStringLiteral("播放器程序 (*)");
    request.startFolder = QStringLiteral("/usr/bin");
    const QString path = FileDialogs().Choose(this, request);
    if (path.isEmpty()) {
        return;
    }
    // Only the path changes: the other controls keep what the user set.
    playerPath = path.toStdString();
    m_playerPath->setText(path);
}
