#pragma once

// Control 1099: the sorted, single-selection location list. A selection
// changed by the user reaches the logic as notification 1, a double click as
// notification 2; changes the logic makes itself are silent, as LB_* messages
// are. A right-button release is handed to the logic in list coordinates.

#include <QListWidget>

#include "window/WindowSystem.h"

namespace tintwright::qt {

class QtLocationList final : public QListWidget {
    Q_OBJECT
public:
    QtLocationList(MainWindowEvents& events, int controlId, QWidget* parent);

    void Reset();
    void AddRow(const QString& text);  // placed in sorted order
    int SelectedRow() const;           // -1 when no row is selected
    QString RowText(int row) const;
    void DeleteRow(int row);
    // Selects the row under the point as a left click does, notifying a change.
    void ClickAt(const QPoint& listPoint);

protected:
    bool viewportEvent(QEvent* event) override;

private:
    MainWindowEvents& events_;
    int controlId_;
};

}  // namespace tintwright::qt
