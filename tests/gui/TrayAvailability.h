// Decides for the scope of a test whether the desktop has a notification
// area (the offscreen desktop has none), for windows created in that scope.
#pragma once

#include "desktop/SystemTray.h"

#include <memory>

class CTrayAvailability {
public:
    explicit CTrayAvailability(bool available) : m_available(std::make_shared<bool>(available)) {
        std::shared_ptr<bool> shared = m_available;
        CSystemTray::SetAvailabilityCheck([shared] { return *shared; });
    }
    ~CTrayAvailability() { CSystemTray::SetAvailabilityCheck(nullptr); }
    CTrayAvailability(const CTrayAvailability&) = delete;
    CTrayAvailability& operator=(const CTrayAvailability&) = delete;

    // The notification area comes or goes; a tray icon notices at its next look.
    void Set(bool available) { *m_available = available; }

private:
    std::shared_ptr<bool> m_available;
};
