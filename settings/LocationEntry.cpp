#include "settings/LocationEntry.h"

#include <cstdio>

namespace tintwright {

LocationEntry FoundPlaceEntry(int row, std::uint32_t offset) {
    char name[40];
    char offsetText[16];
    std::snprintf(name, sizeof name, "Found row %d @%X", row, offset);
    std::snprintf(offsetText, sizeof offsetText, "%08X", offset);
    return {name, offsetText};
}

}  // namespace tintwright
