#pragma once

// zlib's inflate behind one bounded call: the three wrappers emulators use
// (gzip files, zlib streams, the raw deflate inside a zip), an output limit, and
// a message when the stream is broken or cut short.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "capture/Bytes.h"
#include "core/Result.h"

namespace tintwright::capture {

enum class DeflateWrapper { Gzip, Zlib, Raw };

// Inflates one stream from the start of input, or says why the stream is
// broken or cut short. Output past limit bytes is an error, not a truncation,
// so a bomb never fills memory.
Result<std::vector<std::uint8_t>> Inflate(Bytes input, DeflateWrapper wrapper, std::size_t limit);

}  // namespace tintwright::capture
