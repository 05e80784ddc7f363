#include "app/SingleInstance.h"

#include "app/Handover.h"
#include "platform/FileSystem.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

SingleInstance::SingleInstance(QString lockFile, QObject* parent) : QObject(parent), lockFile_(std::move(lockFile)) {}

SingleInstance::~SingleInstance()
{
    if (lockFd_ >= 0)
        ::close(lockFd_); // closing releases the lock
}

SingleInstance::Claim SingleInstance::claim(const Command& command)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QString service = QString::fromLatin1(serviceName);
    if (bus.isConnected()) {
        bus.registerObject(QString::fromLatin1(objectPath), this, QDBusConnection::ExportScriptableSlots);
        if (!bus.registerService(service)) {
            const QDBusMessage reply = Handover::call(bus, command);
            return reply.type() == QDBusMessage::ReplyMessage ? Claim::Forwarded : Claim::Refused;
        }
    }
    // One user may have several sessions (and buses) at once; the lock file
    // covers them all.
    return lock() ? Claim::First : Claim::Refused;
}

void SingleInstance::ShowPopover() { Q_EMIT commandReceived({}); }

void SingleInstance::Capture(const QString& kind) { Q_EMIT commandReceived({Command::Action::Capture, kind}); }

void SingleInstance::Record(const QString& target) { Q_EMIT commandReceived({Command::Action::Record, target}); }

void SingleInstance::StopRecording() { Q_EMIT commandReceived({Command::Action::StopRecording, {}}); }

bool SingleInstance::lock()
{
    (void)FileSystem::makeFolders(lockFile_.left(lockFile_.lastIndexOf(QLatin1Char('/'))));
    lockFd_ = ::open(QFile::encodeName(lockFile_).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lockFd_ < 0)
        return true; // a support folder we cannot write to will show itself soon enough
    return ::flock(lockFd_, LOCK_EX | LOCK_NB) == 0;
}
