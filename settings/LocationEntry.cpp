#include "settings/LocationEntry.h"

#include <cstdio>

namespace tintwright {

namespace {

LocationEntry PlaceEntry(const char* kind, int row, std::uint32_t offset) {
    char name[48];
    char offsetText[16];
    std::snprintf(name, sizeof name, "%s row %d @%X", kind, row, offset);
    std::snprintf(offsetText, sizeof offsetText, "%08X", offset);
    return {name, offsetText};
}

}  // namespace

LocationEntry FoundPlaceEntry(int row, std::uint32_t offset) {
    return PlaceEntry("Found", row, offset);
}

LocationEntry LivePlaceEntry(int row, std::uint32_t offset) {
    return PlaceEntry("Live", row, offset);
}

}  // namespace tintwright
