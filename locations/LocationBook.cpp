#include "locations/LocationBook.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "app/ProfileFile.h"
#include "app/Settings.h"
#include "window/ControlIds.h"

namespace tintwright {
namespace {

// At most this much of the section is ever listed.
constexpr std::uint32_t kMeasureBlockBytes = 0x7FFF;
constexpr std::uint32_t kMeasureCapacity = 0x7FFE;
constexpr int kPauseAfterFillMs = 100;

}  // namespace

std::vector<std::string_view> LocationNamesInBlock(std::string_view block) {
    std::vector<std::string_view> names;
    std::size_t at = 0;
    while (at < block.size() && block[at] != '\0') {
        std::size_t end = block.find('\0', at);
        if (end == std::string_view::npos) end = block.size();
        const std::string_view entry = block.substr(at, end - at);
        const std::size_t equals = entry.find('=');
        if (equals != std::string_view::npos) names.push_back(entry.substr(0, equals));
        at = end + 1;
    }
    return names;
}

void LocationBook::LoadLocationList() {
    std::vector<char> measure(kMeasureBlockBytes, '\0');
    const std::uint32_t length =
        GetProfileSection(settingsPath_, kLocationSection, measure.data(), kMeasureCapacity);
    measure = {};

    std::vector<char> block(static_cast<std::size_t>(length) + 8, '\0');
    const std::uint32_t capacity = std::min<std::uint32_t>(kMeasureBlockBytes, static_cast<std::uint32_t>(block.size()));
    GetProfileSection(settingsPath_, kLocationSection, block.data(), capacity);
    for (const std::string_view name : LocationNamesInBlock({block.data(), block.size()})) {
        windowSystem_.ListAddString(ids::kLocationList, name);
    }
    windowSystem_.Sleep(kPauseAfterFillMs);
}

void LocationBook::ReloadLocationList() {
    windowSystem_.ListReset(ids::kLocationList);
    LoadLocationList();
}

}  // namespace tintwright
