#include "patch/BpsPatch.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <variant>
#include <vector>

#include "bytes/ByteReader.h"
#include "core/LittleEndian.h"
#include "patch/BpsNumber.h"

namespace tintwright {
namespace {

using Bytes = std::span<const std::uint8_t>;

enum Action : std::uint64_t { kSourceRead = 0, kTargetRead = 1, kSourceCopy = 2, kTargetCopy = 3 };
constexpr std::size_t kFooterSize = 12;  // three CRC32s
// A shorter match costs more as an action than as literal bytes.
constexpr std::size_t kMinMatch = 4;

std::uint32_t Crc32(Bytes bytes) {
    return static_cast<std::uint32_t>(crc32_z(crc32_z(0, nullptr, 0), bytes.data(), bytes.size()));
}

std::string Hex32(std::uint32_t value) {
    char text[12];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(value));
    return text;
}

std::size_t MatchLength(Bytes a, std::size_t aStart, Bytes b, std::size_t bStart) {
    std::size_t length = 0;
    while (aStart + length < a.size() && bStart + length < b.size() &&
           a[aStart + length] == b[bStart + length])
        ++length;
    return length;
}

class BpsWriter {
public:
    explicit BpsWriter(std::vector<std::uint8_t>& out) : out_(out) {}

    void Action(Action action, std::size_t length) { PutBpsNumber(out_, (length - 1) << 2 | action); }
    void Literal(Bytes target, std::size_t start, std::size_t end) {
        if (start == end) return;
        Action(kTargetRead, end - start);
        out_.insert(out_.end(), target.begin() + start, target.begin() + end);
    }
    // Copies the byte before at of the target length times: a run.
    void Repeat(std::size_t at, std::size_t length) {
        Action(kTargetCopy, length);
        const std::int64_t delta =
            static_cast<std::int64_t>(at - 1) - static_cast<std::int64_t>(targetOffset_);
        PutBpsNumber(out_, static_cast<std::uint64_t>(delta < 0 ? -delta : delta) << 1 | (delta < 0 ? 1 : 0));
        targetOffset_ = at - 1 + length;
    }

private:
    std::vector<std::uint8_t>& out_;
    std::size_t targetOffset_ = 0;
};

Result<std::vector<std::uint8_t>> Failure(const std::string& why) {
    return Result<std::vector<std::uint8_t>>::Failed("BPS: " + why);
}

// Builds the target from the actions, checking every length and offset
// against what the source, the patch and the target hold before using it.
class BpsApplier {
public:
    BpsApplier(Bytes source, ByteReader actions, std::vector<std::uint8_t>& output)
        : source_(source), actions_(actions), output_(output) {}

    // An empty text when the actions made the whole target.
    std::string Run() {
        while (!actions_.AtEnd()) {
            const std::size_t start = actions_.Position();
            const auto command = ReadBpsNumber(actions_);
            if (!command) return At(start, "an action is cut short");
            const std::uint64_t length = (*command >> 2) + 1;
            if (length > output_.size() - written_)
                return At(start,
                          "the action writes past the target's " + std::to_string(output_.size()) + " bytes");
            if (std::string why = Perform(*command & 3, static_cast<std::size_t>(length)); !why.empty())
                return At(start, why);
        }
        if (written_ != output_.size())
            return "the actions make " + std::to_string(written_) + " bytes, the target has " +
                   std::to_string(output_.size());
        return {};
    }

private:
    static std::string At(std::size_t at, const std::string& why) {
        return "at byte " + std::to_string(at) + " of the actions: " + why;
    }

    std::string Perform(std::uint64_t action, std::size_t length) {
        switch (action) {
            case kSourceRead:
                if (written_ + length > source_.size()) return "SourceRead reads past the end of the source";
                return Copy(source_.subspan(written_, length));
            case kTargetRead: {
                const auto bytes = actions_.ReadBytes(length);
                return bytes ? Copy(*bytes)
                             : "TargetRead needs " + std::to_string(length) + " bytes, the patch has " +
                                   std::to_string(actions_.Remaining());
            }
            case kSourceCopy:
                if (!MoveOffset(sourceOffset_, source_.size())) return "SourceCopy starts outside the source";
                if (length > source_.size() - sourceOffset_)
                    return "SourceCopy reads past the end of the source";
                sourceOffset_ += length;
                return Copy(source_.subspan(sourceOffset_ - length, length));
            default:
                // Reads only what is already written; a run copies bytes it has just made.
                if (!MoveOffset(targetOffset_, written_))
                    return "TargetCopy starts outside what is made so far";
                for (std::size_t index = 0; index < length; ++index)
                    output_[written_++] = output_[targetOffset_++];
                return {};
        }
    }

    std::string Copy(Bytes bytes) {
        std::copy(bytes.begin(), bytes.end(), output_.begin() + static_cast<std::ptrdiff_t>(written_));
        written_ += bytes.size();
        return {};
    }

