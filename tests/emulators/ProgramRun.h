#pragma once

// Runs a program the way a user's shell would and keeps what it printed on
// standard output; standard error goes to the test's log.

#include <string>
#include <vector>

namespace tintwright::test {

struct ProgramRun {
    int exitCode = -1;  // -1 when the program did not end by itself
    int signal = 0;     // the signal that ended it, if one did
    std::string output;
};

ProgramRun RunProgram(const std::vector<std::string>& arguments);

}  // namespace tintwright::test
