#include "core/WebAddresses.h"

#include "formats/HtmlExport.h"
#include "formats/PathFunctions.h"

#ifndef CRICKLET_HOMEPAGE_URL
#define CRICKLET_HOMEPAGE_URL ""
#endif
#ifndef CRICKLET_DOWNLOAD_URL
#define CRICKLET_DOWNLOAD_URL ""
#endif
#ifndef CRICKLET_FEEDBACK_ADDRESS
#define CRICKLET_FEEDBACK_ADDRESS ""
#endif

namespace {

const char* const kHelpPage = "Help/ckhelp.htm";

std::string AddressOrHelp(const std::string& address, const std::string& workDirectory) {
    return address.empty() ? HelpPagePath(workDirectory) : address;
}

} // namespace

std::string HelpPagePath(const std::string& workDirectory) {
    std::string own = JoinPath(workDirectory, kHelpPage);
    if (!workDirectory.empty() && FileExists(own)) {
        return own;
    }
    return JoinPath(InstalledDataFolder(), kHelpPage);
}

std::string HomepageUrl() {
    return CRICKLET_HOMEPAGE_URL;
}

std::string DownloadUrl() {
    return CRICKLET_DOWNLOAD_URL;
}

std::string FeedbackAddress() {
    return CRICKLET_FEEDBACK_ADDRESS;
}

std::string HomepageTarget(const std::string& workDirectory) {
    return AddressOrHelp(HomepageUrl(), workDirectory);
}

std::string DownloadTarget(const std::string& workDirectory) {
    return AddressOrHelp(DownloadUrl(), workDirectory);
}
