#include "finder/RunSelection.h"

#include <bit>

namespace tintwright {
namespace {

std::uint32_t SpanMask(int first, int last) {
    return ((std::uint32_t{2} << last) - 1) & ~((1u << first) - 1);
}

// The best stretch in [begin, end), or a stretch with first > last when none
// starts and ends on a match.
RunSpan BestStretch(std::uint32_t matchMask, int begin, int end, int mismatches, int& bestMatched) {
    RunSpan best{1, 0};
    int bestMismatches = 0;
    bestMatched = 0;
    for (int first = begin; first < end; ++first) {
        if (!((matchMask >> first) & 1u)) continue;
        for (int last = first; last < end; ++last) {
            if (!((matchMask >> last) & 1u)) continue;
            const int matched = std::popcount(matchMask & SpanMask(first, last));
            const int missed = last - first + 1 - matched;
            if (missed > mismatches) break;
            if (matched > bestMatched || (matched == bestMatched && missed < bestMismatches)) {
                best = {first, last};
                bestMatched = matched;
                bestMismatches = missed;
            }
        }
    }
    return best;
}

}  // namespace

void SelectRuns(std::uint32_t matchMask, int begin, int end, const RunRule& rule, RunSpans& runs) {
    if (end - begin < rule.minimumMatched || runs.count == static_cast<int>(runs.spans.size())) return;
    int matched = 0;
    const RunSpan best = BestStretch(matchMask, begin, end, rule.mismatches, matched);
    if (matched < rule.minimumMatched) return;
    runs.spans[runs.count++] = best;
    SelectRuns(matchMask, begin, best.first, rule, runs);
    SelectRuns(matchMask, best.last + 1, end, rule, runs);
}

}  // namespace tintwright
