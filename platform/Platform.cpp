#include "platform/Platform.h"

#include "platform/ConsolePlatform.h"

#include <atomic>
#include <iostream>

const char* const kAppTitle = "Cricklet";

namespace {

std::atomic<CPlatform*> installedPlatform{nullptr};

} // namespace

CPlatform& Platform() {
    CPlatform* platform = installedPlatform.load();
    if (platform != nullptr) {
        return *platform;
    }
    static CConsolePlatform console(std::cout);
    return console;
}

void SetPlatform(CPlatform* platform) {
    installedPlatform.store(platform);
}
