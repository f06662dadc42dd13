#pragma once

// The main window's logic: its initialisation, the routing of every message
// and command to the piece that owns it, and About, Exit and closing.

#include <cstdint>
#include <string_view>

#include "app/ProgramState.h"
#include "app/RomFiles.h"
#include "editor/ColorCommands.h"
#include "editor/ColorEditor.h"
#include "editor/PaletteView.h"
#include "locations/LocationBook.h"
#include "locations/LocationDialogs.h"
#include "mainwindow/CaptureSearch.h"
#include "mainwindow/ColorPicking.h"
#include "mainwindow/FileDrop.h"
#include "mainwindow/GamePreview.h"
#include "mainwindow/PaletteStrip.h"
#include "window/Version.h"
#include "window/WindowSystem.h"

namespace tintwright {

inline constexpr std::string_view kAboutText =
    "Tintwright " TINTWRIGHT_VERSION " - edits the colour palettes inside Super Nintendo ROM images.";

class MainWindow final : public MainWindowEvents {
public:
    MainWindow(WindowSystem& windowSystem, ProgramState& state);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

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

    const PaletteView& View() const { return view_; }
    const ColorEditor& Colors() const { return colors_; }

private:
    struct CommandRow {
        int id;
        void (*operation)(MainWindow& window);
    };
    static const CommandRow kCommandTable[];

    void StopListening();
    void About();
    void Exit();

    WindowSystem& windowSystem_;
    ProgramState& state_;
    ColorEditor colors_;
    PaletteView view_;
    PaletteStrip strip_;
    ColorCommands colorCommands_;
    ColorPicking picking_;
    LocationBook locations_;
    LocationDialogs locationDialogs_;
    CaptureSearch captureSearch_;
    FileDrop fileDrop_;
    GamePreview gamePreview_;
    RomFiles files_;
};

}  // namespace tintwright
