#pragma once

// The run-length code bsnes v115 packs its save states with (nall's RLE with
// one-byte words, runs of at least 4): an 8-byte little-endian output size,
// then blocks. A control byte below 128 copies the next control + 1 bytes; one
// of 128 or more repeats the next byte (control & 127) + 4 times.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "capture/Bytes.h"
#include "core/Result.h"

namespace tintwright::capture {

// Unlike bsnes, which reads zeros past the end, running out of input is an
// error here: a cut file must not pass for a state full of zeros.
Result<std::vector<std::uint8_t>> DecodeBsnesRle(Bytes input, std::size_t limit);

}  // namespace tintwright::capture
