#pragma once

// Which stretches of one row's match flags count as runs. With mismatches
// allowed a row can be cut into runs in many ways; this rule picks one that a
// person would: the stretch with the most matching colours first, then the
// same in what is left on either side.

#include <array>
#include <cstdint>

namespace tintwright {

struct RunSpan {
    int first = 0;  // both ends are matching colours
    int last = 0;
    bool operator==(const RunSpan&) const = default;
};

// At most one run per two colours of a row; kept on the stack, since the
// scanner asks for runs thousands of times per ROM.
struct RunSpans {
    std::array<RunSpan, 16> spans{};
    int count = 0;

    const RunSpan* begin() const { return spans.data(); }
    const RunSpan* end() const { return spans.data() + count; }
};

struct RunRule {
    int minimumMatched = 4;
    int mismatches = 0;
};

// Bit i of matchMask says colour i matches (i < 16). Among the stretches in
// [begin, end) that start and end on a match and hold at most rule.mismatches
// non-matching colours, takes the one with the most matches (then the fewest
// mismatches, then the earliest) while it holds at least rule.minimumMatched,
// and repeats left and right of it.
void SelectRuns(std::uint32_t matchMask, int begin, int end, const RunRule& rule, RunSpans& runs);

}  // namespace tintwright
