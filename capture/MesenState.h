#pragma once

// Mesen2's save states (".mss"): "MSS", the emulator and format versions, the
// console type (0 for the SNES), a zlib-packed picture and the ROM's name, then
// the state: a byte saying whether it is packed, and if so its size, its packed
// size and a zlib stream. The state is a list of records "key\0", a 32-bit
// little-endian size and the value; record "ppu.cgram" holds 256 little-endian
// words.

#include "capture/Bytes.h"
#include "capture/Capture.h"

namespace tintwright {

bool IsMesenState(capture::Bytes bytes);
Result<Capture> ReadMesenState(capture::Bytes bytes);

// The record walker alone, over an unpacked list of records.
Result<Capture> ReadMesenRecords(capture::Bytes records);

}  // namespace tintwright
