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

#include <cstdint>
#include <span>
#include <vector>

#include "core/LittleEndian.h"
#include "finder/ColorIndex.h"
#include "finder/RunSelection.h"
#include "finder/SearchOptions.h"

namespace tintwright {

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

    void ExamineWord(std::uint64_t offset, std::uint16_t color, std::vector<PaletteRun>& runs) const;
    void ExamineDiagonal(const Diagonal& diagonal, int index, std::vector<PaletteRun>& runs) const;
    Diagonal DiagonalThrough(std::uint64_t offset, int capturePosition) const;
    bool SharesBlockWithEarlierSample(const Diagonal& diagonal, int index) const;
    bool HasMatchNear(std::int64_t base, int rowPosition, int index) const;
    std::uint32_t MatchMask(const Diagonal& diagonal) const;
    bool IsFirstSampleOfRun(std::uint32_t mask, const RunSpan& run, int index) const;
    bool ContinuesUniformStretch(const PaletteRun& run) const;
    bool Matches(const Diagonal& diagonal, int index) const {
        return colors_.Matches(WordAt(static_cast<std::uint64_t>(diagonal.base + 2 * index)),
                               diagonal.row * kRowColors + index);
    }
    std::uint16_t WordAt(std::uint64_t offset) const {
        return ColorBits(GetU16(rom_, static_cast<std::size_t>(offset)));
    }

    std::span<const std::uint8_t> rom_;
    const ColorIndex& colors_;
    RunRule rule_;
    int stride_;
};

// The widest spacing of looked-up word positions that no run can slip through.
int SampleStride(const RunRule& rule);

// Whether the run's matching colours say little about where it is: one colour
// repeated, or nothing but black and white. Such runs match almost anywhere.
bool IsUniformRun(const PaletteRun& run, const ColorIndex& colors);

}  // namespace tintwright
