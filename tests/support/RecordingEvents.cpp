#include "tests/support/RecordingEvents.h"

#include <algorithm>

namespace tintwright::testing {

std::string RecordingEvents::Entry(const std::string& name, std::initializer_list<int> values) {
    std::string entry = name;
    for (const int value : values) {
        entry.push_back(' ');
        entry.append(std::to_string(value));
    }
    return entry;
}

std::string RecordingEvents::KeyEntry(PreviewHandle preview, PreviewKey key, bool pressed) {
    return Entry("OnPreviewKey", {preview, static_cast<int>(key), pressed ? 1 : 0});
}

std::string RecordingEvents::DropEntry(const std::vector<std::string>& paths, Point client) {
    std::string entry = Entry("OnFilesDropped", {client.x, client.y});
    for (const std::string& path : paths) entry += " \"" + path + "\"";
    return entry;
}

void RecordingEvents::Record(const std::string& name, std::initializer_list<int> values) {
    RecordEntry(Entry(name, values));
}

void RecordingEvents::RecordEntry(std::string entry) {
    log.push_back(std::move(entry));
    if (onEvent) onEvent(log.back());
}

int RecordingEvents::Count(const std::string& name, std::initializer_list<int> values) const {
    return static_cast<int>(std::count(log.begin(), log.end(), Entry(name, values)));
}

int RecordingEvents::CountNamed(const std::string& name) const {
    return static_cast<int>(std::count_if(log.begin(), log.end(), [&](const std::string& entry) {
        return entry == name || entry.rfind(name + ' ', 0) == 0;
    }));
}

std::vector<std::string> RecordingEvents::WithoutTicks() const {
    std::vector<std::string> entries;
    std::copy_if(log.begin(), log.end(), std::back_inserter(entries), [](const std::string& entry) {
        return entry != "OnTimer" && entry.rfind("OnPreviewTimer ", 0) != 0;
    });
    return entries;
}

bool RecordingEvents::ContainsInOrder(const std::vector<std::string>& entries) const {
    auto next = log.begin();
    for (const std::string& entry : entries) {
        next = std::find(next, log.end(), entry);
        if (next == log.end()) return false;
        ++next;
    }
    return true;
}

void RecordingEvents::OnInitDialog() {
    Record("OnInitDialog");
    if (logic_) logic_->OnInitDialog();
    if (onInitDialog) onInitDialog();
}

int RecordingEvents::OnCommand(int id, int notificationCode) {
    Record("OnCommand", {id, notificationCode});
    return logic_ ? logic_->OnCommand(id, notificationCode) : 0;
}

void RecordingEvents::OnHScroll(int controlId) {
    Record("OnHScroll", {controlId});
    if (logic_) logic_->OnHScroll(controlId);
}

void RecordingEvents::OnLeftButtonDown(Point client) {
    Record("OnLeftButtonDown", {client.x, client.y});
    if (logic_) logic_->OnLeftButtonDown(client);
}

void RecordingEvents::OnMouseMove(Point client) {
    Record("OnMouseMove", {client.x, client.y});
    if (logic_) logic_->OnMouseMove(client);
}

void RecordingEvents::OnLeftButtonUp(Point client) {
    Record("OnLeftButtonUp", {client.x, client.y});
    if (logic_) logic_->OnLeftButtonUp(client);
}

void RecordingEvents::OnRightButtonUp(Point client) {
    Record("OnRightButtonUp", {client.x, client.y});
    if (logic_ && !holdRightButtons) logic_->OnRightButtonUp(client);
}

void RecordingEvents::OnXButtonUp(int button) {
    Record("OnXButtonUp", {button});
    if (logic_) logic_->OnXButtonUp(button);
}

void RecordingEvents::OnMouseWheel(std::int16_t delta) {
    Record("OnMouseWheel", {delta});
    if (logic_) logic_->OnMouseWheel(delta);
}

void RecordingEvents::OnTimer() {
    Record("OnTimer");
    if (logic_) logic_->OnTimer();
}

void RecordingEvents::OnListChanged() {
    Record("OnListChanged");
    if (logic_) logic_->OnListChanged();
}

void RecordingEvents::OnClose() {
    Record("OnClose");
    if (logic_) logic_->OnClose();
}

void RecordingEvents::OnDestroy() {
    Record("OnDestroy");
    if (logic_) logic_->OnDestroy();
}

void RecordingEvents::OnEditKeyUp(int editId) {
    Record("OnEditKeyUp", {editId});
    if (logic_) logic_->OnEditKeyUp(editId);
}

void RecordingEvents::OnListRightButtonUp(Point listClient) {
    Record("OnListRightButtonUp", {listClient.x, listClient.y});
    if (logic_ && !holdRightButtons) logic_->OnListRightButtonUp(listClient);
}

void RecordingEvents::OnFilesDropped(std::vector<std::string> paths, Point client) {
    RecordEntry(DropEntry(paths, client));
    if (logic_) logic_->OnFilesDropped(std::move(paths), client);
}

void RecordingEvents::PaintStrip(StripCanvas& canvas) {
    if (logic_) logic_->PaintStrip(canvas);
}

RgbColor RecordingEvents::SwatchColor(int controlId) {
    const auto found = swatchColors.find(controlId);
    if (found != swatchColors.end()) return found->second;
    return logic_ ? logic_->SwatchColor(controlId) : 0;
}

void RecordingEvents::OnLocationDialogInit(DialogHandle dialog, LocationDialogForm form,
                                           std::uint32_t parameter) {
    Record("OnLocationDialogInit",
           {dialog, form == LocationDialogForm::Edit ? 1 : 0, static_cast<int>(parameter)});
    if (logic_) logic_->OnLocationDialogInit(dialog, form, parameter);
}

void RecordingEvents::OnLocationDialogCommand(DialogHandle dialog, int id, int notificationCode) {
    Record("OnLocationDialogCommand", {dialog, id, notificationCode});
    if (logic_) logic_->OnLocationDialogCommand(dialog, id, notificationCode);
}

void RecordingEvents::OnLocationDialogClose(DialogHandle dialog) {
    Record("OnLocationDialogClose", {dialog});
    if (logic_) logic_->OnLocationDialogClose(dialog);
}

void RecordingEvents::OnPreviewKey(PreviewHandle preview, PreviewKey key, bool pressed) {
    RecordEntry(KeyEntry(preview, key, pressed));
    if (logic_) logic_->OnPreviewKey(preview, key, pressed);
}

void RecordingEvents::OnPreviewTimer(PreviewHandle preview) {
    Record("OnPreviewTimer", {preview});
    if (logic_) logic_->OnPreviewTimer(preview);
}

void RecordingEvents::OnPreviewClose(PreviewHandle preview) {
    Record("OnPreviewClose", {preview});
    if (logic_) logic_->OnPreviewClose(preview);
}

}  // namespace tintwright::testing
