#include "frontends/qt/QtRomFileDialog.h"

#include <QFileInfo>
#include <QMessageBox>

#include "frontends/qt/QtConversions.h"

namespace tintwright::qt {
namespace {

constexpr int kDialogWidth = 800;
constexpr int kDialogHeight = 480;

// "*.*" means every file to the users of these dialogs; on Linux it would
// hide every name without a dot.
QString QtPattern(const std::string& pattern) {
    return pattern == "*.*" ? QStringLiteral("*") : ToQString(pattern);
}

// The description is shown as it is (the pattern in it included); Qt reads
// the pattern it matches from the last parenthesised group.
QString QtFilter(const FileFilter& filter) {
    return ToQString(filter.description) + QStringLiteral(" (") + QtPattern(filter.pattern) +
           QLatin1Char(')');
}

}  // namespace

QtRomFileDialog::QtRomFileDialog(const FileDialogRequest& request)
    : QFileDialog(nullptr, ToQString(request.title)), pathMustExist_(request.pathMustExist) {
    setOption(QFileDialog::DontUseNativeDialog);
    setOption(QFileDialog::HideNameFilterDetails);
    const bool save = request.kind == FileDialogRequest::Kind::Save;
    setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    setFileMode(request.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    setOption(QFileDialog::DontConfirmOverwrite, !request.promptOverwrite);
    setDefaultSuffix(ToQString(request.defaultExtension));
    setWindowFlag(Qt::WindowStaysOnTopHint, request.topmost);
    ApplyFilters(request);
    ApplyInitialPath(request.initialPath);
    resize(kDialogWidth, kDialogHeight);  // wide enough for the size and date columns
}

std::optional<std::string> QtRomFileDialog::Ask(const FileDialogRequest& request) {
    QtRomFileDialog dialog(request);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return std::nullopt;
    return ToStdString(chosen.first());
}

// A name in a folder that does not exist is refused while the dialog is
// still open, instead of failing later when the file is read or written.
void QtRomFileDialog::accept() {
    const QStringList chosen = selectedFiles();
    if (pathMustExist_ && !chosen.isEmpty() && !QFileInfo(chosen.first()).absoluteDir().exists()) {
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("The folder of this name does not exist:\n") + chosen.first());
        return;
    }
    QFileDialog::accept();
}

void QtRomFileDialog::ApplyFilters(const FileDialogRequest& request) {
    QStringList filters;
    for (const FileFilter& filter : request.filters) filters << QtFilter(filter);
    setNameFilters(filters);
    const int selected = request.selectedFilter - 1;  // the request counts from 1
    if (selected >= 0 && selected < filters.size()) selectNameFilter(filters[selected]);
}

void QtRomFileDialog::ApplyInitialPath(const std::string& initialPath) {
    if (initialPath.empty()) return;  // Qt starts in the current folder, as the others do
    const QFileInfo info(ToQString(initialPath));
    setDirectory(info.absolutePath());
    selectFile(info.fileName());
}

}  // namespace tintwright::qt
