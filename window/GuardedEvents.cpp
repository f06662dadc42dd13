#include "window/GuardedEvents.h"

namespace tintwright {

void GuardedEvents::OnInitDialog() {
    Run([&] { logic_.OnInitDialog(); });
}

// A command that failed half-way counts as handled.
int GuardedEvents::OnCommand(int id, int notificationCode) {
    return GuardedResult(report_, 0, [&] { return logic_.OnCommand(id, notificationCode); });
}

void GuardedEvents::OnHScroll(int controlId) {
    Run([&] { logic_.OnHScroll(controlId); });
}

void GuardedEvents::OnLeftButtonDown(Point client) {
    Run([&] { logic_.OnLeftButtonDown(client); });
}

void GuardedEvents::OnMouseMove(Point client) {
    Run([&] { logic_.OnMouseMove(client); });
}

void GuardedEvents::OnLeftButtonUp(Point client) {
    Run([&] { logic_.OnLeftButtonUp(client); });
}

void GuardedEvents::OnRightButtonUp(Point client) {
    Run([&] { logic_.OnRightButtonUp(client); });
}

void GuardedEvents::OnXButtonUp(int button) {
    Run([&] { logic_.OnXButtonUp(button); });
}

void GuardedEvents::OnMouseWheel(std::int16_t delta) {
    Run([&] { logic_.OnMouseWheel(delta); });
}

void GuardedEvents::OnTimer() {
    Run([&] { logic_.OnTimer(); });
}

void GuardedEvents::OnListChanged() {
    Run([&] { logic_.OnListChanged(); });
}

void GuardedEvents::OnClose() {
    Run([&] { logic_.OnClose(); });
}

void GuardedEvents::OnDestroy() {
    Run([&] { logic_.OnDestroy(); });
}

void GuardedEvents::OnEditKeyUp(int editId) {
    Run([&] { logic_.OnEditKeyUp(editId); });
}

void GuardedEvents::OnListRightButtonUp(Point listClient) {
    Run([&] { logic_.OnListRightButtonUp(listClient); });
}

void GuardedEvents::OnFilesDropped(std::vector<std::string> paths, Point client) {
    Run([&] { logic_.OnFilesDropped(std::move(paths), client); });
}

void GuardedEvents::PaintStrip(StripCanvas& canvas) {
    Run([&] { logic_.PaintStrip(canvas); });
}

// A swatch that cannot be asked shows black rather than nothing.
RgbColor GuardedEvents::SwatchColor(int controlId) {
    return GuardedResult(report_, RgbColor{0}, [&] { return logic_.SwatchColor(controlId); });
}

void GuardedEvents::OnLocationDialogInit(DialogHandle dialog, LocationDialogForm form,
                                         std::uint32_t parameter) {
    Run([&] { logic_.OnLocationDialogInit(dialog, form, parameter); });
}

void GuardedEvents::OnLocationDialogCommand(DialogHandle dialog, int id, int notificationCode) {
    Run([&] { logic_.OnLocationDialogCommand(dialog, id, notificationCode); });
}

void GuardedEvents::OnLocationDialogClose(DialogHandle dialog) {
    Run([&] { logic_.OnLocationDialogClose(dialog); });
}

void GuardedEvents::OnPreviewKey(PreviewHandle preview, PreviewKey key, bool pressed) {
    Run([&] { logic_.OnPreviewKey(preview, key, pressed); });
}

void GuardedEvents::OnPreviewTimer(PreviewHandle preview) {
    Run([&] { logic_.OnPreviewTimer(preview); });
}

void GuardedEvents::OnPreviewClose(PreviewHandle preview) {
    Run([&] { logic_.OnPreviewClose(preview); });
}

}  // namespace tintwright
