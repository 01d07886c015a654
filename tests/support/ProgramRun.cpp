#include "support/ProgramRun.h"

#include "support/TempDir.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

CProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                       int timeoutSeconds) {
    CTempDir outputs;
    std::string outPath = outputs.File("stdout");
    std::string errPath = outputs.File("stderr");
    std::vector<std::string> copies = arguments;
    copies.insert(copies.begin(), program);
    std::vector<char*> argv;
    for (std::string& argument : copies) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    pid_t child = fork();
    if (child == 0) {
        dup2(open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
        dup2(open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
        execv(argv[0], argv.data());
        _exit(127);
    }
    CProgramRun run;
    int status = 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    while (child > 0 && waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            status = -1;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (status != -1 && WIFEXITED(status)) {
        run.exitCode = WEXITSTATUS(status);
    }
    run.out = outputs.Read("stdout");
    run.err = outputs.Read("stderr");
    return run;
}
