// The notification-area icon of the main window: its tip, its menu (161) with
// the bold default item and the artists filled in each time it opens, and the
// double click that shows the window again.
//
// A desktop may have no notification area, or get one later: the icon then
// waits and appears when one shows up, and IsAvailable tells the frame not to
// hide the window where nobody could find it again.
#pragma once

#include <QObject>
#include <QSystemTrayIcon>

#include <functional>

class CMainFrame;
class QIcon;
class QMenu;
class QTimer;

class CSystemTray : public QObject {
    Q_OBJECT
public:
    explicit CSystemTray(QObject* parent = nullptr);
    // Removes the icon.
    ~CSystemTray() override;

    // 1 while the icon is shown in the notification area.
    int enabled = 0;
    // The menu item run by a double click and shown in bold.
    int defaultItem = 0;
    // defaultItem is a position in the menu, not a command ID.
    int defaultByPosition = 1;

    // Builds the menu (resource id) with frame as the owner of its commands
    // and shows the icon when a notification area is there. False only when
    // the menu cannot be built; a missing notification area is no failure.
    bool Create(CMainFrame* frame, const QString& tip, const QIcon& icon, int id);
    // Takes the icon out of the notification area; it stays out.
    void RemoveIcon();
    // One click of the user on the icon: 0 when iconId is not this icon's,
    // 1 otherwise. Only a double click does something.
    int OnTrayNotification(int iconId, QSystemTrayIcon::ActivationReason reason);

    // Whether the desktop has a notification area now (as last checked).
    bool IsAvailable() const { return m_available; }
    // Looks again for the notification area; shows the icon when one has
    // appeared. Runs every few seconds.
    void CheckAvailability();

    QMenu* Menu() const { return m_menu; }
    QSystemTrayIcon* Icon() const { return m_icon; }

    // How the notification area is looked for; null restores the desktop's
    // own answer. Windows tests drive both paths with it.
    static void SetAvailabilityCheck(std::function<bool()> check);

signals:
    void AvailabilityChanged(bool available);

private:
    // Before the menu opens: the current artists and the default item.
    void PrepareMenu();
    int DefaultCommand() const;

    CMainFrame* m_frame = nullptr;
    QSystemTrayIcon* m_icon = nullptr;
    QMenu* m_menu = nullptr;
    QTimer* m_watch = nullptr;
    int m_id = 0;
    bool m_available = false;
    bool m_removed = false;
};
