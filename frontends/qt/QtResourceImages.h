#pragma once

// The picker picture and the program icon as Qt images, drawn from the same
// pixel functions the Win32 resources are generated from.

#include <QIcon>
#include <QImage>

namespace tintwright::qt {

QImage PickerImage();  // 320 x 120, opaque
QIcon ProgramIcon();   // 16 x 16 and 32 x 32, transparent around the diamonds

}  // namespace tintwright::qt
