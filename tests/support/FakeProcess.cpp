#include "tests/support/FakeProcess.h"

#include <algorithm>

namespace tintwright::testing {
namespace {

class ScriptedChild final : public ChildProcess {
public:
    explicit ScriptedChild(std::shared_ptr<FakeChild> child) : child_(std::move(child)) {}
    ~ScriptedChild() override { child_->destroyed = true; }

    Result<std::size_t> WriteSome(std::span<const std::uint8_t> bytes) override {
        if (!child_->writeFailure.empty()) return Result<std::size_t>::Failed(child_->writeFailure);
        if (child_->inputClosed) return Result<std::size_t>::Failed("its input is closed");
        const std::size_t taken = std::min(bytes.size(), child_->inputRoom);
        child_->input.insert(child_->input.end(), bytes.begin(), bytes.begin() + taken);
        child_->inputRoom -= taken;
        return taken;
    }

    Result<std::size_t> ReadSome(std::span<std::uint8_t> bytes) override {
        const std::size_t got = std::min(bytes.size(), child_->output.size());
        std::copy_n(child_->output.begin(), got, bytes.begin());
        child_->output.erase(child_->output.begin(), child_->output.begin() + got);
        return got;
    }

    void CloseInput() override { child_->inputClosed = true; }
    std::optional<std::string> Ended() override { return child_->ended; }

    void Kill() override {
        child_->killed = true;
        if (!child_->ended) child_->ended = "was ended by signal 9 (Killed)";
    }

private:
    std::shared_ptr<FakeChild> child_;
};

}  // namespace

FileOutcome FakeProcess::StartProgram(const std::string& file, const std::vector<std::string>& arguments,
                                      const std::string& directory) {
    programsStarted.push_back({file, arguments, directory});
    return startProgramFailure.empty() ? FileOutcome::Done() : FileOutcome::Failed(startProgramFailure);
}

Result<std::unique_ptr<ChildProcess>> FakeProcess::StartChild(const std::string& file,
                                                              const std::vector<std::string>& arguments) {
    if (!startChildFailure.empty()) return Result<std::unique_ptr<ChildProcess>>::Failed(startChildFailure);
    auto child = std::make_shared<FakeChild>();
    child->file = file;
    child->arguments = arguments;
    children.push_back(child);
    return std::unique_ptr<ChildProcess>(std::make_unique<ScriptedChild>(child));
}

bool FakeProcess::SetCurrentDirectory(const std::string& directory) {
    currentDirectory = directory;
    return true;
}

}  // namespace tintwright::testing
