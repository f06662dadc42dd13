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

// Every fill of the list holds the window thread for 100 ms, as the editor
// always has: the pause is part of how the list is seen to refresh, not a
// wait for anything, and the tests count it.
constexpr int kPauseAfterFillMs = 100;
constexpr std::uint32_t kOffsetTextBuffer = 256;

// How many entries of the book carry the name; a hand-edited file may hold
// one name more than once.
std::size_t EntriesNamed(const std::string& settingsPath, const std::string& name) {
    const auto sameName = [&name](const ProfileEntry& entry) { return SameProfileName(entry.name, name); };
    const std::vector<ProfileEntry> entries = ReadProfileSection(settingsPath, kLocationSection);
    return static_cast<std::size_t>(std::count_if(entries.begin(), entries.end(), sameName));
}

}  // namespace

// Every entry, however large the book: a list cut part-way would hide an
// entry just added, and the user would add it again.
void LocationBook::LoadLocationList() {
    for (const ProfileEntry& entry : ReadProfileSection(settingsPath_, kLocationSection)) {
        windowSystem_.ListAddString(ids::kLocationList, entry.name);
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
    const std::size_t before = EntriesNamed(settingsPath_, name);
    const FileOutcome outcome = WriteProfileString(settingsPath_, kLocationSection, name, std::nullopt);
    if (!outcome) {
        WarnStillThere(name, outcome.Reason());
        return;
    }
    // A Remove takes one line; the list shows what the file now holds.
    ReloadLocationList();
    if (const std::size_t left = EntriesNamed(settingsPath_, name); left > 0)
        TellEntriesLeft(name, before, left);
}

void LocationBook::TellEntriesLeft(const std::string& name, std::size_t before, std::size_t left) {
    windowSystem_.ShowMessageBox("Removed one of the " + std::to_string(before) + " entries named \"" + name +
                                     "\" from the location book in\r\n" + settingsPath_ +
                                     "\r\n(the file holds that name more than once; " + std::to_string(left) +
                                     " left).",
                                 kLocationBookErrorCaption, box::kIconWarning);
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
