#include "mainwindow/MainWindow.h"

#include "editor/GradientFill.h"
#include "window/ControlIds.h"
#include "window/Layout.h"

namespace tintwright {

// The whole of the command routing: menu items, buttons and the check box.
// An id that is not here does nothing.
const MainWindow::CommandRow MainWindow::kCommandTable[] = {
    {ids::kExit, [](MainWindow& w) { w.Exit(); }},
    {ids::kAbout, [](MainWindow& w) { w.About(); }},
    {ids::kForwardEightButton, [](MainWindow& w) { w.view_.MoveView(16); }},
    {ids::kBackEightButton, [](MainWindow& w) { w.view_.MoveView(-16); }},
    {ids::kForwardOneButton, [](MainWindow& w) { w.view_.MoveView(2); }},
    {ids::kBackOneButton, [](MainWindow& w) { w.view_.MoveView(-2); }},
    {ids::kGotoButton, [](MainWindow& w) { w.view_.GoToOffset(); }},
    {ids::kCurrentButton, [](MainWindow& w) { w.view_.ShowSelectedOffset(); }},
    {ids::kApplyButton, [](MainWindow& w) { w.colorCommands_.Apply(); }},
    {ids::kMinusButton, [](MainWindow& w) { w.colors_.StepDown(); }},
    {ids::kPlusButton, [](MainWindow& w) { w.colors_.StepUp(); }},
    {ids::kStoreColorButton, [](MainWindow& w) { w.colors_.StoreCurrentColor(); }},
    {ids::kRecallColorButton, [](MainWindow& w) { w.colors_.RecallStoredColor(); }},
    {ids::kUndoSelected, [](MainWindow& w) { w.colorCommands_.UndoSelected(); }},
    {ids::kUndoViewArea, [](MainWindow& w) { w.colorCommands_.UndoViewArea(); }},
    {ids::kUpdateUndoBuffer, [](MainWindow& w) { w.colorCommands_.UpdateUndoBuffer(); }},
    {ids::kFindFirstButton, [](MainWindow& w) { w.colorCommands_.FindFirst(); }},
    {ids::kFindNextButton, [](MainWindow& w) { w.colorCommands_.FindNext(); }},
    {ids::kGradientFill, [](MainWindow& w) { FillGradient(w.view_, w.state_.rom); }},
    {ids::kColorPickButton, [](MainWindow& w) { w.picking_.PickSystemColor(); }},
    {ids::kTrackCheckBox, [](MainWindow& w) { w.picking_.OnTrackingBoxClicked(); }},
    {ids::kAddAddress, [](MainWindow& w) { w.locationDialogs_.OpenAddForm(); }},
    {ids::kEditAddress, [](MainWindow& w) { w.locationDialogs_.OpenEditForm(); }},
    {ids::kRemoveAddress, [](MainWindow& w) { w.locations_.RemoveAddress(); }},
    {ids::kOpen, [](MainWindow& w) { w.files_.OpenSourceRom(); }},
    {ids::kSave, [](MainWindow& w) { w.files_.Save(); }},
    {ids::kSaveAs, [](MainWindow& w) { w.files_.ChooseSaveRom(); }},
    {ids::kSaveAndRun, [](MainWindow& w) { w.files_.SaveAndRun(); }},
    {ids::kReloadSource, [](MainWindow& w) { w.files_.RevertToSource(); }},
    {ids::kUndoAll, [](MainWindow& w) { w.files_.RevertToSource(); }},
    {ids::kShowFileSettings, [](MainWindow& w) { w.files_.ShowFileSettings(); }},
};

MainWindow::MainWindow(WindowSystem& windowSystem, ProgramState& state)
    : windowSystem_(windowSystem),
      state_(state),
      colors_(windowSystem),
      view_(windowSystem, state.rom, colors_),
      strip_(windowSystem, state.rom, view_, colors_),
      colorCommands_(windowSystem, state.rom, view_, colors_),
      picking_(windowSystem, view_, colors_),
      locations_(windowSystem, state.settingsPath),
      locationDialogs_(windowSystem, state.settingsPath, locations_),
      captureSearch_(windowSystem, state.rom, view_, state.settingsPath),
      fileDrop_(windowSystem, state.rom, view_, captureSearch_),
      gamePreview_(windowSystem, state.rom, state.settingsPath),
      files_(windowSystem, state) {
    captureSearch_.OnFinished(
        [this](const std::string& fileName, const Capture& capture, const SearchResult& result) {
            return gamePreview_.Open(fileName, capture, result);
        });
}

MainWindow::~MainWindow() {
    StopListening();
}

// While the window exists its view and search follow the working copy; the
// search hears first, so a new file stops it before the view shows the file.
void MainWindow::OnInitDialog() {
    state_.rom.AddListener(captureSearch_);
    state_.rom.AddListener(view_);
    state_.rom.AddListener(gamePreview_);
    locations_.LoadLocationList();
    view_.Refresh();
    for (const int slider : {ids::kRedSlider, ids::kGreenSlider, ids::kBlueSlider}) {
        windowSystem_.SetSliderRangeMax(slider, 255);
    }
    windowSystem_.StartTimer(ids::kTrackingTimer, ids::kTrackingPeriodMs);
    if (state_.stateToSearch && state_.rom.IsLoaded()) fileDrop_.SearchFile(*state_.stateToSearch);
    state_.stateToSearch.reset();
}

int MainWindow::OnCommand(int id, int notificationCode) {
    // Only the location list sends these codes; they are routed before the id.
    if (notificationCode == ids::kListDoubleClicked || notificationCode == ids::kListSelectionChanged) {
        locations_.ShowSelectedOffset(notificationCode == ids::kListDoubleClicked);
        return 1;
    }
    for (const CommandRow& row : kCommandTable) {
        if (row.id == id) {
            row.operation(*this);
            break;
        }
    }
    return 0;
}

void MainWindow::OnHScroll(int controlId) {
    colors_.OnSliderMoved(controlId);
}

// A press anywhere on the window stops a running palette search, as its
// progress in the status line says.
void MainWindow::OnLeftButtonDown(Point client) {
    captureSearch_.Stop();
    picking_.StartDrag(client);
}

void MainWindow::OnMouseMove(Point client) {
    picking_.OnMouseMove(client);
}

// The drag ends first, so a press on the picture released over the strip
// picks and then selects.
void MainWindow::OnLeftButtonUp(Point client) {
    picking_.EndDrag();
    strip_.SelectStripCell(client);
}

void MainWindow::OnRightButtonUp(Point client) {
    strip_.ShowToolsMenu(client);
}

void MainWindow::OnXButtonUp(int button) {
    view_.OnXButtonUp(button);
}

void MainWindow::OnMouseWheel(std::int16_t delta) {
    view_.OnMouseWheel(delta);
}

void MainWindow::OnTimer() {
    picking_.TrackScreenColor();
    captureSearch_.OnTimer();
}

void MainWindow::OnListChanged() {
    locations_.ReloadLocationList();
}

void MainWindow::OnClose() {
    // Nothing is asked and nothing is saved: closing is how users discard edits.
    state_.rom.Release();
    windowSystem_.DestroyMainWindow();
}

void MainWindow::OnDestroy() {
    StopListening();
    gamePreview_.Close();
    windowSystem_.StopTimer(ids::kTrackingTimer);
    windowSystem_.PostQuit(0);
}

void MainWindow::OnEditKeyUp(int) {
    colors_.ApplyRgbEdits();
}
void MainWindow::OnListRightButtonUp(Point listClient) {
    locations_.OnListRightButtonUp(listClient);
}

void MainWindow::OnFilesDropped(std::vector<std::string> paths, Point client) {
    fileDrop_.OnFilesDropped(paths, client);
}

void MainWindow::PaintStrip(StripCanvas& canvas) {
    tintwright::PaintStrip(view_, canvas);
}

// The no-colour value of a cell outside the file, once made current, is no
// colour a window system knows (GDI paints it black); its boxes read 255, 255,
// 255 and Apply writes white, so its swatch shows white.
RgbColor MainWindow::SwatchColor(int controlId) {
    const RgbColor color = controlId == ids::kStoredSwatch ? colors_.StoredColor() : colors_.CurrentColor();
    return color == kNoColor ? 0xFFFFFF : color;
}

void MainWindow::OnLocationDialogInit(DialogHandle dialog, LocationDialogForm form, std::uint32_t parameter) {
    locationDialogs_.OnInit(dialog, form, parameter);
}

void MainWindow::OnLocationDialogCommand(DialogHandle dialog, int id, int notificationCode) {
    locationDialogs_.OnCommand(dialog, id, notificationCode);
}

void MainWindow::OnLocationDialogClose(DialogHandle dialog) {
    locationDialogs_.OnClose(dialog);
}

void MainWindow::OnPreviewKey(PreviewHandle preview, PreviewKey key, bool pressed) {
    gamePreview_.OnKey(preview, key, pressed);
}

void MainWindow::OnPreviewTimer(PreviewHandle preview) {
    gamePreview_.OnTimer(preview);
}

void MainWindow::OnPreviewClose(PreviewHandle preview) {
    gamePreview_.OnClose(preview);
}

void MainWindow::StopListening() {
    state_.rom.RemoveListener(gamePreview_);
    state_.rom.RemoveListener(view_);
    state_.rom.RemoveListener(captureSearch_);
}

void MainWindow::About() {
    windowSystem_.ShowMessageBox(kAboutText, kMainWindowCaption, box::kOk | box::kIconInformation);
}

void MainWindow::Exit() {
    OnClose();
}

}  // namespace tintwright
