// Where the help page, the product's web pages and the feedback address are:
// the web addresses are build-time settings, and a build without them opens
// the help page instead. Shared by the manager's commands and the About box.
#pragma once

#include <string>

// workDirectory/Help/ckhelp.htm when that file exists (a user's edited copy
// wins), otherwise the installed data folder's copy.
std::string HelpPagePath(const std::string& workDirectory);

// The configured web addresses; empty when the build set none.
std::string HomepageUrl();
std::string DownloadUrl();
std::string FeedbackAddress();

// What the home-page and download-page commands open: the address, or the
// help page when the build set no address.
std::string HomepageTarget(const std::string& workDirectory);
std::string DownloadTarget(const std::string& workDirectory);
