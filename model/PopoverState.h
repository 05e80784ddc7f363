#pragma once

#include "core/TrackedFile.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <QUuid>

#include <optional>

class FileIndex;

// What the popover shows of the index: the search, the selection, the row
// being renamed and the one-line message. Each change is announced by the
// signal named after the field.
class PopoverState : public QObject {
    Q_OBJECT
public:
    explicit PopoverState(const FileIndex& index);

    const QSet<QUuid>& selectedIDs() const { return selectedIDs_; }
    void setSelectedIDs(const QSet<QUuid>& ids);
    const QString& search() const { return search_; }
    void setSearch(const QString& search);
    // The popover's one-line message: a new one replaces the old, only the
    // user dismisses it.
    const std::optional<QString>& toast() const { return toast_; }
    void setToast(const std::optional<QString>& toast);
    bool isSelecting() const { return isSelecting_; }
    void setSelecting(bool selecting);
    const std::optional<QUuid>& renamingID() const { return renamingID_; }
    void setRenamingID(const std::optional<QUuid>& id);

    // Derived lists, computed on each call.
    TrackedFiles visibleInbox() const; // the Inbox matching the search, newest first
    TrackedFiles selectedFiles() const; // the visible files selected
    // What an action on `file` applies to: the selection when `file` is one
    // of several selected, else `file` alone.
    TrackedFiles targets(const TrackedFile& file) const;

    void selectAllVisible();
    void unselect(const QSet<QUuid>& ids);
    // Drops from the selection what the index no longer holds.
    void pruneSelection();

Q_SIGNALS:
    void selectedIDsChanged();
    void searchChanged();
    void toastChanged();
    void isSelectingChanged();
    void renamingIDChanged();

private:
    const FileIndex& index_;
    QSet<QUuid> selectedIDs_;
    QString search_;
    std::optional<QString> toast_;
    bool isSelecting_ = false;
    std::optional<QUuid> renamingID_;
};
