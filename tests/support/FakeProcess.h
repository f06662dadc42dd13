#pragma once

// A scripted process seam for tests: it records every program started, every
// pause and the current folder instead of touching the real process, and
// hands out scripted child programs whose output the test writes.

#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/Process.h"

namespace tintwright::testing {

struct ProgramStarted {
    std::string file;
    std::vector<std::string> arguments;
    std::string directory;
};

// One child program as the test plays it: what it was sent, and what it
// says and does next.
struct FakeChild {
    std::string file;
    std::vector<std::string> arguments;
    // --- What the logic did ---------------------------------------------------
    std::vector<std::uint8_t> input;  // every byte written to it
    bool inputClosed = false;
    bool killed = false;
    bool destroyed = false;  // the logic let go of it
    // --- What the program does --------------------------------------------------
    std::vector<std::uint8_t> output;  // read from the front
    // How many more bytes its input takes before it is full.
    std::size_t inputRoom = std::numeric_limits<std::size_t>::max();
    std::optional<std::string> ended;  // set: it has ended so
    std::string writeFailure;          // set: every write fails so

    void Say(const std::vector<std::uint8_t>& bytes) {
        output.insert(output.end(), bytes.begin(), bytes.end());
    }
};

class FakeProcess final : public Process {
public:
    // --- What the logic did ---------------------------------------------------
    std::vector<ProgramStarted> programsStarted;
    std::vector<std::shared_ptr<FakeChild>> children;
    std::vector<int> sleeps;
    std::string currentDirectory;

    // --- The world outside ------------------------------------------------------
    std::string executablePath = "/opt/tintwright/tintwright";
    // Empty when programs start; otherwise the reason every start fails with.
    std::string startProgramFailure;
    std::string startChildFailure;

    std::string ExecutablePath() override { return executablePath; }
    FileOutcome StartProgram(const std::string& file, const std::vector<std::string>& arguments,
                             const std::string& directory) override;
    Result<std::unique_ptr<ChildProcess>> StartChild(const std::string& file,
                                                     const std::vector<std::string>& arguments) override;
    bool SetCurrentDirectory(const std::string& directory) override;
    void Sleep(int milliseconds) override { sleeps.push_back(milliseconds); }
};

}  // namespace tintwright::testing
