#include "finder/RunScanner.h"

#include <algorithm>
#include <cstring>

namespace tintwright {
namespace {

constexpr std::uint16_t kBlack = 0x0000;
constexpr std::uint16_t kWhite = 0x7FFF;

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

bool IsUniformRun(const PaletteRun& run, const ColorIndex& colors) {
    const int firstPosition = run.row * kRowColors + run.firstIndex;
    const std::uint16_t firstColor = colors.Color(firstPosition);
    bool oneColor = true, blackAndWhite = true;
    for (int t = 0; t < run.length; ++t) {
        if (!((run.matchMask >> t) & 1u)) continue;
        const std::uint16_t color = colors.Color(firstPosition + t);
        oneColor = oneColor && color == firstColor;
        blackAndWhite = blackAndWhite && (color == kBlack || color == kWhite);
    }
    return oneColor || blackAndWhite;
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
    for (; offset < to && offset + 3 < size; offset += step) {
        std::uint32_t bytes;
        std::memcpy(&bytes, rom_.data() + offset, sizeof bytes);
        const auto even = ColorBits(static_cast<std::uint16_t>(bytes));
        const auto odd = ColorBits(static_cast<std::uint16_t>(bytes >> 8));
        if (colors_.IsNearCapture(even)) ExamineWord(offset, even, runs);
        if (colors_.IsNearCapture(odd)) ExamineWord(offset + 1, odd, runs);
    }
    // The last bytes hold an even word but no odd one after it.
    if (offset < to && offset + 1 < size && colors_.IsNearCapture(WordAt(offset)))
        ExamineWord(offset, WordAt(offset), runs);
    if (offset < to && offset + 2 < size && colors_.IsNearCapture(WordAt(offset + 1)))
        ExamineWord(offset + 1, WordAt(offset + 1), runs);
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
    if (run.offset < 2 || !IsUniformRun(run, colors_)) return false;
    const std::uint16_t before = WordAt(run.offset - 2u);
    const int firstPosition = run.row * kRowColors + run.firstIndex;
    for (int t = 0; t < run.length; ++t)
        if (((run.matchMask >> t) & 1u) && colors_.Matches(before, firstPosition + t)) return true;
    return false;
}

}  // namespace tintwright
