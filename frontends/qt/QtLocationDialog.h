#pragma once

// The modeless location dialog (template 8000): a small tool window with two
// fields and two buttons at the template's places. Clicks and the close box go
// to the logic with the dialog's handle; the logic ends the dialog itself.

#include <QWidget>
#include <map>
#include <string>

#include "window/Layout.h"
#include "window/WindowSystem.h"

namespace tintwright::qt {

class QtLocationDialog final : public QWidget {
    Q_OBJECT
public:
    QtLocationDialog(MainWindowEvents& events, DialogHandle handle);

    // Item 0 is the caption.
    void SetItemText(int id, const QString& text);
    std::string ItemText(int id, std::size_t maxChars) const;
    void EnableItem(int id, bool enabled);
    void ShowItem(int id, bool shown);
    QWidget* Item(int id) const;  // nullptr when the template has no such item

protected:
    void closeEvent(QCloseEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    QWidget* CreateItem(const ControlEntry& entry);

    MainWindowEvents& events_;
    DialogHandle handle_;
    std::map<int, QWidget*> items_;  // owned by the dialog
};

}  // namespace tintwright::qt
