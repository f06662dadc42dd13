#include "finder/RunScanner.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace tintwright {
namespace {

int RowLength(int colorCount, int row) {
    return std::min(kRowColors, colorCount - row * kRowColors);
}

}  // namespace

int SampleStride(const RunRule& rule) {
    // A run of m mismatches spans at least minimumMatched + m words, so it
    // holds at least that many divided by the stride sampled positions; more
    // than m of them means at least one is a match.
    for (int stride = rule.minimumMatched; stride > 1; --stride) {
        bool covers = true;
        for (int missed = 0; missed <= rule.mismatches; ++missed)
            covers = covers && (rule.minimumMatched + missed) / stride > missed;
        if (covers) return stride;
    }
    return 1;
}

bool IsUniformRun(const PaletteRun& run, std::span<const std::uint8_t> rom, const ColorIndex& colors) {
    const int firstPosition = run.row * kRowColors + run.firstIndex;
    const std::uint16_t firstColor = colors.Color(firstPosition);
    const std::uint16_t firstWord = ColorAt(rom, run.offset);
    bool oneColor = true, blackAndWhite = true, oneWord = true;
    for (int t = 0; t < run.length; ++t) {
        if (!((run.matchMask >> t) & 1u)) continue;
        const std::uint16_t color = colors.Color(firstPosition + t);
        oneColor = oneColor && color == firstColor;
        blackAndWhite = blackAndWhite && (color == kBlack || color == kWhite);
        oneWord = oneWord && ColorAt(rom, run.offset + 2u * static_cast<unsigned>(t)) == firstWord;
    }
    return oneColor || blackAndWhite || oneWord;
}

RunScanner::RunScanner(std::span<const std::uint8_t> rom, const ColorIndex& colors, const RunRule& rule)
    : rom_(rom), colors_(colors), rule_(rule), stride_(SampleStride(rule)) {}

void RunScanner::Scan(std::uint64_t from, std::uint64_t to, std::vector<PaletteRun>& runs) const {
    // Sampled positions are word positions stride - 1, 2 * stride - 1, ... of
    // each alignment; the even word and the odd word after it are read at once.
    const std::uint64_t step = 2u * static_cast<std::uint64_t>(stride_);
    const std::uint64_t phase = step - 2;
    std::uint64_t offset = from <= phase ? phase : from + (step - (from - phase) % step) % step;
    const std::uint64_t size = rom_.size();
    to = std::min(to, size);
    Quiet quiet;
    const std::uint8_t* const bytes = rom_.data();
    const ColorIndex& colors = colors_;
    const std::uint64_t end = size > 3 ? std::min(to, size - 3) : 0;
    for (; offset < end; offset += step) {
        std::uint32_t pair;
        std::memcpy(&pair, bytes + offset, sizeof pair);
        const auto even = ColorBits(static_cast<std::uint16_t>(pair));
        const auto odd = ColorBits(static_cast<std::uint16_t>(pair >> 8));
        // Most words are near no captured colour: one branch turns both away.
        if ((static_cast<unsigned>(colors.IsNearCapture(even)) |
             static_cast<unsigned>(colors.IsNearCapture(odd))) != 0) [[unlikely]]
            offset = ExamineSample(offset, to, quiet, runs);
    }
    // The last bytes hold an even word but no odd one after it.
    if (offset < to && offset + 1 < size && colors_.IsNearCapture(WordAt(offset)))
        ExamineWord(offset, WordAt(offset), runs);
    if (offset < to && offset + 2 < size && colors_.IsNearCapture(WordAt(offset + 1)))
        ExamineWord(offset + 1, WordAt(offset + 1), runs);
}

// Returns the offset to go on from: the same one, or the last sample in a
// stretch of one colour that both alignments cross quietly.
std::uint64_t RunScanner::ExamineSample(std::uint64_t offset, std::uint64_t to, Quiet& quiet,
                                        std::vector<PaletteRun>& runs) const {
    for (const std::uint64_t alignment : {0u, 1u})
        if (offset + alignment >= quiet.until[alignment])
            quiet.until[alignment] = std::max(quiet.until[alignment], QuietUntil(offset + alignment, to));
    if (offset < quiet.until[0] && offset + 1 < quiet.until[1]) {
        const std::uint64_t step = 2u * static_cast<std::uint64_t>(stride_);
        const std::uint64_t until = std::min(quiet.until[0], quiet.until[1] - 1);
        return offset + (until - 1 - offset) / step * step;
    }
    for (const std::uint64_t alignment : {0u, 1u}) {
        const std::uint16_t color = WordAt(offset + alignment);
        if (offset + alignment >= quiet.until[alignment] && colors_.IsNearCapture(color))
            ExamineWord(offset + alignment, color, runs);
    }
    return offset;
}

// Every diagonal through a word at most this many bytes away from the sample
// lies wholly inside the stretch when its words are all of one colour, from
// kReach + 2 bytes before the sample on: a run on it is of that one colour and
// the word before it continues it.
std::uint64_t RunScanner::QuietUntil(std::uint64_t offset, std::uint64_t to) const {
    constexpr std::uint64_t kReach = 2 * (kRowColors - 1);
    if (offset < kReach + 2) return 0;
    const std::uint16_t color = WordAt(offset);
    for (std::uint64_t before = offset - kReach - 2; before < offset; before += 2)
        if (WordAt(before) != color) return 0;
    // The stretch is followed only as far as this slice can use it.
    const std::uint64_t through =
        SameColorThrough(offset, std::min<std::uint64_t>(to + kReach + 2, rom_.size() - 2));
    return through >= offset + kReach ? through - kReach + 1 : 0;
}

