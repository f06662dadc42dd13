#pragma once

// A scripted process seam for tests: it records every program started, every
// pause and the current folder instead of touching the real process.

#include <string>
#include <vector>

#include "core/Process.h"

namespace tintwright::testing {

struct ProgramStarted {
    std::string file;
    std::vector<std::string> arguments;
    std::string directory;
};

class FakeProcess final : public Process {
public:
    // --- What the logic did ---------------------------------------------------
    std::vector<ProgramStarted> programsStarted;
    std::vector<int> sleeps;
    std::string currentDirectory;

    // --- The world outside ------------------------------------------------------
    std::string executablePath = "/opt/tintwright/tintwright";
    // Empty when programs start; otherwise the reason every start fails with.
    std::string startProgramFailure;

    std::string ExecutablePath() override { return executablePath; }
    FileOutcome StartProgram(const std::string& file, const std::vector<std::string>& arguments,
                             const std::string& directory) override;
    bool SetCurrentDirectory(const std::string& directory) override;
    void Sleep(int milliseconds) override { sleeps.push_back(milliseconds); }
};

}  // namespace tintwright::testing
