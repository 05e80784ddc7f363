#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The user's file manager and the desktop's folder chooser.
class FileManager {
public:
    virtual ~FileManager() = default;
    // Opens the file manager with these files selected.
    virtual void showItems(const QStringList& paths) = 0;
    // Lets the user pick one folder (which may be created on the way), starting
    // in the home folder; `acceptLabel` names the button that confirms. Nothing
    // when the user cancels.
    virtual std::optional<QString> chooseFolder(const QString& acceptLabel, const QString& message) = 0;
};
