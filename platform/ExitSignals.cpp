#include "platform/ExitSignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace {

const int kExitSignals[] = {SIGTERM, SIGINT, SIGHUP};

// Written by the handler: plain ints, read once the handler is in place.
volatile sig_atomic_t readEnd = -1;
volatile sig_atomic_t writeEnd = -1;

extern "C" void RecordExitSignal(int signalNumber) {
    int savedErrno = errno;
    unsigned char number = static_cast<unsigned char>(signalNumber);
    // A full pipe already holds a pending request; losing this byte is fine.
    ssize_t written = write(writeEnd, &number, 1);
    (void)written;
    errno = savedErrno;
}

void ClosePipe() {
    if (readEnd >= 0) {
        close(readEnd);
    }
    if (writeEnd >= 0) {
        close(writeEnd);
    }
    readEnd = -1;
    writeEnd = -1;
}

void RestoreDefaults() {
    for (int signalNumber : kExitSignals) {
        std::signal(signalNumber, SIG_DFL);
    }
}

} // namespace

bool InstallExitSignalPipe() {
    if (readEnd >= 0) {
        return true;
    }
    int ends[2];
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        return false;
    }
    readEnd = ends[0];
    writeEnd = ends[1];

    struct sigaction action {};
    action.sa_handler = RecordExitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signalNumber : kExitSignals) {
        if (sigaction(signalNumber, &action, nullptr) != 0) {
            RestoreDefaults();
            ClosePipe();
            return false;
        }
    }
    return true;
}

int ExitSignalDescriptor() {
    return readEnd;
}

int TakeExitSignal() {
    if (readEnd < 0) {
        return 0;
    }
    int last = 0;
    unsigned char number = 0;
    for (;;) {
        ssize_t got = read(readEnd, &number, 1);
        if (got == 1) {
            last = number;
            continue;
        }
        if (got < 0 && errno == EINTR) {
            continue;
        }
        return last;
    }
}

void UninstallExitSignalPipe() {
    RestoreDefaults();
    ClosePipe();
}
