// Runs a program of this project as a user would, with its output caught.
#pragma once

#include <string>
#include <vector>

struct CProgramRun {
    int exitCode = -1; // -1 when it did not end by itself within the time given
    std::string out;
    std::string err;
};

// Runs program with the arguments; one that runs longer than timeoutSeconds
// (it hangs) is killed and reported with exitCode -1.
CProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                       int timeoutSeconds = 60);
