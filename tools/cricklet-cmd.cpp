// The headless command runner: starts the library in a folder exactly as the
// program does, executes one library command and saves as the program does
// at exit. Messages go to standard output, import progress to standard error.
#include "core/FrameInterface.h"
#include "core/MusicCommand.h"
#include "core/MusicManager.h"
#include "formats/HtmlExport.h"
#include "formats/PathFunctions.h"
#include "platform/ConsolePlatform.h"
#include "platform/Platform.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <mutex>
#include <string>
#include <vector>

namespace {

const char* const kUsage =
    "usage: cricklet-cmd [--dir DIR] [--row N] CODE [--int N]... [--str TEXT]...\n"
    "  --dir DIR   run in the folder DIR (its store files are read and written)\n"
    "  --row N     the playlist pane's selected row (0: all songs; default 0)\n"
    "  CODE        the library command code, e.g. 1003 to export the list\n"
    "  --int N     an integer argument, in order (negative numbers too)\n"
    "  --str TEXT  a text argument, in order\n";

// A frame without a window: the import's progress is written to standard
// error, everything else has nothing to show.
class CConsoleFrame : public CNullFrame {
public:
    void ImportShowProgress(const std::string& folder, const std::string& fileName) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        std::cerr << (fileName.empty() ? folder : folder + "/" + fileName) << '\n';
    }

private:
    std::mutex m_mutex;
};

struct CCommandLine {
    std::string folder;
    int row = 0;
    int code = 0;
    bool hasCode = false;
    std::vector<int> ints;
    std::vector<std::string> strings;
};

// A whole decimal number in the int range; nothing else.
bool ParseInt(const std::string& text, int& value) {
    if (text.empty()) {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    long number = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || errno == ERANGE || number < INT32_MIN || number > INT32_MAX ||
        std::isspace(static_cast<unsigned char>(text[0]))) {
        return false;
    }
    value = static_cast<int>(number);
    return true;
}

bool Fail(const std::string& why) {
    std::cerr << "cricklet-cmd: " << why << '\n' << kUsage;
    return false;
}

// Options take their value from the next argument (or after "="), so a value
// may itself start with "-".
bool ParseCommandLine(int argc, char** argv, CCommandLine& line) {
    for (int at = 1; at < argc; ++at) {
        std::string argument = argv[at];
        std::string option = argument;
        std::string value;
        bool hasValue = false;
        std::size_t equals = argument.find('=');
        if (argument.rfind("--", 0) == 0 && equals != std::string::npos) {
            option = argument.substr(0, equals);
            value = argument.substr(equals + 1);
            hasValue = true;
        }
        bool takesValue =
            option == "--dir" || option == "--row" || option == "--int" || option == "--str";
        if (takesValue && !hasValue) {
            if (at + 1 >= argc) {
                return Fail("missing value after " + option);
            }
            value = argv[++at];
        }
        int number = 0;
        if (option == "--dir") {
            line.folder = value;
        } else if (option == "--str") {
            line.strings.push_back(value);
        } else if (option == "--row" || option == "--int") {
            if (!ParseInt(value, number)) {
                return Fail("not a number: " + value);
            }
            if (option == "--row") {
                line.row = number;
            } else {
                line.ints.push_back(number);
            }
        } else if (argument.rfind("-", 0) == 0 && !ParseInt(argument, number)) {
            return Fail("unknown option: " + argument);
        } else if (line.hasCode) {
            return Fail("more than one command code: " + argument);
        } else if (!ParseInt(argument, line.code)) {
            return Fail("the command code is not a number: " + argument);
        } else {
            line.hasCode = true;
        }
    }
    if (!line.hasCode) {
        return Fail("no command code");
    }
    return true;
}

CMusicCommand BuildCommand(const CCommandLine& line) {
    int intCount = static_cast<int>(line.ints.size());
    int stringCount = std::max(4, static_cast<int>(line.strings.size()));
    CMusicCommand command(line.code, intCount, stringCount);
    for (int index = 0; index < intCount; ++index) {
        command.SetInt(line.ints[index], index);
    }
    for (int index = 0; index < static_cast<int>(line.strings.size()); ++index) {
        command.SetString(line.strings[index], index);
    }
    return command;
}

// The folder this program was started from, whatever the current folder is.
std::string ProgramFolder() {
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    return length > 0 ? FolderPart(std::string(path, static_cast<size_t>(length))) : std::string();
}

} // namespace

int main(int argc, char** argv) {
    CCommandLine line;
    if (!ParseCommandLine(argc, argv, line)) {
        return 2;
    }
    if (!line.folder.empty() && chdir(line.folder.c_str()) != 0) {
        std::cerr << "cricklet-cmd: " << line.folder << ": " << std::strerror(errno) << '\n';
        return 1;
    }
    FindDataFolderBesideProgram(ProgramFolder());
    CConsolePlatform console(std::cout);
    SetPlatform(&console);

    CConsoleFrame frame;
    CMusicManager manager(&frame);
    manager.Start();
    manager.currentRow = line.row;
    manager.Execute(BuildCommand(line));
    if (manager.importThread) {
        manager.importThread->Join();
    }
    bool saved = manager.Save();
    SetPlatform(nullptr);
    return saved ? 0 : 1;
}
