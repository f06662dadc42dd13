#pragma once

// A MainWindowEvents that writes down every event the front end delivers, as
// text such as "OnLeftButtonUp 100 240", and then hands it to the real logic
// when there is one. Without logic, swatches show the colours a test sets.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "window/WindowSystem.h"

namespace tintwright::qt::testing {

class RecordingEvents final : public MainWindowEvents {
public:
    explicit RecordingEvents(MainWindowEvents* logic = nullptr) : logic_(logic) {}

    std::vector<std::string> log;
    std::map<int, RgbColor> swatchColors;  // used without logic
    std::function<void()> onInitDialog;    // runs after the logic's own initialisation

    // How often an entry was written, given as name and values: Count("OnCommand", {1001, 0}).
    int Count(const std::string& name, std::initializer_list<int> values = {}) const;
    static std::string Entry(const std::string& name, std::initializer_list<int> values = {});
    // The entries other than timer ticks, which arrive whenever they like.
    std::vector<std::string> WithoutTicks() const;

    void OnInitDialog() override;
    int OnCommand(int id, int notificationCode) override;
    void OnHScroll(int controlId) override;
    void OnLeftButtonDown(Point client) override;
    void OnMouseMove(Point client) override;
    void OnLeftButtonUp(Point client) override;
    void OnRightButtonUp(Point client) override;
    void OnXButtonUp(int button) override;
    void OnMouseWheel(std::int16_t delta) override;
    void OnTimer() override;
    void OnListChanged() override;
    void OnClose() override;
    void OnDestroy() override;
    void OnEditKeyUp(int editId) override;
    void OnListRightButtonUp(Point listClient) override;
    void PaintStrip(StripCanvas& canvas) override;
    RgbColor SwatchColor(int controlId) override;
    void OnLocationDialogInit(DialogHandle dialog, LocationDialogForm form, std::uint32_t parameter) override;
    void OnLocationDialogCommand(DialogHandle dialog, int id, int notificationCode) override;
    void OnLocationDialogClose(DialogHandle dialog) override;

private:
    void Record(const std::string& name, std::initializer_list<int> values = {});

    MainWindowEvents* logic_;
};

}  // namespace tintwright::qt::testing
