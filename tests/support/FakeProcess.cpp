#include "tests/support/FakeProcess.h"

namespace tintwright::testing {

FileOutcome FakeProcess::StartProgram(const std::string& file, const std::vector<std::string>& arguments,
                                      const std::string& directory) {
    programsStarted.push_back({file, arguments, directory});
    return startProgramFailure.empty() ? FileOutcome::Done() : FileOutcome::Failed(startProgramFailure);
}

bool FakeProcess::SetCurrentDirectory(const std::string& directory) {
    currentDirectory = directory;
    return true;
}

}  // namespace tintwright::testing
