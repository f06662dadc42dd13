#pragma once

// Finds every run of captured colours in a stretch of the ROM, at even and odd
// offsets, fast enough to scan a whole ROM while a person waits.
//
// A run lies on a diagonal: one captured row laid over the ROM from some byte
// offset on, colour i over the word at offset + 2i. Any run holds at least
// minimumMatched matching words with at most `mismatches` others, so it has a
// matching word at one of every `stride` word positions; only those positions
// are looked up in the colour index, and a run is reported by the first of them
// it contains, so that cutting the ROM into slices neither loses nor repeats
// one.
//
// A long stretch of one colour (zero padding, blank data) is crossed in one
// step: every diagonal that lies wholly inside it gives only runs that
// continue the stretch, and those are never reported.

#include <cstdint>
#include <span>
#include <vector>

#include "core/LittleEndian.h"
#include "finder/ColorIndex.h"
#include "finder/RunSelection.h"
#include "finder/SearchOptions.h"

namespace tintwright {

// The colours that make a run uniform when it holds nothing else.
inline constexpr std::uint16_t kBlack = 0x0000;
inline constexpr std::uint16_t kWhite = 0x7FFF;

// The colour of the ROM word at a byte offset; offset + 1 must be in the ROM.
inline std::uint16_t ColorAt(std::span<const std::uint8_t> rom, std::uint64_t offset) {
    return ColorBits(GetU16(rom, static_cast<std::size_t>(offset)));
}

class RunScanner {
public:
    // The ROM and the index must outlive the scanner.
    RunScanner(std::span<const std::uint8_t> rom, const ColorIndex& colors, const RunRule& rule);

    // Adds the runs reported by the sampled positions in [from, to).
    void Scan(std::uint64_t from, std::uint64_t to, std::vector<PaletteRun>& runs) const;

    int Stride() const { return stride_; }

private:
    struct Diagonal {
        std::int64_t base;  // ROM byte offset of colour 0
        int row;
        int begin;  // the row's colours that lie over whole ROM words
        int end;
    };

    // Samples of each alignment before these offsets lie deep inside a stretch of one colour.
    struct Quiet {
        std::uint64_t until[2] = {0, 0};
    };

    std::uint64_t ExamineSample(std::uint64_t offset, std::uint64_t to, Quiet& quiet,
                                std::vector<PaletteRun>& runs) const;
    void ExamineWord(std::uint64_t offset, std::uint16_t color, std::vector<PaletteRun>& runs) const;
    void ExamineDiagonal(const Diagonal& diagonal, int index, std::vector<PaletteRun>& runs) const;
    Diagonal DiagonalThrough(std::uint64_t offset, int capturePosition) const;
    bool SharesBlockWithEarlierSample(const Diagonal& diagonal, int index) const;
    bool HasMatchNear(std::int64_t base, int rowPosition, int index) const;
    std::uint32_t MatchMask(const Diagonal& diagonal) const;
    bool IsFirstSampleOfRun(std::uint32_t mask, const RunSpan& run, int index) const;
    bool ContinuesUniformStretch(const PaletteRun& run) const;
    std::uint64_t QuietUntil(std::uint64_t offset, std::uint64_t to) const;
    std::uint64_t SameColorThrough(std::uint64_t offset, std::uint64_t last) const;
    bool Matches(const Diagonal& diagonal, int index) const {
        return colors_.Matches(WordAt(static_cast<std::uint64_t>(diagonal.base + 2 * index)),
                               diagonal.row * kRowColors + index);
    }
    std::uint16_t WordAt(std::uint64_t offset) const { return ColorAt(rom_, offset); }

    std::span<const std::uint8_t> rom_;
    const ColorIndex& colors_;
    RunRule rule_;
    int stride_;
};

// The widest spacing of looked-up word positions that no run can slip through.
int SampleStride(const RunRule& rule);

// Whether the run's matching colours say little about where it is: one colour
// repeated, nothing but black and white, or one ROM word repeated (which a
// tolerance lets several captured colours match). Such runs match almost
// anywhere.
bool IsUniformRun(const PaletteRun& run, std::span<const std::uint8_t> rom, const ColorIndex& colors);

}  // namespace tintwright
