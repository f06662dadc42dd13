#pragma once

// Named ROM offsets kept in the section "Patch" of the settings file and
// listed, sorted, in the main window's location list.

#include <string>
#include <string_view>
#include <vector>

#include "window/WindowSystem.h"

namespace tintwright {

// The entry names of a section block (name=value entries, each NUL-ended, the
// run ended by an empty entry). Entries without "=" are passed over.
std::vector<std::string_view> LocationNamesInBlock(std::string_view block);

class LocationBook {
public:
    LocationBook(WindowSystem& windowSystem, const std::string& settingsPath)
        : windowSystem_(windowSystem), settingsPath_(settingsPath) {}

    // Appends the names of every entry to the list; the caller empties it first
    // when it reloads.
    void LoadLocationList();
    // The list-changed message: the list is filled afresh from the file.
    void ReloadLocationList();

private:
    WindowSystem& windowSystem_;
    const std::string& settingsPath_;
};

}  // namespace tintwright
