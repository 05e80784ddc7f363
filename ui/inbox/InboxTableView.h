#pragma once

#include "core/TrackedFile.h"

#include <QListView>

#include <optional>

class AppModel;
class InboxListModel;
class InboxRowDelegate;
class QLineEdit;

// The Inbox list in the popover: multiple selection kept in step with the
// model's selection both ways, selection mode with check circles, inline
// rename, dragging files out, the context menu and double click to preview.
class InboxTableView : public QListView {
    Q_OBJECT
public:
    explicit InboxTableView(AppModel& model, QWidget* parent = nullptr);
    ~InboxTableView() override;

    InboxListModel& listModel() const { return *list_; }
    // Re-reads the rows; keeps the scroll position and any edit in progress.
    void reload();
    bool isEditingName() const { return state() == QAbstractItemView::EditingState; }
    // Builds the context menu for a click at `position` (in viewport
    // coordinates); nothing when there is no file to act on.
    std::unique_ptr<QMenu> contextMenuAt(const QPoint& position);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    void addOpenWith(QMenu& menu, const TrackedFile& file);
    void applyModelSelection();
    void applySelecting();
    // Opens the name editor on the row the model asked to rename; `typed`
    // carries over what was typed into an editor that a reload closed.
    void startRenameIfAsked(const std::optional<QString>& typed = std::nullopt);
    QLineEdit* nameEditor() const;
    void commitRename(const QString& name);
    void selectOnly(int row);

    AppModel& model_;
    InboxListModel* list_;
    InboxRowDelegate* delegate_;
    bool applyingSelection_ = false;
};
