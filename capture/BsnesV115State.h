#pragma once

// bsnes v115's own ".bst" files: a 12-byte header (signature 0x5A220000, the
// size of the run-length coded state, the size of the run-length coded
// preview, each 32-bit little-endian), the coded state, then the preview.

#include "capture/Bytes.h"
#include "capture/Capture.h"

namespace tintwright {

bool IsBsnesV115State(capture::Bytes bytes);
Result<Capture> ReadBsnesV115State(capture::Bytes bytes);

}  // namespace tintwright
