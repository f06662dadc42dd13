#pragma once

// snes9x's snapshots (".000"-".009", ".frz"), already inflated from their gzip:
// "#!s9xsnp:" and a 4-digit version, then blocks of an 11-byte header ("PPU:",
// six digits or "------" with a 32-bit big-endian size, ":") and their data.
// Block PPU holds SPPU's fields in the order of snapshot.cpp's SnapPPU, every
// number big-endian; CGDATA's 256 words come after 63 bytes of earlier fields
// (64 from version 11 on, which added CGSavedByte).

#include "capture/Bytes.h"
#include "capture/Capture.h"

namespace tintwright {

bool IsSnes9xState(capture::Bytes bytes);
Result<Capture> ReadSnes9xState(capture::Bytes bytes);

}  // namespace tintwright
