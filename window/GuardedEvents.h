#pragma once

// The logic's events with the exception barrier around each one: a front end
// that hands its events to this instead of the logic itself can call them
// from anywhere (slots, event handlers, timers) without an exception ever
// reaching the window system.

#include "window/ExceptionBarrier.h"
#include "window/WindowSystem.h"

namespace tintwright {

class GuardedEvents final : public MainWindowEvents {
public:
    GuardedEvents(MainWindowEvents& logic, ExceptionReporter report) : logic_(logic), report_(report) {}

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
    template <typename Call>
    void Run(Call&& call) {
        Guarded(report_, std::forward<Call>(call));
    }

    MainWindowEvents& logic_;
    ExceptionReporter report_;
};

}  // namespace tintwright
