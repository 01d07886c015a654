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
    int descriptor = ExitSignalDescriptor();
    ASSERT_TRUE(InstallExitSignalPipe()); // a second install keeps the first pipe
    ASSERT_EQ(ExitSignalDescriptor(), descriptor);
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        ASSERT_EQ(std::raise(signalNumber), 0);
        EXPECT_TRUE(Readable(descriptor)) << signalNumber;
        EXPECT_EQ(TakeExitSignal(), signalNumber);
        EXPECT_FALSE(Readable(descriptor));
    }
    UninstallExitSignalPipe();
    EXPECT_EQ(ExitSignalDescriptor() + TakeExitSignal(), -1);
}
