#pragma once

// bsnes v115's ".bsz": a zip of every state of one game ("Quick/Slot 1.bst",
// "Managed/...", ...), each member a ".bst" file. bsnes rewrites the archive on
// every save with the state just saved as its last member, so that one is read.

#include "capture/Bytes.h"
#include "capture/Capture.h"

namespace tintwright {

Result<Capture> ReadBsnesStateArchive(capture::Bytes archive);

}  // namespace tintwright
