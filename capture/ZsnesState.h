#pragma once

// ZSNES's save states (".zst", ".zs1"...): uncompressed, starting with "ZSNES
// Save State File V0.6" or "... V143", a 0x1A byte and a version byte; CGRAM's
// 512 bytes sit at the fixed offset 0x618 of the documented layout.

#include "capture/Bytes.h"
#include "capture/Capture.h"

namespace tintwright {

bool IsZsnesState(capture::Bytes bytes);
Result<Capture> ReadZsnesState(capture::Bytes bytes);

}  // namespace tintwright
