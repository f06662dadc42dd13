#pragma once

// Replacing a file so that a failure part-way can never destroy the old one.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace tintwright {

// Failures a test can force at the points a real disk fails: after some bytes
// of the temporary file are written, or at the final rename.
struct InjectedWriteFaults {
    std::optional<std::uint64_t> failAfterBytes;
    bool failRename = false;
};

// Writes data to a temporary file in the target's folder, flushes and closes it,
// gives it the target's permissions and renames it over the target. On any
// failure the target is left as it was and the temporary file is removed.
bool WriteFileSafely(const std::string& path, std::span<const std::uint8_t> data,
                     const InjectedWriteFaults& faults = {});

}  // namespace tintwright
