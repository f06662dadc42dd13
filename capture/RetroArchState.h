#pragma once

// RetroArch's save states ("GAME.state", "GAME.state1", ..., "GAME.state.auto").
//
// RetroArch 1.9.1 and later wrap the core's retro_serialize bytes: "RASTATE"
// and a version byte 1, then blocks of a 4-byte id, a 32-bit little-endian
// size and the payload padded to 8 bytes. "MEM " holds the core's state,
// "ACHV" (achievements) and "RPLY" (a replay) may stand beside it, "END "
// ends the file. Older versions wrote the core's bytes bare, which the core's
// own reader takes as they are.
//
// With savestate_file_compression (the default) the file is RZIP: "#RZIPv",
// version 1, "#", the 32-bit size of a chunk once inflated and the 64-bit
// size of the whole, then the chunks, each a 32-bit size and a zlib stream.
//
// Inside, the states of the libretro cores whose layout the other readers
// know: bsnes-mercury and higan v094, bsnes v115 (both "BST1") and snes9x
// (its freeze format without gzip). The CoreState handed out is the core's
// bytes alone, as retro_unserialize takes them.

#include "capture/Bytes.h"
#include "capture/Capture.h"

namespace tintwright {

bool IsRetroArchState(capture::Bytes bytes);
Result<Capture> ReadRetroArchState(capture::Bytes bytes);

}  // namespace tintwright
