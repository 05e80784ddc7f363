#include "ui/inbox/InboxTableView.h"

#include "model/AppModel.h"
#include "ui/inbox/InboxListModel.h"
#include "ui/inbox/InboxRowDelegate.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QTimer>

namespace {

// Model calls made from a menu or an event handler run once it returns, so
// the view is never changed under its own feet.
template <typename Call>
void later(QObject* context, Call call)
{
    QTimer::singleShot(0, context, std::move(call));
}

} // namespace

InboxTableView::InboxTableView(AppModel& model, QWidget* parent)
    : QListView(parent)
    , model_(model)
    , list_(new InboxListModel(model, ThumbnailCache::defaultRoot(), this))
    , delegate_(new InboxRowDelegate(this))
{
    setModel(list_);
    setItemDelegate(delegate_);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::CopyAction);
    setFrameShape(QFrame::NoFrame);
    setMouseTracking(true);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAutoFillBackground(false);
    delegate_->setRenameHandler([this](const QString& name) { commitRename(name); });

    connect(&model_, &AppModel::filesChanged, this, &InboxTableView::reload);
    connect(&model_, &AppModel::searchChanged, this, &InboxTableView::reload);
    connect(&model_, &AppModel::selectedIDsChanged, this, &InboxTableView::applyModelSelection);
    connect(&model_, &AppModel::isSelectingChanged, this, &InboxTableView::applySelecting);
    connect(&model_, &AppModel::renamingIDChanged, this, [this] { startRenameIfAsked(); });
    reload();
    applySelecting();
}

InboxTableView::~InboxTableView() = default;

void InboxTableView::reload()
{
    const int scrolled = verticalScrollBar()->value();
    QLineEdit* editor = nameEditor();
    const std::optional<QString> typed = editor ? std::optional(editor->text()) : std::nullopt;
    if (list_->refresh()) {
        // The reset closed any editor and forgot the layout: lay out now, so
        // the old place can be scrolled back to, and reopen the editor.
        doItemsLayout();
        verticalScrollBar()->setValue(scrolled);
    }
    applyModelSelection();
    startRenameIfAsked(typed);
}

QLineEdit* InboxTableView::nameEditor() const
{
    if (!isEditingName())
        return nullptr;
    return qobject_cast<QLineEdit*>(indexWidget(currentIndex()));
}

void InboxTableView::applyModelSelection()
{
    QItemSelection wanted;
    for (int row = 0; row < list_->rowCount(); ++row) {
        if (model_.selectedIDs().contains(list_->file(row).id))
            wanted.select(list_->index(row), list_->index(row));
    }
    const QModelIndexList wantedRows = wanted.indexes();
    const QModelIndexList selectedRows = selectedIndexes();
    if (QSet<QModelIndex>(wantedRows.begin(), wantedRows.end()) == QSet<QModelIndex>(selectedRows.begin(), selectedRows.end()))
        return;
    applyingSelection_ = true; // not an echo back into the model
    selectionModel()->select(wanted, QItemSelectionModel::ClearAndSelect);
    applyingSelection_ = false;
}

void InboxTableView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    QListView::selectionChanged(selected, deselected);
    if (applyingSelection_)
        return;
    QSet<QUuid> ids;
    for (const QModelIndex& index : selectedIndexes())
        ids.insert(list_->file(index.row()).id);
    model_.setSelectedIDs(ids);
}

void InboxTableView::applySelecting()
{
    delegate_->setSelecting(model_.isSelecting());
    viewport()->update();
}

void InboxTableView::selectOnly(int row)
{
    model_.setSelectedIDs({list_->file(row).id});
}

void InboxTableView::mousePressEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    // In selection mode a click on (or near) a row's check circle toggles
    // that row and leaves the others selected.
    if (index.isValid() && model_.isSelecting() && event->button() == Qt::LeftButton
        && InboxRowDelegate::checkHitArea(visualRect(index)).contains(event->position().toPoint())) {
        QSet<QUuid> ids = model_.selectedIDs();
        const QUuid id = list_->file(index.row()).id;
        if (!ids.remove(id))
            ids.insert(id);
        model_.setSelectedIDs(ids);
        event->accept();
        return;
    }
    QListView::mousePressEvent(event);
}

void InboxTableView::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid()) {
        QListView::mouseDoubleClickEvent(event);
        return;
    }
    model_.togglePreviewOf(list_->file(index.row()));
}

