#pragma once

// The open and save dialogs, built from a FileDialogRequest. Qt's own dialog
// is used rather than the desktop's, so it looks and behaves the same
// everywhere and tests can drive it.

#include <QFileDialog>
#include <optional>
#include <string>

#include "window/WindowSystem.h"

namespace tintwright::qt {

class QtRomFileDialog final : public QFileDialog {
    Q_OBJECT
public:
    explicit QtRomFileDialog(const FileDialogRequest& request);

    // The chosen path, or nothing when the user cancels.
    static std::optional<std::string> Ask(const FileDialogRequest& request);

public slots:
    void accept() override;

private:
    void ApplyFilters(const FileDialogRequest& request);
    void ApplyInitialPath(const std::string& initialPath);

    bool pathMustExist_;
};

}  // namespace tintwright::qt
