// The Goto box: whatever the user typed, read the way GoToOffset reads the
// offset box (at most 9 characters, a leading "$" skipped, at most 8 after it),
// must give the offset a separate model of the forgiving digit rule gives.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/RomImage.h"
#include "editor/ColorEditor.h"
#include "editor/PaletteView.h"
#include "fuzz/FuzzSupport.h"
#include "tests/support/FakeWindowSystem.h"
#include "window/ControlIds.h"

namespace {

// Each character is read as the digit of the run it falls in: below "A" the
// run of "0", below "W" the run of "A" (from 10), else the run of "a" (from
// 10); only the low four bits count, so no character is refused.
std::uint32_t ModelDigit(unsigned char ch) {
    int distance = 0;
    if (ch < 'A') {
        distance = ch - '0';
    } else if (ch < 'W') {
        distance = ch - 'A' + 10;
    } else {
        distance = ch - 'a' + 10;
    }
    return static_cast<std::uint32_t>(((distance % 16) + 16) % 16);
}

// From the last character back, each shifted four bits more than the one after
// it; a ninth digit from the right comes round to the lowest place again.
std::uint32_t ModelHex(std::string_view text) {
    std::uint32_t value = 0;
    int place = 0;
    for (auto it = text.rbegin(); it != text.rend(); ++it) {
        value += ModelDigit(static_cast<unsigned char>(*it)) << place;
        place = (place + 4) % 32;
    }
    return value;
}

std::uint32_t ModelGoto(std::string_view box) {
    std::string_view typed = box.substr(0, 9);
    if (typed.starts_with('$')) typed.remove_prefix(1);
    return ModelHex(typed.substr(0, 8));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tintwright;
    static testing::FakeWindowSystem windowSystem;
    static const RomImage rom;
    static const ColorEditor colors(windowSystem);
    static PaletteView view(windowSystem, rom, colors);

    const std::string box(reinterpret_cast<const char*>(data), size);
    FUZZ_REQUIRE(ParseHex(box) == ModelHex(box));

    windowSystem.SetText(ids::kOffsetBox, box);
    view.GoToOffset();
    FUZZ_REQUIRE(static_cast<std::uint32_t>(view.ViewOffset()) == ModelGoto(box));
    // The box keeps what the user typed.
    FUZZ_REQUIRE(windowSystem.Text(ids::kOffsetBox) == box);
    return 0;
}