// The last word of the stretch of one colour from offset on, a word apart, that
// starts no later than last (last + 1 is in the ROM).
std::uint64_t RunScanner::SameColorThrough(std::uint64_t offset, std::uint64_t last) const {
    static_assert(std::endian::native == std::endian::little, "words are read four at a time");
    constexpr std::uint64_t kColorBits = 0x7FFF7FFF7FFF7FFF;
    std::uint64_t at = offset;
    // Eight words at a time, each against the word after it.
    while (at + 16 <= last) {
        std::uint64_t words[2], next[2];
        std::memcpy(words, rom_.data() + at, sizeof words);
        std::memcpy(next, rom_.data() + at + 2, sizeof next);
        if (((words[0] ^ next[0]) | (words[1] ^ next[1])) & kColorBits) break;
        at += 16;
    }
    while (at + 2 <= last && WordAt(at + 2) == WordAt(at)) at += 2;
    return at;
}

void RunScanner::ExamineWord(std::uint64_t offset, std::uint16_t color, std::vector<PaletteRun>& runs) const {
    for (const std::uint8_t position : colors_.CapturePositionsNear(color)) {
        const int index = position % kRowColors;
        const std::int64_t base = static_cast<std::int64_t>(offset) - 2 * index;
        // Most words near a captured colour are there by chance, with no match
        // beside them; they are turned away before anything else is worked out.
        if (!HasMatchNear(base, position - index, index)) continue;
        const Diagonal diagonal = DiagonalThrough(offset, position);
        if (!SharesBlockWithEarlierSample(diagonal, index)) ExamineDiagonal(diagonal, index, runs);
    }
}

RunScanner::Diagonal RunScanner::DiagonalThrough(std::uint64_t offset, int capturePosition) const {
    const int row = capturePosition / kRowColors;
    const std::int64_t base = static_cast<std::int64_t>(offset) - 2 * (capturePosition % kRowColors);
    const std::int64_t size = static_cast<std::int64_t>(rom_.size());
    const std::int64_t begin = base >= 0 ? 0 : (1 - base) / 2;
    const std::int64_t wholeWords = size - base > 0 ? (size - base) / 2 : 0;
    const std::int64_t end = std::min<std::int64_t>(RowLength(colors_.ColorCount(), row), wholeWords);
    return {base, row, static_cast<int>(begin), static_cast<int>(end)};
}

// A sample one stride back whose words all match up to this one lies in the
// same run, and that sample reported it.
bool RunScanner::SharesBlockWithEarlierSample(const Diagonal& diagonal, int index) const {
    if (index - stride_ < diagonal.begin) return false;
    for (int t = index - 1; t >= index - stride_; --t)
        if (!Matches(diagonal, t)) return false;
    return true;
}

// A run holds a second match at most mismatches + 1 colours away.
bool RunScanner::HasMatchNear(std::int64_t base, int rowPosition, int index) const {
    const int rowLength = RowLength(colors_.ColorCount(), rowPosition / kRowColors);
    const std::int64_t size = static_cast<std::int64_t>(rom_.size());
    for (int distance = 1; distance <= rule_.mismatches + 1; ++distance) {
        const std::int64_t after = base + 2 * (index + distance);
        if (index + distance < rowLength && after + 1 < size &&
            colors_.Matches(WordAt(static_cast<std::uint64_t>(after)), rowPosition + index + distance))
            return true;
        const std::int64_t before = base + 2 * (index - distance);
        if (index >= distance && before >= 0 &&
            colors_.Matches(WordAt(static_cast<std::uint64_t>(before)), rowPosition + index - distance))
            return true;
    }
    return false;
}

void RunScanner::ExamineDiagonal(const Diagonal& diagonal, int index, std::vector<PaletteRun>& runs) const {
    const std::uint32_t mask = MatchMask(diagonal);
    RunSpans spans;
    SelectRuns(mask, diagonal.begin, diagonal.end, rule_, spans);
    for (const RunSpan& span : spans) {
        if (index < span.first || index > span.last || !IsFirstSampleOfRun(mask, span, index)) continue;
        PaletteRun run;
        run.offset = static_cast<std::uint32_t>(diagonal.base + 2 * span.first);
        run.row = static_cast<std::uint8_t>(diagonal.row);
        run.firstIndex = static_cast<std::uint8_t>(span.first);
        run.length = static_cast<std::uint8_t>(span.last - span.first + 1);
        run.matchMask = static_cast<std::uint16_t>(mask >> span.first & ((1u << run.length) - 1));
        if (!ContinuesUniformStretch(run)) runs.push_back(run);
    }
}

std::uint32_t RunScanner::MatchMask(const Diagonal& diagonal) const {
    std::uint32_t mask = 0;
    for (int t = diagonal.begin; t < diagonal.end; ++t)
        if (Matches(diagonal, t)) mask |= 1u << t;
    return mask;
}

// Positions a stride apart on one diagonal are all sampled ones.
bool RunScanner::IsFirstSampleOfRun(std::uint32_t mask, const RunSpan& run, int index) const {
    for (int t = index - stride_; t >= run.first; t -= stride_)
        if ((mask >> t) & 1u) return false;
    return true;
}

// A long stretch of black, or of any one colour, would otherwise give a run at
// every word of it; only the run at its start is kept.
bool RunScanner::ContinuesUniformStretch(const PaletteRun& run) const {
    if (run.offset < 2 || !IsUniformRun(run, rom_, colors_)) return false;
    const std::uint16_t before = WordAt(run.offset - 2u);
    const int firstPosition = run.row * kRowColors + run.firstIndex;
    for (int t = 0; t < run.length; ++t)
        if (((run.matchMask >> t) & 1u) && colors_.Matches(before, firstPosition + t)) return true;
    return false;
}

}  // namespace tintwright
