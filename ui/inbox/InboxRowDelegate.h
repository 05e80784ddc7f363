#pragma once

#include <QStyledItemDelegate>

#include <functional>

class QLineEdit;

// Draws one Inbox row (check circle while selecting, symbol, name, meta line)
// and edits its name in place.
class InboxRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int rowHeight = 46;

    explicit InboxRowDelegate(QObject* parent = nullptr);

    void setSelecting(bool selecting) { selecting_ = selecting; }
    // Where the check circle of a row at `rowRect` sits, grown by the margin
    // that still counts as a click on it.
    static QRect checkHitArea(const QRect& rowRect);
    // Selects the part of a name a person usually renames: everything
    // before the last dot.
    static void selectBaseName(QLineEdit& field);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // The name goes to `onRename`, not into the list's model: the view knows
    // which record is being renamed.
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void setRenameHandler(std::function<void(const QString&)> onRename) { onRename_ = std::move(onRename); }

private:
    QRect nameRect(const QRect& rowRect) const;
    int textLeft(const QRect& rowRect) const;

    bool selecting_ = false;
    std::function<void(const QString&)> onRename_;
};
