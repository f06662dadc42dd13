#pragma once

// Replacing a file so that a failure part-way can never destroy the old one.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace tintwright {

// How a write ended: done, or failed with the reason in the system's words,
// which the one message the user sees passes on.
class WriteOutcome {
public:
    static WriteOutcome Done() { return WriteOutcome(); }
    static WriteOutcome Failed(std::string reason) {
        WriteOutcome outcome;
        outcome.failed_ = true;
        outcome.reason_ = std::move(reason);
        return outcome;
    }
    explicit operator bool() const { return !failed_; }
    const std::string& Reason() const { return reason_; }

private:
    bool failed_ = false;
    std::string reason_;
};

// The system's text for the error number the C library left in errno.
std::string SystemErrorText(int errorNumber);

// Failures a test can force at the points a real disk fails: after some bytes
// of the temporary file are written, or at the final rename.
struct InjectedWriteFaults {
    std::optional<std::uint64_t> failAfterBytes;
    bool failRename = false;
};

// Writes data to a temporary file in the target's folder, flushes and closes it,
// gives it the target's permissions and renames it over the target. On any
// failure the target is left as it was and the temporary file is removed.
WriteOutcome WriteFileSafely(const std::string& path, std::span<const std::uint8_t> data,
                             const InjectedWriteFaults& faults = {});

}  // namespace tintwright
