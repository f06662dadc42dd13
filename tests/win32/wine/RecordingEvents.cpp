#include "tests/win32/wine/RecordingEvents.h"

namespace tintwright::testing {

void RecordingEvents::OnInitDialog() {
    ++initialisations;
    logic_.OnInitDialog();
}

int RecordingEvents::OnCommand(int id, int notificationCode) {
    commands.push_back({id, notificationCode});
    return logic_.OnCommand(id, notificationCode);
}

void RecordingEvents::OnHScroll(int controlId) {
    scrolledControls.push_back(controlId);
    logic_.OnHScroll(controlId);
}

void RecordingEvents::OnLeftButtonDown(Point client) {
    mouse.push_back({MouseEvent::Kind::LeftDown, client});
    logic_.OnLeftButtonDown(client);
}

void RecordingEvents::OnMouseMove(Point client) {
    mouse.push_back({MouseEvent::Kind::Move, client});
    logic_.OnMouseMove(client);
}

void RecordingEvents::OnLeftButtonUp(Point client) {
    mouse.push_back({MouseEvent::Kind::LeftUp, client});
    logic_.OnLeftButtonUp(client);
}

void RecordingEvents::OnRightButtonUp(Point client) {
    mouse.push_back({MouseEvent::Kind::RightUp, client});
}

void RecordingEvents::OnXButtonUp(int button) {
    xButtons.push_back(button);
    logic_.OnXButtonUp(button);
}

void RecordingEvents::OnMouseWheel(std::int16_t delta) {
    wheelDeltas.push_back(delta);
    logic_.OnMouseWheel(delta);
}

void RecordingEvents::OnTimer() {
    ++timerTicks;
    logic_.OnTimer();
}

void RecordingEvents::OnListChanged() {
    ++listChanges;
    logic_.OnListChanged();
}

void RecordingEvents::OnDestroy() {
    ++destructions;
    logic_.OnDestroy();
}

void RecordingEvents::OnEditKeyUp(int editId) {
    keyUpEdits.push_back(editId);
    logic_.OnEditKeyUp(editId);
}

void RecordingEvents::OnListRightButtonUp(Point listClient) {
    mouse.push_back({MouseEvent::Kind::ListRightUp, listClient});
}

RgbColor RecordingEvents::SwatchColor(int controlId) {
    return swatchOverride ? *swatchOverride : logic_.SwatchColor(controlId);
}

void RecordingEvents::OnLocationDialogInit(DialogHandle dialog, LocationDialogForm form,
                                           std::uint32_t parameter) {
    dialogInits.push_back(dialog);
    logic_.OnLocationDialogInit(dialog, form, parameter);
}

void RecordingEvents::OnLocationDialogCommand(DialogHandle dialog, int id, int notificationCode) {
    dialogCommands.push_back({dialog, {id, notificationCode}});
    logic_.OnLocationDialogCommand(dialog, id, notificationCode);
}

}  // namespace tintwright::testing
