#include "platform/qt/DesktopFileManager.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>

DesktopFileManager::DesktopFileManager(QDBusConnection bus) : bus_(std::move(bus)) {}

void DesktopFileManager::showItems(const QStringList& paths)
{
    if (paths.isEmpty())
        return;
    QStringList uris;
    for (const QString& path : paths)
        uris.append(QString::fromUtf8(QUrl::fromLocalFile(path).toEncoded()));
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"), QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("ShowItems"));
    call << uris << QString();
    const QString folder = QFileInfo(paths.front()).absolutePath();
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call)); // deletes itself below
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, [watcher, folder] {
        // No file manager answers on the bus: open the folder the usual way.
        if (watcher->isError())
            QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
        watcher->deleteLater();
    });
}

std::optional<QString> DesktopFileManager::chooseFolder(const QString& acceptLabel, const QString& message)
{
    QFileDialog dialog(nullptr, message, QDir::homePath());
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setLabelText(QFileDialog::Accept, acceptLabel);
    dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front();
}
