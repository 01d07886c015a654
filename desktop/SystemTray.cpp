#include "desktop/SystemTray.h"

#include "app/CommandTable.h"
#include "app/MainFrame.h"

#include <QAction>
#include <QMenu>
#include <QTimer>

namespace {

// A tray that comes or goes (a panel restarted) is noticed within this time.
const int kWatchIntervalMs = 2000;

std::function<bool()>& AvailabilityCheck() {
    static std::function<bool()> check;
    return check;
}

bool TrayIsAvailable() {
    const auto& check = AvailabilityCheck();
    return check ? check() : QSystemTrayIcon::isSystemTrayAvailable();
}

} // namespace

void CSystemTray::SetAvailabilityCheck(std::function<bool()> check) {
    AvailabilityCheck() = std::move(check);
}

CSystemTray::CSystemTray(QObject* parent) : QObject(parent) {}

CSystemTray::~CSystemTray() {
    RemoveIcon();
    delete m_menu;
}

bool CSystemTray::Create(CMainFrame* frame, const QString& tip, const QIcon& icon, int id) {
    m_frame = frame;
    m_id = id;
    m_menu = CreateMenuResource(id, *frame, nullptr);
    if (m_menu == nullptr || m_menu->actions().isEmpty()) {
        return false;
    }
    connect(m_menu, &QMenu::aboutToShow, this, &CSystemTray::PrepareMenu);
    m_icon = new QSystemTrayIcon(icon, this);
    m_icon->setToolTip(tip);
    m_icon->setContextMenu(m_menu);
    connect(m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) { OnTrayNotification(m_id, reason); });
    m_watch = new QTimer(this);
    connect(m_watch, &QTimer::timeout, this, &CSystemTray::CheckAvailability);
    m_watch->start(kWatchIntervalMs);
    CheckAvailability();
    return true;
}

void CSystemTray::CheckAvailability() {
    if (m_removed || m_icon == nullptr) {
        return;
    }
    const bool available = TrayIsAvailable();
    if (available == m_available) {
        return;
    }
    m_available = available;
    m_icon->setVisible(available);
    enabled = available ? 1 : 0;
    emit AvailabilityChanged(available);
}

void CSystemTray::RemoveIcon() {
    m_removed = true;
    if (m_watch != nullptr) {
        m_watch->stop();
    }
    if (enabled != 0) {
        m_icon->hide();
        enabled = 0;
    }
}

int CSystemTray::OnTrayNotification(int iconId, QSystemTrayIcon::ActivationReason reason) {
    if (iconId != m_id || m_frame == nullptr) {
        return 0;
    }
    // The right button opens the menu through the icon itself; single and
    // middle clicks do nothing.
    if (reason == QSystemTrayIcon::DoubleClick) {
        m_frame->ExecuteCommand(DefaultCommand());
    }
    return 1;
}

int CSystemTray::DefaultCommand() const {
    if (defaultByPosition == 0) {
        return defaultItem;
    }
    const QList<QAction*> items = m_menu->actions();
    if (defaultItem < 0 || defaultItem >= items.size()) {
        return 0;
    }
    return items.at(defaultItem)->data().toInt();
}

void CSystemTray::PrepareMenu() {
    m_frame->FillArtistMenu(CMainFrame::ArtistSubmenu(m_menu));
    QAction* item = nullptr;
    if (defaultByPosition != 0) {
        if (defaultItem >= 0 && defaultItem < m_menu->actions().size()) {
            item = m_menu->actions().at(defaultItem);
        }
    } else {
        for (QAction* action : m_menu->actions()) {
            if (action->data().toInt() == defaultItem) {
                item = action;
            }
        }
    }
    m_menu->setDefaultAction(item);
}
