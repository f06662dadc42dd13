#include "frontends/qt/QtSortedListItem.h"

namespace tintwright::qt {

bool QtSortedListItem::operator<(const QListWidgetItem& other) const {
    return text().compare(other.text(), Qt::CaseInsensitive) < 0;
}

}  // namespace tintwright::qt
