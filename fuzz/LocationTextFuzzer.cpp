// The name routines of the location dialog as properties: trimming takes only
// spaces and tabs and only at its own end; ProperCase keeps the length and
// every byte that is no ASCII letter, and leaves capitals only at the start and
// after a space; every routine, and "Clean" as a whole, is idempotent.

#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/FuzzSupport.h"
#include "locations/LocationText.h"

namespace {

bool IsBlank(char ch) {
    return ch == ' ' || ch == '\t';
}
bool IsUpper(char ch) {
    return ch >= 'A' && ch <= 'Z';
}
bool IsLower(char ch) {
    return ch >= 'a' && ch <= 'z';
}
bool AllBlank(std::string_view text) {
    return text.find_first_not_of(" \t") == std::string_view::npos;
}

void CheckTrims(const std::string& text) {
    using namespace tintwright;
    const std::string leading = TrimLeadingBlanks(text);
    FUZZ_REQUIRE(std::string_view(text).ends_with(leading));
    FUZZ_REQUIRE(AllBlank(std::string_view(text).substr(0, text.size() - leading.size())));
    FUZZ_REQUIRE(leading.empty() || !IsBlank(leading.front()));
    FUZZ_REQUIRE(TrimLeadingBlanks(leading) == leading);

    const std::string trailing = TrimTrailingBlanks(text);
    FUZZ_REQUIRE(std::string_view(text).starts_with(trailing));
    FUZZ_REQUIRE(AllBlank(std::string_view(text).substr(trailing.size())));
    FUZZ_REQUIRE(trailing.empty() || !IsBlank(trailing.back()));
    FUZZ_REQUIRE(TrimTrailingBlanks(trailing) == trailing);
}

void CheckProperCase(const std::string& text) {
    std::string cased = text;
    tintwright::ProperCase(cased);
    FUZZ_REQUIRE(cased.size() == text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool isLetter = IsUpper(text[i]) || IsLower(text[i]);
        if (!isLetter) {
            FUZZ_REQUIRE(cased[i] == text[i]);
            continue;
        }
        FUZZ_REQUIRE((cased[i] | 0x20) == (text[i] | 0x20));  // the same letter
        const bool startsWord = i == 0 || text[i - 1] == ' ';
        FUZZ_REQUIRE(IsUpper(cased[i]) == startsWord);
    }
    std::string twice = cased;
    tintwright::ProperCase(twice);
    FUZZ_REQUIRE(twice == cased);
}

std::string Clean(const std::string& name) {
    std::string cleaned = tintwright::TrimTrailingBlanks(tintwright::TrimLeadingBlanks(name));
    tintwright::ProperCase(cleaned);
    return cleaned;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    CheckTrims(text);
    CheckProperCase(text);
    const std::string cleaned = Clean(text);
    FUZZ_REQUIRE(Clean(cleaned) == cleaned);
    return 0;
}
