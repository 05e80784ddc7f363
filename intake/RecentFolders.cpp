#include "intake/RecentFolders.h"

#include "core/DefaultsKeys.h"
#include "platform/DefaultsStore.h"
#include "platform/FileSystem.h"

#include <QDir>

namespace RecentFolders {

QStringList load(const DefaultsStore& store)
{
    QStringList folders = store.stringList(DefaultsKeys::recentMoveFolders);
    folders.removeIf([](const QString& folder) { return !FileSystem::isFolder(folder); });
    return folders;
}

void remember(DefaultsStore& store, const QString& folder)
{
    const QString path = QDir::cleanPath(folder);
    QStringList folders = load(store);
    folders.removeAll(path);
    folders.prepend(path);
    store.setStringList(DefaultsKeys::recentMoveFolders, folders.mid(0, kept));
}

} // namespace RecentFolders