std::unique_ptr<QMenu> InboxTableView::contextMenuAt(const QPoint& position)
{
    const QModelIndex index = indexAt(position);
    if (index.isValid() && !selectionModel()->isSelected(index))
        selectOnly(index.row());
    if (model_.selectedFiles().isEmpty()) {
        if (!index.isValid())
            return nullptr;
        selectOnly(index.row());
    }
    auto menu = std::make_unique<QMenu>(this);
    const std::optional<TrackedFile> clicked = index.isValid() ? std::optional(list_->file(index.row())) : std::nullopt;
    menu->addAction(tr("Keep"), this, [this] { later(this, [this] { model_.keep(model_.selectedFiles()); }); });
    menu->addAction(tr("Copy"), this, [this] { later(this, [this] { model_.copySelected(); }); });
    menu->addAction(tr("Rename"), this, [this, clicked] {
        later(this, [this, clicked] {
            const TrackedFiles selected = model_.selectedFiles();
            model_.beginRename(clicked ? clicked : (selected.isEmpty() ? std::nullopt : std::optional(selected.front())));
        });
    });
    menu->addAction(tr("Preview"), this, [this] { later(this, [this] { model_.togglePreviewOfSelection(); }); });
    addOpenWith(*menu, clicked ? *clicked : model_.selectedFiles().front());
    menu->addAction(tr("Show in File Manager"), this, [this] { later(this, [this] { model_.revealSelected(); }); });
    QMenu* moveTo = menu->addMenu(tr("Move to"));
    for (const QString& folder : model_.recentMoveFolders()) {
        moveTo->addAction(QDir(folder).dirName(), this, [this, folder] {
            later(this, [this, folder] { model_.move(model_.selectedFiles(), folder); });
        })->setToolTip(folder);
    }
    if (!model_.recentMoveFolders().isEmpty())
        moveTo->addSeparator();
    moveTo->addAction(tr("Choose Folder…"), this, [this] { later(this, [this] { model_.chooseMove(model_.selectedFiles()); }); });
    menu->addSeparator();
    menu->addAction(tr("Delete"), this, [this] { later(this, [this] { model_.deleteFiles(model_.selectedFiles()); }); });
    return menu;
}

void InboxTableView::addOpenWith(QMenu& menu, const TrackedFile& file)
{
    const QList<OpeningApplication> applications = model_.applicationsFor(file);
    QMenu* openWith = menu.addMenu(tr("Open With"));
    if (applications.isEmpty()) {
        openWith->addAction(tr("No Applications"))->setEnabled(false);
        return;
    }
    for (const OpeningApplication& application : applications) {
        const QString id = application.id;
        openWith->addAction(application.isDefault ? tr("%1 (default)").arg(application.name) : application.name, this,
            [this, file, id] { later(this, [this, file, id] { model_.openWith(file, id); }); });
        if (application.isDefault && applications.size() > 1)
            openWith->addSeparator();
    }
}

void InboxTableView::contextMenuEvent(QContextMenuEvent* event)
{
    if (auto menu = contextMenuAt(viewport()->mapFrom(this, event->pos())))
        menu->exec(event->globalPos());
}

void InboxTableView::startRenameIfAsked(const std::optional<QString>& typed)
{
    const std::optional<QUuid> id = model_.renamingID();
    if (!id || isEditingName())
        return;
    const int row = list_->rowOf(*id);
    if (row < 0) {
        // The file left the list (filtered out, moved away): nothing to rename.
        later(this, [this] { model_.setRenamingID(std::nullopt); });
        return;
    }
    const QModelIndex index = list_->index(row);
    selectOnly(row);
    scrollTo(index);
    setFocus();
    // Only the current row moves: the selection is the model's, and a key
    // still held down must not toggle it.
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    edit(index);
    if (QLineEdit* field = nameEditor()) {
        if (typed)
            field->setText(*typed);
        else
            InboxRowDelegate::selectBaseName(*field);
    }
}

void InboxTableView::commitRename(const QString& typed)
{
    // The record being renamed, wherever it sits now; gone from the list
    // meanwhile, the rename is dropped.
    const std::optional<QUuid> id = model_.renamingID();
    const QString name = typed.trimmed();
    later(this, [this, id, name] {
        model_.setRenamingID(std::nullopt);
        if (!id)
            return;
        const int row = list_->rowOf(*id);
        if (row < 0 || name.isEmpty() || name == list_->file(row).name())
            return;
        model_.commitRename(list_->file(row), name);
    });
}

void InboxTableView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    QListView::closeEditor(editor, hint);
    setFocus();
    if (hint == QAbstractItemDelegate::RevertModelCache) // Escape
        later(this, [this] { model_.setRenamingID(std::nullopt); });
}
