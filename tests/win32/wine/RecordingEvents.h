#pragma once

// Stands between the window and the real main-window logic: it passes every
// event on and writes down what the window system delivered, so a test can
// check the front end's half of the contract (coordinates, ids, codes).
// The two right-button events, which pop up menus, are only written down.

#include <optional>
#include <vector>

#include "window/WindowSystem.h"

namespace tintwright::testing {

struct MouseEvent {
    enum class Kind { LeftDown, Move, LeftUp, RightUp, ListRightUp };
    Kind kind;
    Point point;
    friend bool operator==(const MouseEvent&, const MouseEvent&) = default;
};

struct CommandEvent {
    int id;
    int code;
    friend bool operator==(const CommandEvent&, const CommandEvent&) = default;
};

class RecordingEvents final : public MainWindowEvents {
public:
    explicit RecordingEvents(MainWindowEvents& logic) : logic_(logic) {}

    std::vector<CommandEvent> commands;
    std::vector<MouseEvent> mouse;
    std::vector<int> scrolledControls;
    std::vector<int> keyUpEdits;
    std::vector<int> xButtons;
    std::vector<std::int16_t> wheelDeltas;
    int timerTicks = 0;
    int listChanges = 0;
    int initialisations = 0;
    int destructions = 0;
    std::vector<DialogHandle> dialogInits;
    std::vector<std::pair<DialogHandle, CommandEvent>> dialogCommands;
    std::optional<RgbColor> swatchOverride;  // paints both swatches in this colour

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
    void OnClose() override { logic_.OnClose(); }
    void OnDestroy() override;
    void OnEditKeyUp(int editId) override;
    void OnListRightButtonUp(Point listClient) override;
    void PaintStrip(StripCanvas& canvas) override { logic_.PaintStrip(canvas); }
    RgbColor SwatchColor(int controlId) override;
    void OnLocationDialogInit(DialogHandle dialog, LocationDialogForm form, std::uint32_t parameter) override;
    void OnLocationDialogCommand(DialogHandle dialog, int id, int notificationCode) override;
    void OnLocationDialogClose(DialogHandle dialog) override { logic_.OnLocationDialogClose(dialog); }

private:
    MainWindowEvents& logic_;
};

}  // namespace tintwright::testing
