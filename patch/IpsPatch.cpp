#include "patch/IpsPatch.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bytes/ByteReader.h"

namespace tintwright {
namespace {

using Bytes = std::span<const std::uint8_t>;

// A record starting here would read as "EOF", the end of the patch.
constexpr std::uint32_t kEofOffset = 0x454F46;
constexpr std::uint32_t kMaxRecordSize = 0xFFFF;
// Equal bytes between two changes cost less inside one record than a new
// record's 5-byte header.
constexpr std::size_t kMergeGap = 6;
constexpr std::size_t kLiteralHeader = 5;
constexpr std::size_t kRunRecord = 8;

struct Record {
    std::uint32_t offset;
    std::uint32_t length;
    bool run;  // one byte repeated length times
};

std::string Hex(std::size_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "$%llX", static_cast<unsigned long long>(value));
    return text;
}

bool Differs(Bytes source, Bytes target, std::size_t at) {
    return at >= source.size() || source[at] != target[at];
}

// Where a span of changes ends, taking in short stretches of equal bytes.
std::size_t ChangedSpanEnd(Bytes source, Bytes target, std::size_t at) {
    while (at < target.size()) {
        if (Differs(source, target, at)) {
            ++at;
            continue;
        }
        std::size_t gap = 0;
        while (gap < kMergeGap && at + gap < target.size() && !Differs(source, target, at + gap)) ++gap;
        if (gap == kMergeGap || at + gap == target.size()) break;
        at += gap;
    }
    return at;
}

void AddLiteral(std::vector<Record>& records, std::size_t start, std::size_t end) {
    for (; start < end; start += kMaxRecordSize)
        records.push_back({static_cast<std::uint32_t>(start),
                           static_cast<std::uint32_t>(std::min<std::size_t>(end - start, kMaxRecordSize)),
                           false});
}

// Splits a span into literal records and run records, a run only where it is
// shorter than keeping its bytes in the literal around it.
void AddSpan(std::vector<Record>& records, Bytes target, std::size_t start, std::size_t end) {
    std::size_t literalStart = start;
    for (std::size_t at = start; at < end;) {
        std::size_t run = 1;
        while (at + run < end && run < kMaxRecordSize && target[at + run] == target[at]) ++run;
        const bool before = at > literalStart;
        const bool after = at + run < end;
        const std::size_t runCost = kRunRecord + (after ? kLiteralHeader : 0) - (before ? 0 : kLiteralHeader);
        if (run > runCost) {
            AddLiteral(records, literalStart, at);
            records.push_back({static_cast<std::uint32_t>(at), static_cast<std::uint32_t>(run), true});
            literalStart = at + run;
        }
        at += run;
    }
    AddLiteral(records, literalStart, end);
}

// A record at kEofOffset starts one byte earlier instead: two literal bytes,
// then the rest of the record.
std::vector<Record> AvoidEofOffset(const std::vector<Record>& records) {
    std::vector<Record> result;
    for (const Record& record : records) {
        if (record.offset != kEofOffset) {
            result.push_back(record);
            continue;
        }
        result.push_back({kEofOffset - 1, 2, false});
        if (record.length > 1) result.push_back({kEofOffset + 1, record.length - 1, record.run});
    }
    return result;
}

void PutBig(std::vector<std::uint8_t>& out, std::uint32_t value, int width) {
    for (int shift = 8 * (width - 1); shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

std::vector<std::uint8_t> Serialize(const std::vector<Record>& records, Bytes source, Bytes target) {
    std::vector<std::uint8_t> out(kIpsMagic.begin(), kIpsMagic.end());
    for (const Record& record : records) {
        PutBig(out, record.offset, 3);
        if (record.run) {
            PutBig(out, 0, 2);
            PutBig(out, record.length, 2);
            out.push_back(target[record.offset]);
        } else {
            PutBig(out, record.length, 2);
            out.insert(out.end(), target.begin() + record.offset,
                       target.begin() + record.offset + record.length);
        }
    }
    out.insert(out.end(), {'E', 'O', 'F'});
    if (target.size() < source.size()) PutBig(out, static_cast<std::uint32_t>(target.size()), 3);
    return out;
}

std::string BeyondReach(std::size_t where) {
    return "IPS reaches only the first 16 MiB (offsets have three bytes), and a change lies at " +
           Hex(where) + ": make a .bps patch instead";
}

Result<std::vector<std::uint8_t>> Failure(std::size_t at, const std::string& why) {
    return Result<std::vector<std::uint8_t>>::Failed("IPS: at byte " + std::to_string(at) +
                                                     " of the patch: " + why);
}

// Makes room for a record's bytes; the output only ever grows to the limit.
bool MakeRoom(std::vector<std::uint8_t>& output, std::size_t end, std::size_t maxOutputBytes) {
    if (end > maxOutputBytes) return false;
    if (end > output.size()) output.resize(end, 0);
    return true;
}

// One record at the reader's position; an empty text when it was applied.
std::string ApplyRecord(ByteReader& patch, std::vector<std::uint8_t>& output, std::size_t maxOutputBytes) {
    const auto offset = patch.ReadBig(3);
    const auto size = patch.ReadBig(2);
    if (!offset || !size) return "the patch ends inside a record header, before \"EOF\"";
    const auto runLength = *size == 0 ? patch.ReadBig(2) : std::nullopt;
    const auto runByte = *size == 0 ? patch.ReadBig(1) : std::nullopt;
    if (*size == 0 && !runByte) return "the patch ends inside a run record";
    if (*size == 0 && *runLength == 0) return "a run record repeats its byte 0 times";
    const auto bytes = *size == 0 ? std::nullopt : patch.ReadBytes(*size);
    if (*size != 0 && !bytes)
        return "the record needs " + std::to_string(*size) + " bytes, the patch has " +
               std::to_string(patch.Remaining()) + " left";
    const std::size_t length = *size == 0 ? *runLength : *size;
    if (!MakeRoom(output, *offset + length, maxOutputBytes))
        return "the record writes past the limit of " + std::to_string(maxOutputBytes) + " bytes";
    if (bytes)
        std::copy(bytes->begin(), bytes->end(), output.begin() + *offset);
    else
        std::fill_n(output.begin() + *offset, length, static_cast<std::uint8_t>(*runByte));
    return {};
}

}  // namespace

Result<std::vector<std::uint8_t>> ApplyIpsPatch(Bytes source, Bytes patch, std::size_t maxOutputBytes) {
    ByteReader reader(patch);
    if (!reader.Expect(kIpsMagic)) return Failure(0, "expected \"PATCH\"");
    if (source.size() > maxOutputBytes)
        return Failure(0,
                       "the source has more than the limit of " + std::to_string(maxOutputBytes) + " bytes");
    std::vector<std::uint8_t> output(source.begin(), source.end());
    while (!reader.Expect("EOF")) {
        const std::size_t start = reader.Position();
        if (reader.AtEnd()) return Failure(start, "the patch ends without \"EOF\"");
        if (std::string why = ApplyRecord(reader, output, maxOutputBytes); !why.empty())
            return Failure(start, why);
    }
    const std::size_t end = reader.Position();
    if (reader.Remaining() == 3) {
        const std::size_t size = *reader.ReadBig(3);
        if (!MakeRoom(output, size, maxOutputBytes))
            return Failure(end,
                           "the size after \"EOF\" is past the limit of " + std::to_string(maxOutputBytes));
        output.resize(size);
    } else if (!reader.AtEnd()) {
        return Failure(end, std::to_string(reader.Remaining()) +
                                " bytes follow \"EOF\", expected none or a 3-byte size");
    }
    return output;
}

Result<std::vector<std::uint8_t>> CreateIpsPatch(Bytes source, Bytes target) {
    if (target.size() < source.size() && target.size() >= kIpsReach)
        return Result<std::vector<std::uint8_t>>::Failed(BeyondReach(target.size()));
    std::vector<Record> records;
    for (std::size_t at = 0; at < target.size();) {
        if (!Differs(source, target, at)) {
            ++at;
            continue;
        }
        const std::size_t end = ChangedSpanEnd(source, target, at);
        AddSpan(records, target, at, end);
        at = end;
    }
    records = AvoidEofOffset(records);
    for (const Record& record : records)
        if (record.offset >= kIpsReach)
            return Result<std::vector<std::uint8_t>>::Failed(BeyondReach(record.offset));
    return Serialize(records, source, target);
}

}  // namespace tintwright
