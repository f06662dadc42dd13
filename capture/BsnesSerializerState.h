#pragma once

// The serializer blob of the bsnes family, which starts with "BST1": what the
// libretro bsnes-mercury core's retro_serialize returns, a higan ".bst", and
// the inside of a bsnes v115 ".bst" once its run-length code is undone.
//
// Two layouts are read. bsnes v107 and later (v115) write a 16-byte version
// text after the signature and size; with the fast PPU (bsnes's default) the
// PPU's part holds VRAM (64 KiB) followed directly by CGRAM. higan v094 and
// bsnes-mercury write a version number, a SHA-256 text, a description and a
// profile name; their PPU's part starts with VRAM (128 KiB in the Balanced
// profile, 64 KiB in the others), then OAM (544 bytes), then CGRAM.
//
// In both, the cartridge's RAM comes before the PPU and its size is written
// nowhere, so the PPU's part is found by its own fixed fields: the thread
// frequency (the CPU clock) and the scanline counters, which only take a few
// values.

#include <string_view>

#include "capture/Bytes.h"
#include "capture/Capture.h"

namespace tintwright {

bool IsBsnesSerializerState(capture::Bytes bytes);
// container names what held the blob, for the format text ("bsnes-mercury or
// higan state", "bsnes v115 .bst").
Result<Capture> ReadBsnesSerializerState(capture::Bytes blob, std::string_view container);

}  // namespace tintwright
