#pragma once

// The location dialog in its two forms: "Add Address" opens it with the offset
// box's text for a new name, "Edit Address" for the selected entry, whose
// offset text alone can change. Any number may be open at once; each asks
// before it writes, writes on its own, tells the main window to reload the
// list, and closes. A write that fails keeps the dialog open with what the
// user typed, and says why.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "locations/LocationBook.h"
#include "window/WindowSystem.h"

namespace tintwright {

inline constexpr std::string_view kEditCaption = "Edit Patch Location";
inline constexpr std::string_view kUpdateButtonText = "Update";
inline constexpr std::string_view kUpdateQuestion = "Are you sure you want to update this entry!";
// The Edit form writes under the section's name in capitals; the store
// compares section names without regard to case, so it is the same section.
inline constexpr std::string_view kEditSection = "PATCH";

class LocationDialogs {
public:
    LocationDialogs(WindowSystem& windowSystem, const std::string& settingsPath, const LocationBook& book)
        : windowSystem_(windowSystem), settingsPath_(settingsPath), book_(book) {}

    void OpenAddForm();
    // Nothing when no row is selected.
    void OpenEditForm();

    // The dialog's own events, by its handle.
    void OnInit(DialogHandle dialog, LocationDialogForm form, std::uint32_t parameter);
    void OnCommand(DialogHandle dialog, int id, int notificationCode);
    void OnClose(DialogHandle dialog);

private:
    void SetUpEditForm(DialogHandle dialog);
    void ConfirmAdd(DialogHandle dialog);
    void ConfirmUpdate(DialogHandle dialog);
    void Clean(DialogHandle dialog);
    std::string TrimmedName(DialogHandle dialog);
    // Writes the entry; on success the list is told to reload and the dialog
    // ends, on failure the user is told why and the dialog stays.
    void WriteAndEnd(DialogHandle dialog, std::string_view section, const std::string& name,
                     const std::string& offsetText);
    void End(DialogHandle dialog);

    WindowSystem& windowSystem_;
    const std::string& settingsPath_;
    const LocationBook& book_;
    // The text a dialog reads while it is being created: the offset box's text
    // for the Add form, the selected name for the Edit form.
    std::string handedOver_;
    std::map<DialogHandle, LocationDialogForm> open_;
};

}  // namespace tintwright
