#pragma once

#include <QString>
#include <QStringList>

class DefaultsStore;

// The folders files were last moved to, most recent first, without
// duplicates, at most five, kept in the defaults store.
namespace RecentFolders {

constexpr int kept = 5;

// Folders that no longer exist are left out.
QStringList load(const DefaultsStore& store);
void remember(DefaultsStore& store, const QString& folder);

} // namespace RecentFolders