    // Applies a signed relative move read from the patch; the offset must stay below limit.
    bool MoveOffset(std::size_t& offset, std::size_t limit) {
        const auto encoded = ReadBpsNumber(actions_);
        if (!encoded) return false;
        const std::uint64_t distance = *encoded >> 1;
        if (*encoded & 1) {
            if (distance > offset) return false;
            offset -= static_cast<std::size_t>(distance);
        } else {
            if (distance >= limit - offset) return false;
            offset += static_cast<std::size_t>(distance);
        }
        return offset < limit;
    }

    Bytes source_;
    ByteReader actions_;
    std::vector<std::uint8_t>& output_;
    std::size_t written_ = 0;
    std::size_t sourceOffset_ = 0;
    std::size_t targetOffset_ = 0;
};

struct BpsHeader {
    std::uint64_t sourceSize;
    std::uint64_t targetSize;
    std::uint32_t sourceCrc;
    std::uint32_t targetCrc;
};

// The sizes and CRC32s, with the reader left at the first action; or why not.
std::variant<BpsHeader, std::string> ReadHeader(Bytes patch, ByteReader& actions) {
    if (patch.size() < kBpsMagic.size() + 3 + kFooterSize) return "the patch is too short to be one";
    ByteReader footer(patch.last(kFooterSize));
    const std::uint32_t sourceCrc = *footer.ReadLittle(4), targetCrc = *footer.ReadLittle(4);
    const std::uint32_t patchCrc = *footer.ReadLittle(4);
    if (Crc32(patch.first(patch.size() - 4)) != patchCrc)
        return "the patch is damaged: its CRC32 is " + Hex32(Crc32(patch.first(patch.size() - 4))) +
               ", it should be " + Hex32(patchCrc);
    actions = ByteReader(patch.first(patch.size() - kFooterSize));
    if (!actions.Expect(kBpsMagic)) return "expected \"BPS1\"";
    const auto sourceSize = ReadBpsNumber(actions);
    const auto targetSize = sourceSize ? ReadBpsNumber(actions) : std::nullopt;
    const auto metadataSize = targetSize ? ReadBpsNumber(actions) : std::nullopt;
    if (!metadataSize || *metadataSize > actions.Remaining()) return "the header's sizes are cut short";
    actions.ReadBytes(static_cast<std::size_t>(*metadataSize));
    return BpsHeader{*sourceSize, *targetSize, sourceCrc, targetCrc};
}

}  // namespace

Result<std::vector<std::uint8_t>> ApplyBpsPatch(Bytes source, Bytes patch, std::size_t maxOutputBytes) {
    ByteReader actions(patch);
    const auto header = ReadHeader(patch, actions);
    if (const auto* why = std::get_if<std::string>(&header)) return Failure(*why);
    const BpsHeader& sizes = std::get<BpsHeader>(header);
    if (sizes.sourceSize != source.size())
        return Failure("the patch is for a source of " + std::to_string(sizes.sourceSize) +
                       " bytes, this one has " + std::to_string(source.size()));
    if (Crc32(source) != sizes.sourceCrc)
        return Failure("the patch was made for another source: its CRC32 is " + Hex32(sizes.sourceCrc) +
                       ", this source's is " + Hex32(Crc32(source)));
    if (sizes.targetSize > maxOutputBytes)
        return Failure("the target would have " + std::to_string(sizes.targetSize) +
                       " bytes, past the limit of " + std::to_string(maxOutputBytes));
    std::vector<std::uint8_t> output(static_cast<std::size_t>(sizes.targetSize));
    if (std::string why = BpsApplier(source, actions, output).Run(); !why.empty()) return Failure(why);
    if (Crc32(output) != sizes.targetCrc)
        return Failure("the result's CRC32 is " + Hex32(Crc32(output)) + ", the patch expects " +
                       Hex32(sizes.targetCrc));
    return output;
}

Result<std::vector<std::uint8_t>> CreateBpsPatch(Bytes source, Bytes target) {
    std::vector<std::uint8_t> out(kBpsMagic.begin(), kBpsMagic.end());
    PutBpsNumber(out, source.size());
    PutBpsNumber(out, target.size());
    PutBpsNumber(out, 0);  // no metadata
    BpsWriter writer(out);
    std::size_t literalStart = 0;
    for (std::size_t at = 0; at < target.size();) {
        const std::size_t unchanged = MatchLength(source, at, target, at);
        const std::size_t run = at == 0 ? 0 : MatchLength(target, at - 1, target, at);
        if (std::max(unchanged, run) < kMinMatch) {
            ++at;
            continue;
        }
        writer.Literal(target, literalStart, at);
        if (unchanged >= run)
            writer.Action(kSourceRead, unchanged);
        else
            writer.Repeat(at, run);
        at += std::max(unchanged, run);
        literalStart = at;
    }
    writer.Literal(target, literalStart, target.size());
    PutU32(out, Crc32(source));
    PutU32(out, Crc32(target));
    PutU32(out, Crc32(out));
    return out;
}

}  // namespace tintwright
