#pragma once

#include "core/TrackedFile.h"
#include "platform/Status.h"

#include <QStringList>

#include <optional>

class Clipboard;
class FileManager;
class Previewer;
class Trash;

// The file-system side of what a user does to a tracked file. It knows
// nothing of the index: it takes a record and returns the record as it is
// after the action. No action ever replaces a file that is already there.
class FileActions {
public:
    FileActions(Trash& trash, Clipboard& clipboard, FileManager& fileManager, Previewer& previewer);

    // The record with its new path in `folder`, under a free name there.
    StatusOr<TrackedFile> move(const TrackedFile& file, const QString& folder) const;
    // The record renamed in its folder. The name is cleaned first; a name
    // without an extension keeps the file's current one.
    StatusOr<TrackedFile> rename(const TrackedFile& file, const QString& name) const;
    Status trash(const QString& path) const;
    // Files on the clipboard; one picture also as a picture.
    void copy(const QStringList& paths) const;
    void reveal(const QStringList& paths) const;
    std::optional<QString> chooseFolder(const QString& acceptLabel) const;
    void togglePreview(const QStringList& paths, int startAt) const;
    bool isPreviewVisible() const;
    void closePreview() const;

    // "/" (and ":", which other systems refuse) become "-"; white space at
    // both ends and leading dots are dropped. Empty when nothing is left.
    static QString cleanName(const QString& name);
    static bool isPicture(const QString& path);

private:
    Status moveToFree(const QString& from, const QString& folder, const QString& name, QString& movedTo) const;

    Trash& trash_;
    Clipboard& clipboard_;
    FileManager& fileManager_;
    Previewer& previewer_;
};
