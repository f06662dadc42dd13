// The integer rules of the R/G/B boxes: any text against a separate model
// (blanks at both ends, a minus sign only when signed, digits, no value outside
// 32 bits), and every 32-bit value formatted and read back unchanged.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz/FuzzSupport.h"
#include "window/DialogInteger.h"

namespace {

std::optional<std::int32_t> ModelParse(std::string_view text, bool isSigned) {
    constexpr std::string_view kBlanks = " \t";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return std::nullopt;
    std::string_view body = text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
    const bool negative = isSigned && body.front() == '-';
    if (negative) body.remove_prefix(1);
    if (body.empty() || body.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;

    // Compared as decimal texts, so no arithmetic can overflow before the check.
    const std::size_t significant = body.find_first_not_of('0');
    body = significant == std::string_view::npos ? std::string_view("0") : body.substr(significant);
    const std::string_view largest = !isSigned ? "4294967295" : negative ? "2147483648" : "2147483647";
    if (body.size() > largest.size() || (body.size() == largest.size() && body > largest))
        return std::nullopt;

    std::uint32_t magnitude = 0;
    for (const char digit : body) magnitude = magnitude * 10 + static_cast<std::uint32_t>(digit - '0');
    return static_cast<std::int32_t>(negative ? 0u - magnitude : magnitude);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using tintwright::FormatDialogInteger;
    using tintwright::ParseDialogInteger;
    FuzzedDataProvider provider(data, size);
    const auto value = provider.ConsumeIntegral<std::int32_t>();
    const std::string text = provider.ConsumeRemainingBytesAsString();

    for (const bool isSigned : {true, false}) {
        FUZZ_REQUIRE(ParseDialogInteger(text, isSigned) == ModelParse(text, isSigned));
        FUZZ_REQUIRE(ParseDialogInteger(FormatDialogInteger(value, isSigned), isSigned) == value);
    }
    // Signed and unsigned differ only in the sign: a negative number is no
    // unsigned number, and the same digits mean the same bits.
    if (value < 0) FUZZ_REQUIRE(!ParseDialogInteger(FormatDialogInteger(value, true), false));
    if (value >= 0) FUZZ_REQUIRE(FormatDialogInteger(value, true) == FormatDialogInteger(value, false));
    return 0;
}
