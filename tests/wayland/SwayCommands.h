#pragma once

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QStringList>

#include <cstdint>
#include <cstring>

// sway's commands on its own socket, sent in order without waiting for
// their answers: a test that plays the desktop's input for Dropwell shares
// its event loop with Dropwell's capture, which must go on looking at the
// screen while sway moves the pointer and turns the wheel. A process per
// command would stop that loop for each, and the capture would take the
// page for still while it was not looking.
class SwayCommands {
public:
    SwayCommands()
    {
        QObject::connect(&socket_, &QLocalSocket::readyRead, [this] { readAnswers(); });
        socket_.connectToServer(qEnvironmentVariable("SWAYSOCK"));
        socket_.waitForConnected(10000);
    }

    bool connected() const { return socket_.state() == QLocalSocket::ConnectedState; }
    void run(const QString& command)
    {
        const QByteArray payload = command.toUtf8();
        // The IPC header: its magic, then the payload's length and the
        // message type (0, a command), both in the machine's byte order.
        const std::uint32_t header[] {std::uint32_t(payload.size()), 0};
        socket_.write(QByteArrayLiteral("i3-ipc") + QByteArray(reinterpret_cast<const char*>(header), sizeof header) + payload);
        ++sent_;
    }
    // Whether sway has answered every command sent.
    bool allAnswered() const { return answered_ == sent_; }
    // What sway said of the commands it refused.
    QStringList refusals() const { return refusals_; }

private:
    void readAnswers()
    {
        received_ += socket_.readAll();
        constexpr qsizetype headerSize = 6 + 2 * sizeof(std::uint32_t);
        while (received_.size() >= headerSize) {
            std::uint32_t length = 0;
            std::memcpy(&length, received_.constData() + 6, sizeof length);
            if (received_.size() < headerSize + qsizetype(length))
                return;
            const QJsonArray results = QJsonDocument::fromJson(received_.mid(headerSize, length)).array();
            for (const QJsonValue& result : results) {
                if (!result.toObject().value(QStringLiteral("success")).toBool())
                    refusals_.append(result.toObject().value(QStringLiteral("error")).toString());
            }
            received_.remove(0, headerSize + length);
            ++answered_;
        }
    }

    QLocalSocket socket_;
    QByteArray received_;
    int sent_ = 0;
    int answered_ = 0;
    QStringList refusals_;
};
