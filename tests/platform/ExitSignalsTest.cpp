#include "platform/ExitSignals.h"

#include <gtest/gtest.h>

#include <poll.h>

#include <csignal>

namespace {

bool Readable(int descriptor) {
    pollfd watch{descriptor, POLLIN, 0};
    return poll(&watch, 1, 0) == 1 && (watch.revents & POLLIN) != 0;
}

} // namespace

TEST(ExitSignals, EachSignalBecomesARequestInsteadOfEndingTheProcess) {
    ASSERT_TRUE(InstallExitSignalPipe());
    ASSERT_TRUE(InstallExitSignalPipe()); // a second call changes nothing
    int descriptor = ExitSignalDescriptor();
    ASSERT_GE(descriptor, 0);
    EXPECT_FALSE(Readable(descriptor));
    EXPECT_EQ(TakeExitSignal(), 0);

    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        ASSERT_EQ(std::raise(signalNumber), 0);
        EXPECT_TRUE(Readable(descriptor)) << signalNumber;
        EXPECT_EQ(TakeExitSignal(), signalNumber);
        EXPECT_FALSE(Readable(descriptor));
    }
    // Several signals before the application looks: one request, the last.
    std::raise(SIGHUP);
    std::raise(SIGTERM);
    EXPECT_EQ(TakeExitSignal(), SIGTERM);
    EXPECT_EQ(TakeExitSignal(), 0);

    UninstallExitSignalPipe();
    EXPECT_EQ(ExitSignalDescriptor() + TakeExitSignal(), -1);
    struct sigaction current {};
    sigaction(SIGTERM, nullptr, &current);
    EXPECT_EQ(current.sa_handler, SIG_DFL);
}
