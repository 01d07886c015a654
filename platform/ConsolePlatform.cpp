#include "platform/ConsolePlatform.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

CConsolePlatform::CConsolePlatform(std::ostream& out) : m_out(out) {}

void CConsolePlatform::ShowMessage(const std::string& text, const std::string&, CMessageIcon) {
    m_out << text << '\n' << std::flush;
}

CAnswer CConsolePlatform::AskOkCancel(const std::string&, const std::string&) {
    return CAnswer::Cancel;
}

CAnswer CConsolePlatform::AskYesNo(const std::string&, const std::string&) {
    return CAnswer::No;
}

CAnswer CConsolePlatform::AskYesNoCancel(const std::string&, const std::string&) {
    return CAnswer::Cancel;
}

void CConsolePlatform::OpenPath(const std::string& pathOrUrl) {
    m_out << "open: " << pathOrUrl << '\n' << std::flush;
}

void CConsolePlatform::ExploreFolder(const std::string& folder) {
    m_out << "explore: " << folder << '\n' << std::flush;
}

bool CConsolePlatform::StartProgram(const std::string& program, const std::string& argument,
                                    std::string& error) {
    return SpawnDetached(program, argument, error);
}

bool SpawnDetached(const std::string& program, const std::string& argument, std::string& error) {
    // The grandchild reports a failed exec through a close-on-exec pipe: an
    // empty read means the program is running.
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) {
        error = std::strerror(errno);
        return false;
    }
    pid_t child = fork();
    if (child < 0) {
        error = std::strerror(errno);
        close(report[0]);
        close(report[1]);
        return false;
    }
    if (child == 0) {
        setsid();
        pid_t grandchild = fork();
        if (grandchild == 0) {
            char* const argv[] = {const_cast<char*>(program.c_str()),
                                  const_cast<char*>(argument.c_str()), nullptr};
            execvp(program.c_str(), argv);
            int code = errno;
            ssize_t written = write(report[1], &code, sizeof code);
            (void)written;
            _exit(127);
        }
        _exit(grandchild < 0 ? 1 : 0);
    }
    close(report[1]);
    int status = 0;
    waitpid(child, &status, 0);
    int code = 0;
    ssize_t got = read(report[0], &code, sizeof code);
    close(report[0]);
    if (got == static_cast<ssize_t>(sizeof code)) {
        error = std::strerror(code);
        return false;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        error = "fork failed";
        return false;
    }
    return true;
}
