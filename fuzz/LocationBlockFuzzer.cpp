// The parse of a section block into location names: a name is the text before
// an entry's first "=", entries without "=" are passed over, the run ends at an
// empty entry, and nothing past the block is ever read.

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "locations/LocationBook.h"

namespace {

// The block cut at every NUL, up to the first empty piece.
std::vector<std::string> ModelNames(const std::string& block) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start < block.size()) {
        const std::size_t nul = block.find('\0', start);
        const std::string entry =
            block.substr(start, nul == std::string::npos ? std::string::npos : nul - start);
        if (entry.empty()) break;
        const std::size_t equals = entry.find('=');
        if (equals != std::string::npos) names.push_back(entry.substr(0, equals));
        if (nul == std::string::npos) break;
        start = nul + 1;
    }
    return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy of exactly the block's size, so ASan stops a read past its end.
    const std::unique_ptr<char[]> block(new char[size]);
    if (size > 0) std::memcpy(block.get(), data, size);
    const std::string_view view(block.get(), size);

    const std::vector<std::string_view> names = tintwright::LocationNamesInBlock(view);
    const std::vector<std::string> expected = ModelNames(std::string(view));
    FUZZ_REQUIRE(names.size() == expected.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        FUZZ_REQUIRE(names[i] == expected[i]);
        // The names point into the block, as the list's rows are taken from it.
        FUZZ_REQUIRE(names[i].data() >= block.get() &&
                     names[i].data() + names[i].size() <= block.get() + size);
    }
    return 0;
}
