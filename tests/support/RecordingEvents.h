#pragma once

// A MainWindowEvents that writes down every event a front end delivers, as
// text such as "OnLeftButtonUp 100 240", and then hands it to the real logic
// when there is one. Both front ends' window tests stand it between the real
// window and the logic, so each can check its half of the seam's contract
// (coordinates, ids, codes). It has no test framework in it: the Win32 tests
// build it for Windows.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "window/WindowSystem.h"

namespace tintwright::testing {

class RecordingEvents final : public MainWindowEvents {
public:
    explicit RecordingEvents(MainWindowEvents* logic = nullptr) : logic_(logic) {}

    std::vector<std::string> log;
    // Swatches listed here show these colours instead of the logic's.
    std::map<int, RgbColor> swatchColors;
    std::function<void()> onInitDialog;  // runs after the logic's own initialisation
    // Runs as each event is written down, before the logic hears of it; a test
    // can make an event fail here.
    std::function<void(const std::string& entry)> onEvent;
    // The right-button events open menus that wait for a user; a test with no
    // one to answer them sets this, and they are only written down.
    bool holdRightButtons = false;

    // How often an entry was written, given as name and values: Count("OnCommand", {1001, 0}).
    int Count(const std::string& name, std::initializer_list<int> values = {}) const;
    static std::string Entry(const std::string& name, std::initializer_list<int> values = {});
    // A preview key's entry: "OnPreviewKey 1 14 1" for L (14) pressed in preview 1.
    static std::string KeyEntry(PreviewHandle preview, PreviewKey key, bool pressed);
    // A drop's entry: "OnFilesDropped 100 250 \"/tmp/a.pal\"", each path in quotes.
    static std::string DropEntry(const std::vector<std::string>& paths, Point client);
    // How often an event of this name was written, whatever its values.
    int CountNamed(const std::string& name) const;
    // The entries other than timer ticks (the main window's and the previews'),
    // which arrive whenever they like.
    std::vector<std::string> WithoutTicks() const;
    // Whether these entries were written in this order, others between them allowed.
    bool ContainsInOrder(const std::vector<std::string>& entries) const;

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
    void OnFilesDropped(std::vector<std::string> paths, Point client) override;
    void PaintStrip(StripCanvas& canvas) override;
    RgbColor SwatchColor(int controlId) override;
    void OnLocationDialogInit(DialogHandle dialog, LocationDialogForm form, std::uint32_t parameter) override;
    void OnLocationDialogCommand(DialogHandle dialog, int id, int notificationCode) override;
    void OnLocationDialogClose(DialogHandle dialog) override;
    void OnPreviewKey(PreviewHandle preview, PreviewKey key, bool pressed) override;
    void OnPreviewTimer(PreviewHandle preview) override;
    void OnPreviewClose(PreviewHandle preview) override;

private:
    void Record(const std::string& name, std::initializer_list<int> values = {});
    void RecordEntry(std::string entry);

    MainWindowEvents* logic_;
};

}  // namespace tintwright::testing
