#pragma once

// Replacing a file so that a failure part-way can never destroy the old one,
// and a finished write survives a power cut.

#include <cstdint>
#include <span>
#include <string>

#include "core/FileSystem.h"

namespace tintwright {

// Writes data to a new temporary file beside the target, syncs and closes it,
// gives it the target's permission bits and puts it in the target's place in
// one step, then syncs the folder. A target reached through a link is written
// at the link's final target, and the link stays. A target that is a folder or
// a file marked read-only is refused. Temporary files of the target left by an
// earlier write that never finished are removed first. On any failure the
// target is left as it was, the temporary file is removed, and the outcome
// says why.
FileOutcome WriteFileSafely(const std::string& path, std::span<const std::uint8_t> data);

}  // namespace tintwright
