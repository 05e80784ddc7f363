#pragma once

#include "app/Command.h"

#include <QObject>
#include <QString>

// Makes sure one Dropwell runs per user, so that two processes never write
// the same index. The first instance owns a name on the session bus (and a
// lock file in its support folder, which also holds without a bus); a later
// one hands its command to it (show the popover, capture, record, stop) and ends.
class SingleInstance : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.dropwell.Dropwell")
public:
    static constexpr const char* serviceName = "org.dropwell.Dropwell";
    static constexpr const char* objectPath = "/org/dropwell/Dropwell";

    enum class Claim {
        First, // this process is the one Dropwell
        Forwarded, // another one runs and was handed the command
        Refused, // another one runs where it cannot be reached
    };

    explicit SingleInstance(QString lockFile, QObject* parent = nullptr);
    ~SingleInstance() override;

    // `command` is what a later instance hands over.
    Claim claim(const Command& command = {});

public Q_SLOTS:
    // Called over D-Bus by a later instance.
    Q_SCRIPTABLE void ShowPopover();
    Q_SCRIPTABLE void Capture(const QString& kind);
    Q_SCRIPTABLE void Record(const QString& target);
    Q_SCRIPTABLE void StopRecording();

Q_SIGNALS:
    void commandReceived(const Command& command);

private:
    bool lock();

    QString lockFile_;
    int lockFd_ = -1;
};
