#pragma once

// BPS's variable-length numbers: seven bits a byte, lowest first, the last
// byte marked by its top bit, and each further byte counting from one past
// what the shorter forms can say, so every number has exactly one encoding.

#include <cstdint>
#include <optional>
#include <vector>

#include "bytes/ByteReader.h"

namespace tintwright {

void PutBpsNumber(std::vector<std::uint8_t>& out, std::uint64_t value);
// Nothing when the input ends inside the number or it has more than nine
// bytes; the reader has then moved past what was read, and the caller stops.
std::optional<std::uint64_t> ReadBpsNumber(ByteReader& reader);

}  // namespace tintwright
