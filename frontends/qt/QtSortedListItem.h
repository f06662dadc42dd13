#pragma once

// A location list row that sorts without regard to case, as a sorted Win32
// list box does: Alpha, beta, Gamma rather than Alpha, Gamma, beta.

#include <QListWidgetItem>

namespace tintwright::qt {

class QtSortedListItem final : public QListWidgetItem {
public:
    explicit QtSortedListItem(const QString& text) : QListWidgetItem(text) {}

    bool operator<(const QListWidgetItem& other) const override;
};

}  // namespace tintwright::qt
