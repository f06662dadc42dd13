#pragma once

// zlib's inflate behind one bounded call: the three wrappers emulators use
// (gzip files, zlib streams, the raw deflate inside a zip), an output limit, and
// a message when the stream is broken or cut short.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "capture/Bytes.h"

namespace tintwright::capture {

enum class DeflateWrapper { Gzip, Zlib, Raw };

struct Inflated {
    std::vector<std::uint8_t> bytes;
    std::string error;  // empty when the whole stream was inflated
};

// Inflates one stream from the start of input. Output past limit bytes is an
// error, not a truncation, so a bomb never fills memory.
Inflated Inflate(Bytes input, DeflateWrapper wrapper, std::size_t limit);

}  // namespace tintwright::capture
