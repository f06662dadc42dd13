#include "locations/LocationBook.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/Process.h"
#include "settings/ProfileFile.h"
#include "settings/Settings.h"
#include "window/ControlIds.h"

namespace tintwright {
namespace {

// At most this much of the section is ever listed.
constexpr std::uint32_t kMeasureBlockBytes = 0x7FFF;
constexpr std::uint32_t kMeasureCapacity = 0x7FFE;
constexpr int kPauseAfterFillMs = 100;
constexpr std::uint32_t kOffsetTextBuffer = 256;

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
    ThisProcess().Sleep(kPauseAfterFillMs);
}

void LocationBook::ReloadLocationList() {
    windowSystem_.ListReset(ids::kLocationList);
    LoadLocationList();
}

std::string LocationBook::ReadLocationOffset(std::string_view name) const {
    return ReadProfileString(settingsPath_, kLocationSection, name, "", kOffsetTextBuffer);
}

void LocationBook::ShowSelectedOffset(bool thenGoTo) {
    const int row = windowSystem_.ListSelection(ids::kLocationList);
    if (row < 0) return;
    const std::string name = windowSystem_.ListRowText(ids::kLocationList, row);
    windowSystem_.SetText(ids::kOffsetBox, ReadLocationOffset(name));
    if (thenGoTo) windowSystem_.PostCommand(ids::kGotoButton);
}

void LocationBook::RemoveAddress() {
    const int row = windowSystem_.ListSelection(ids::kLocationList);
    if (row < 0) return;
    const std::string name = windowSystem_.ListRowText(ids::kLocationList, row);
    const std::string question = "Name :" + name + "\r\nOffset :" + ReadLocationOffset(name);
    const int answer =
        windowSystem_.ShowMessageBox(question, kRemoveQuestionCaption, box::kYesNo | box::kIconQuestion);
    if (answer != box::kAnswerYes) return;
    const FileOutcome outcome = WriteProfileString(settingsPath_, kLocationSection, name, std::nullopt);
    if (!outcome) {
        WarnStillThere(name, outcome.Reason());
    } else if (ProfileHasKey(settingsPath_, kLocationSection, name)) {
        // A hand-edited file may hold the name twice; only the first went.
        WarnStillThere(name, "the file holds another entry of that name");
    } else {
        windowSystem_.ListDeleteRow(ids::kLocationList, row);
    }
}

void LocationBook::WarnStillThere(const std::string& name, const std::string& reason) {
    windowSystem_.ShowMessageBox("Could not remove \"" + name + "\" from the location book in\r\n" +
                                     settingsPath_ + "\r\n(" + reason + ").",
                                 kLocationBookErrorCaption, box::kIconWarning);
}

void LocationBook::OnListRightButtonUp(Point listClient) {
    windowSystem_.ListClickAt(ids::kLocationList, listClient);
    windowSystem_.ShowPopupMenu(ids::kLocationsPopupIndex, windowSystem_.CursorScreenPosition());
}

}  // namespace tintwright
