#pragma once

// The main window: caption, icon, menu bar and the 33 controls of the layout
// table at their fixed pixel places in the client area. It only builds and
// wires widgets; what they mean is the logic's business.

#include <QMainWindow>
#include <functional>
#include <map>
#include <vector>

#include "window/Layout.h"
#include "window/WindowSystem.h"

class QMenu;

namespace tintwright::qt {

class QtClientArea;
class QtPaletteStrip;

class QtMainWindow final : public QMainWindow {
    Q_OBJECT
public:
    // postCommand delivers a chosen menu item later, after the menu has closed.
    QtMainWindow(MainWindowEvents& events, std::function<void(int)> postCommand);

    QWidget* Control(int id) const;  // nullptr when the layout has no such control
    QtClientArea* ClientArea() const { return clientArea_; }
    QtPaletteStrip* Strip() const { return strip_; }
    QMenu* Popup(int index) const;  // a menu-bar popup by position, or nullptr

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void BuildMenuBar();
    QMenu* BuildPopup(const MenuPopupEntry& popup);
    void BuildControls();
    QWidget* CreateControl(const ControlEntry& entry);
    QWidget* CreateListBox(const ControlEntry& entry);
    QWidget* CreatePushButton(const ControlEntry& entry);
    QWidget* CreateStatic(const ControlEntry& entry);
    QWidget* CreatePicker(const ControlEntry& entry);
    QWidget* CreateEdit(const ControlEntry& entry);
    QWidget* CreateSlider(const ControlEntry& entry);
    QWidget* CreateCheckBox(const ControlEntry& entry);

    MainWindowEvents& events_;
    std::function<void(int)> postCommand_;
    QtClientArea* clientArea_ = nullptr;  // owned by the window, as are all widgets below
    QtPaletteStrip* strip_ = nullptr;
    std::map<int, QWidget*> controls_;
    std::vector<QMenu*> popups_;
};

}  // namespace tintwright::qt
