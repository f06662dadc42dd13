#include "frontends/qt/QtColorChoice.h"

#include <QColorDialog>
#include <algorithm>

#include "frontends/qt/QtConversions.h"

namespace tintwright::qt {

// The dialog opens at black, not at the current colour, and its custom colours
// are the request's, made afresh each time.
std::optional<RgbColor> AskColor(const ColorDialogRequest& request, QWidget* owner) {
    const int customCount =
        std::min(QColorDialog::customCount(), static_cast<int>(request.customColors.size()));
    for (int i = 0; i < customCount; ++i) {
        QColorDialog::setCustomColor(i, ToQColor(request.customColors[static_cast<std::size_t>(i)]));
    }
    QColorDialog dialog(QColor(0, 0, 0), owner);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return FromQColor(dialog.selectedColor());
}

}  // namespace tintwright::qt
