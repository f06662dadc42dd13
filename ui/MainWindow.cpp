#include "ui/MainWindow.h"

#include "ui/PaletteStrip.h"
#include "window/ControlIds.h"
#include "window/Layout.h"

namespace tintwright {

// The whole of the command routing. An id that is not here does nothing.
const MainWindow::CommandRow MainWindow::kCommandTable[] = {
    {ids::kExit, &MainWindow::Exit},
    {ids::kAbout, &MainWindow::About},
    {ids::kForwardEightButton, &MainWindow::ForwardEight},
    {ids::kBackEightButton, &MainWindow::BackEight},
    {ids::kForwardOneButton, &MainWindow::ForwardOne},
    {ids::kBackOneButton, &MainWindow::BackOne},
    {ids::kGotoButton, &MainWindow::GoToOffset},
    {ids::kCurrentButton, &MainWindow::ShowSelectedOffset},
};

MainWindow::MainWindow(WindowSystem& windowSystem, ProgramState& state)
    : windowSystem_(windowSystem),
      state_(state),
      view_(windowSystem, state.rom, colors_),
      locations_(windowSystem, state.settingsPath) {}

void MainWindow::OnInitDialog() {
    locations_.LoadLocationList();
    view_.Refresh();
    for (const int slider : {ids::kRedSlider, ids::kGreenSlider, ids::kBlueSlider}) {
        windowSystem_.SetSliderRangeMax(slider, 255);
    }
    windowSystem_.StartTimer(ids::kTrackingTimer, ids::kTrackingPeriodMs);
}

int MainWindow::OnCommand(int id, int notificationCode) {
    // Only the location list sends these codes; they are routed before the id.
    if (notificationCode == ids::kListDoubleClicked || notificationCode == ids::kListSelectionChanged) {
        return 1;
    }
    for (const CommandRow& row : kCommandTable) {
        if (row.id == id) {
            (this->*row.operation)();
            break;
        }
    }
    return 0;
}

void MainWindow::OnHScroll(int) {}
void MainWindow::OnLeftButtonDown(Point) {}
void MainWindow::OnMouseMove(Point) {}
void MainWindow::OnLeftButtonUp(Point) {}
void MainWindow::OnRightButtonUp(Point) {}

void MainWindow::OnXButtonUp(int button) { view_.OnXButtonUp(button); }

void MainWindow::OnMouseWheel(std::int16_t delta) { view_.OnMouseWheel(delta); }

void MainWindow::OnTimer() {}

void MainWindow::OnListChanged() { locations_.ReloadLocationList(); }

void MainWindow::OnClose() {
    // Nothing is asked and nothing is saved: closing is how users discard edits.
    state_.rom.Release();
    windowSystem_.DestroyMainWindow();
}

void MainWindow::OnDestroy() {
    windowSystem_.StopTimer(ids::kTrackingTimer);
    windowSystem_.PostQuit(0);
}

void MainWindow::OnEditKeyUp(int) {}
void MainWindow::OnListRightButtonUp(Point) {}

void MainWindow::PaintStrip(StripCanvas& canvas) { tintwright::PaintStrip(view_, canvas); }

RgbColor MainWindow::SwatchColor(int controlId) {
    return controlId == ids::kStoredSwatch ? colors_.StoredColor() : colors_.CurrentColor();
}

void MainWindow::OnLocationDialogInit(DialogHandle, LocationDialogForm, std::uint32_t) {}
void MainWindow::OnLocationDialogCommand(DialogHandle, int, int) {}
void MainWindow::OnLocationDialogClose(DialogHandle dialog) { windowSystem_.EndLocationDialog(dialog); }

void MainWindow::About() {
    windowSystem_.ShowMessageBox(kAboutText, kMainWindowCaption, box::kOk | box::kIconInformation);
}

void MainWindow::Exit() { OnClose(); }

}  // namespace tintwright
