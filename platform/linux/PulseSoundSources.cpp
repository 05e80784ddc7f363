#include "platform/linux/PulseSoundSources.h"

#include "platform/linux/PulseConnection.h"
#include "platform/linux/PulseRecordStream.h"

#include <cerrno>

#include <QCoreApplication>

namespace {

// The server's name for `device`, recorded from.
StatusOr<QByteArray> deviceName(PulseConnection& connection, SoundDevice device)
{
    const PulseConnection::Defaults defaults = connection.defaults();
    if (device == SoundDevice::OutputMonitor) {
        if (defaults.sink.isEmpty())
            return Status::failure(ENODEV, QCoreApplication::translate("PulseSoundSources", "The sound server has no output"));
        return QByteArray(defaults.sink + ".monitor");
    }
    if (defaults.source.isEmpty() || defaults.sourceIsMonitor)
        return Status::failure(ENODEV, QCoreApplication::translate("PulseSoundSources", "The sound server has no input other than monitors"));
    return defaults.source;
}

} // namespace

Status PulseSoundSources::open(SoundDevice device, SoundFormat format, std::unique_ptr<SoundSource>& source)
{
    std::unique_ptr<PulseConnection> connection;
    if (Status connected = PulseConnection::connect(connection); !connected.ok())
        return connected;
    const StatusOr<QByteArray> name = deviceName(*connection, device);
    if (!name.ok())
        return name.status();
    return PulseRecordStream::open(std::move(connection), name.value(), format, source);
}

Status PulseSoundSources::find(SoundDevice device)
{
    std::unique_ptr<PulseConnection> connection;
    if (Status connected = PulseConnection::connect(connection); !connected.ok())
        return connected;
    return deviceName(*connection, device).status();
}
