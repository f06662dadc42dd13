#pragma once

// mednafen's save states (1.x, ".mc0"-".mc9", ".mca"), already inflated from
// their gzip: a 32-byte "MDFNSVST" header, a preview picture, then sections of
// named entries. Module snes_faust keeps CGRAM as entry CGRAM of section PPU;
// module snes (a bsnes v0.059 core) stores its whole serializer blob as entry
// OmniCat of section DATA, where CGRAM sits at a fixed place.

#include "capture/Bytes.h"
#include "capture/Capture.h"

namespace tintwright {

bool IsMednafenState(capture::Bytes bytes);
Result<Capture> ReadMednafenState(capture::Bytes bytes);

}  // namespace tintwright
