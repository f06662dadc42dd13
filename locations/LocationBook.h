#pragma once

// Named ROM offsets kept in the section "Patch" of the settings file and
// listed, sorted, in the main window's location list.

#include <cstddef>
#include <string>
#include <string_view>

#include "window/WindowSystem.h"

namespace tintwright {

inline constexpr std::string_view kRemoveQuestionCaption = "Are you sure you want to delete this entry!";
inline constexpr std::string_view kLocationBookErrorCaption = "Location Book Error";

class LocationBook {
public:
    LocationBook(WindowSystem& windowSystem, const std::string& settingsPath)
        : windowSystem_(windowSystem), settingsPath_(settingsPath) {}

    // Appends the names of every entry to the list; the caller empties it first
    // when it reloads.
    void LoadLocationList();
    // The list-changed message: the list is filled afresh from the file.
    void ReloadLocationList();

    // A name's offset text, cut to 255 characters; empty when it is not in the book.
    std::string ReadLocationOffset(std::string_view name) const;
    // The selected row's offset text into the offset box; a double click then
    // posts "Goto", which reads the box when it runs. Nothing without a selection.
    void ShowSelectedOffset(bool thenGoTo);
    // "Remove Address": the selected entry out of the file, after the user
    // confirmed, and the list filled afresh from the file. When the file
    // holds the name more than once, the user is told that one went and how
    // many are left; when the file cannot be written, why.
    void RemoveAddress();
    // A right click on the list selects the row there and opens "Locations".
    void OnListRightButtonUp(Point listClient);

private:
    // Why an entry that should have gone is still in the file.
    void WarnStillThere(const std::string& name, const std::string& reason);
    void TellEntriesLeft(const std::string& name, std::size_t before, std::size_t left);

    WindowSystem& windowSystem_;
    const std::string& settingsPath_;
};

}  // namespace tintwright
