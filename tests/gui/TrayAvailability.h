// Decides for a test's scope whether the desktop has a notification area
// (the offscreen desktop has none); Set makes one come or go.
#pragma once

#include "desktop/SystemTray.h"

#include <memory>

class CTrayAvailability {
public:
    explicit CTrayAvailability(bool available) : m_available(std::make_shared<bool>(available)) {
        CSystemTray::SetAvailabilityCheck([shared = m_available] { return *shared; });
    }
    ~CTrayAvailability() { CSystemTray::SetAvailabilityCheck(nullptr); }
    void Set(bool available) { *m_available = available; }

private:
    std::shared_ptr<bool> m_available;
};
