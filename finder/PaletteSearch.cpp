#include "finder/PaletteSearch.h"

#include <algorithm>

#include "finder/SearchResultBuilder.h"

namespace tintwright {
namespace {

// Runs kept at most; a ROM full of one repeated pattern that the capture also
// holds could otherwise fill the memory with runs nobody reads.
constexpr std::size_t kMaxRuns = std::size_t{1} << 20;

SearchOptions Clamped(SearchOptions options) {
    options.minimumRun = std::clamp(options.minimumRun, 2, kRowColors);
    options.tolerance = std::clamp(options.tolerance, 0, 3);
    options.mismatches = std::clamp(options.mismatches, 0, 8);
    return options;
}

}  // namespace

PaletteSearch::PaletteSearch(std::span<const std::uint8_t> rom, std::span<const std::uint16_t> capture,
                             const SearchOptions& options)
    : rom_(rom),
      options_(Clamped(options)),
      colors_(capture.first(std::min<std::size_t>(capture.size(), kMaxCaptureColors)), options_.tolerance),
      scanner_(rom, colors_, RunRule{ScanMinimumMatched(options_), options_.mismatches}) {}

bool PaletteSearch::Advance(std::uint64_t bytes) {
    const std::uint64_t to =
        std::min<std::uint64_t>(rom_.size(), scanned_ + std::max<std::uint64_t>(bytes, 1));
    scanner_.Scan(scanned_, to, runs_);
    scanned_ = to;
    if (runs_.size() > kMaxRuns) DropWeakestRuns();
    return Finished();
}

// Keeps the better half: uniform runs go first, then the shortest.
void PaletteSearch::DropWeakestRuns() {
    const auto weaker = [&](const PaletteRun& run) {
        return std::pair(IsUniformRun(run, rom_, colors_), -MatchedWords(run));
    };
    std::nth_element(runs_.begin(), runs_.begin() + kMaxRuns / 2, runs_.end(),
                     [&](const PaletteRun& a, const PaletteRun& b) { return weaker(a) < weaker(b); });
    runs_.resize(kMaxRuns / 2);
    tooManyRuns_ = true;
}

SearchResult PaletteSearch::Result() const {
    SearchResult result = BuildSearchResult(runs_, rom_, colors_, options_);
    result.tooManyRuns = tooManyRuns_;
    return result;
}

std::optional<SearchResult> SearchPalettes(std::span<const std::uint8_t> rom,
                                           std::span<const std::uint16_t> capture,
                                           const SearchOptions& options, const SearchProgress& progress) {
    PaletteSearch search(rom, capture, options);
    for (bool finished = false; !finished;) {
        finished = search.Advance(kSearchSliceBytes);
        if (progress && !progress(search.ScannedBytes(), search.TotalBytes())) return std::nullopt;
    }
    return search.Result();
}

}  // namespace tintwright
