#include "locations/LocationDialogs.h"

#include "locations/LocationText.h"
#include "settings/ProfileFile.h"
#include "settings/Settings.h"
#include "window/ControlIds.h"

namespace tintwright {
namespace {

// Every field is read with a 256-byte buffer.
constexpr std::size_t kFieldChars = 255;

}  // namespace

void LocationDialogs::OpenAddForm() {
    handedOver_ = windowSystem_.GetText(ids::kOffsetBox, kFieldChars);
    windowSystem_.CreateLocationDialog(LocationDialogForm::Add,
                                       static_cast<std::uint32_t>(handedOver_.size()));
}

void LocationDialogs::OpenEditForm() {
    const int row = windowSystem_.ListSelection(ids::kLocationList);
    if (row < 0) return;
    handedOver_ = windowSystem_.ListRowText(ids::kLocationList, row);
    const auto length = static_cast<std::uint32_t>(book_.ReadLocationOffset(handedOver_).size());
    windowSystem_.CreateLocationDialog(LocationDialogForm::Edit, length);
}

// An Edit form whose entry has an empty offset text is not set up: it looks
// like the Add form, but its buttons act as the Edit form's.
void LocationDialogs::OnInit(DialogHandle dialog, LocationDialogForm form, std::uint32_t parameter) {
    open_[dialog] = form;
    if (parameter == 0) return;
    if (form == LocationDialogForm::Add) {
        windowSystem_.SetDialogText(dialog, ids::kDialogOffsetField, handedOver_);
    } else {
        SetUpEditForm(dialog);
    }
}

void LocationDialogs::SetUpEditForm(DialogHandle dialog) {
    windowSystem_.SetDialogText(dialog, 0, kEditCaption);
    windowSystem_.EnableDialogItem(dialog, ids::kDialogNameField, false);
    windowSystem_.ShowDialogItem(dialog, ids::kDialogCleanButton, false);
    windowSystem_.SetDialogText(dialog, ids::kDialogConfirmButton, kUpdateButtonText);
    const std::string offsetText = book_.ReadLocationOffset(handedOver_);
    windowSystem_.SetDialogText(dialog, ids::kDialogNameField, handedOver_);
    windowSystem_.SetDialogText(dialog, ids::kDialogOffsetField, offsetText);
}

void LocationDialogs::OnCommand(DialogHandle dialog, int id, int notificationCode) {
    const auto found = open_.find(dialog);
    if (found == open_.end() || notificationCode != 0) return;
    const bool addForm = found->second == LocationDialogForm::Add;
    if (id == ids::kDialogConfirmButton) {
        if (addForm) {
            ConfirmAdd(dialog);
        } else {
            ConfirmUpdate(dialog);
        }
    } else if (id == ids::kDialogCleanButton && addForm) {
        Clean(dialog);
    }
}

void LocationDialogs::OnClose(DialogHandle dialog) {
    End(dialog);
}

// The name is trimmed for the question and the write; the field keeps what
// the user typed, blanks included, in case the answer is No.
void LocationDialogs::ConfirmAdd(DialogHandle dialog) {
    const std::string name = TrimmedName(dialog);
    const std::string offsetText = windowSystem_.GetDialogText(dialog, ids::kDialogOffsetField, kFieldChars);
    const int answer =
        windowSystem_.ShowDialogMessageBox(dialog, offsetText, name, box::kYesNo | box::kIconQuestion);
    if (answer == box::kAnswerYes) WriteAndEnd(dialog, kLocationSection, name, offsetText);
}

// The offset text is read only after the answer: the dialog stays usable
// while the question is open.
void LocationDialogs::ConfirmUpdate(DialogHandle dialog) {
    const std::string name = windowSystem_.GetDialogText(dialog, ids::kDialogNameField, kFieldChars);
    const int answer =
        windowSystem_.ShowDialogMessageBox(dialog, kUpdateQuestion, name, box::kYesNo | box::kIconQuestion);
    if (answer != box::kAnswerYes) return;
    const std::string offsetText = windowSystem_.GetDialogText(dialog, ids::kDialogOffsetField, kFieldChars);
    WriteAndEnd(dialog, kEditSection, name, offsetText);
}

void LocationDialogs::Clean(DialogHandle dialog) {
    std::string name = TrimmedName(dialog);
    ProperCase(name);
    windowSystem_.SetDialogText(dialog, ids::kDialogNameField, name);
}

// The name field without its blanks at either end; the field keeps them.
std::string LocationDialogs::TrimmedName(DialogHandle dialog) {
    return TrimTrailingBlanks(
        TrimLeadingBlanks(windowSystem_.GetDialogText(dialog, ids::kDialogNameField, kFieldChars)));
}

void LocationDialogs::WriteAndEnd(DialogHandle dialog, std::string_view section, const std::string& name,
                                  const std::string& offsetText) {
    const FileOutcome outcome = WriteProfileString(settingsPath_, section, name, offsetText);
    if (!outcome) {
        windowSystem_.ShowDialogMessageBox(dialog,
                                           "Could not write \"" + name + "\" into the location book in\r\n" +
                                               settingsPath_ + "\r\n(" + outcome.Reason() + ").",
                                           kLocationBookErrorCaption, box::kIconWarning);
        return;
    }
    windowSystem_.PostListChanged();
    End(dialog);
}

void LocationDialogs::End(DialogHandle dialog) {
    open_.erase(dialog);
    windowSystem_.EndLocationDialog(dialog);
}

}  // namespace tintwright
