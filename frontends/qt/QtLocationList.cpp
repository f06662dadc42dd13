#include "frontends/qt/QtLocationList.h"

#include <QMouseEvent>
#include <QSignalBlocker>

#include "frontends/qt/QtConversions.h"
#include "frontends/qt/QtMousePixel.h"
#include "frontends/qt/QtSortedListItem.h"
#include "window/ControlIds.h"

namespace tintwright::qt {

QtLocationList::QtLocationList(MainWindowEvents& events, int controlId, QWidget* parent)
    : QListWidget(parent), events_(events), controlId_(controlId) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(false);
    setSortingEnabled(true);
    setAttribute(Qt::WA_NoMousePropagation);
    connect(this, &QListWidget::itemSelectionChanged, this,
            [this] { events_.OnCommand(controlId_, ids::kListSelectionChanged); });
    connect(this, &QListWidget::itemDoubleClicked, this,
            [this] { events_.OnCommand(controlId_, ids::kListDoubleClicked); });
}

void QtLocationList::Reset() {
    const QSignalBlocker silent(this);
    clear();
}

void QtLocationList::AddRow(const QString& text) {
    const QSignalBlocker silent(this);
    addItem(new QtSortedListItem(text));  // the list owns its items
}

int QtLocationList::SelectedRow() const {
    const QModelIndexList rows = selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.first().row();
}

QString QtLocationList::RowText(int row) const {
    const QListWidgetItem* found = item(row);
    return found == nullptr ? QString() : found->text();
}

// A list box leaves nothing selected when the selected row goes; Qt would
// select its neighbour, which the next "Remove Address" would then delete.
void QtLocationList::DeleteRow(int row) {
    const QSignalBlocker silent(this);
    const bool wasSelected = row == SelectedRow();
    delete takeItem(row);
    if (wasSelected) selectionModel()->clear();
}

void QtLocationList::ClickAt(const QPoint& listPoint) {
    const QModelIndex index = indexAt(listPoint);
    if (index.isValid() && index.row() != SelectedRow()) setCurrentRow(index.row());
}

// A right press does not select here: the logic selects on the release, as the
// list it was written for does, and then opens its menu.
bool QtLocationList::viewportEvent(QEvent* event) {
    const auto type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            if (type == QEvent::MouseButtonRelease)
                events_.OnListRightButtonUp(MousePixel(*mouse, *viewport()));
            return true;
        }
    }
    return QListWidget::viewportEvent(event);
}

}  // namespace tintwright::qt
