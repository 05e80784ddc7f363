#pragma once

// sway itself, for the tests inside its session: what it shows, and its
// commands.

#include <QImage>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// The output as the compositor has it now.
inline QImage compositorPicture(const QString& output)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("grim.png"));
    QProcess grim;
    grim.start(QStringLiteral("grim"), {QStringLiteral("-o"), output, path});
    if (!grim.waitForFinished(10000) || grim.exitCode() != 0)
        return {};
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

// Quiet unless it fails, so that sway's answers do not bury a failing
// test's own message.
inline bool swaymsg(const QString& command)
{
    QProcess sway;
    sway.setProcessChannelMode(QProcess::MergedChannels);
    sway.start(QStringLiteral("swaymsg"), {command});
    if (sway.waitForFinished(10000) && sway.exitStatus() == QProcess::NormalExit && sway.exitCode() == 0)
        return true;
    qWarning("swaymsg %s: %s", qPrintable(command), sway.readAll().constData());
    return false;
}
