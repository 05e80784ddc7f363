#pragma once

#include "core/TrackedFile.h"

#include <QObject>
#include <QUuid>

class FolderService;
class Persistence;
class StartNotes;

// The records of the files Dropwell tracks, and the index file that keeps
// them. Whoever changes records saves the index and announces the change;
// a batch does both once, at its end.
class FileIndex : public QObject {
    Q_OBJECT
public:
    FileIndex(const Persistence& persistence, const FolderService& folders);

    const TrackedFiles& files() const { return files_; }
    // For passes over many records, changed in place.
    TrackedFiles& records() { return files_; }

    // Reads the index file, keeping an unreadable one aside.
    void load(StartNotes& notes);
    void save();
    // Announces a change through changed().
    void announce() { Q_EMIT changed(); }
    void saveAndAnnounce();
    // Stores one record, replaced where its id is, else put first; saves and announces.
    void update(const TrackedFile& file);
    // Stores without saving.
    void store(const TrackedFile& file);
    void remove(const QUuid& id);

    // Derived lists, computed on each call.
    TrackedFiles inboxItems() const; // newest first
    TrackedFiles expiredItems() const; // most recently expired first
    int inboxCount() const;

Q_SIGNALS:
    void changed();

private:
    const Persistence& persistence_;
    const FolderService& folders_;
    TrackedFiles files_;
};
