// The desktop services over a private session bus and a real X server:
// notifications and revealing files reach stand-in servers with exactly what
// Dropwell means to say, and the clipboard holds what file managers paste.
#include "platform/linux/DBusNotifier.h"
#include "platform/qt/DesktopClipboard.h"
#include "platform/qt/DesktopFileManager.h"
#include "tests/support/TestSupport.h"

#include <QClipboard>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QTest>

// What a notification server on the bus receives: per notification, the
// application, the one it replaces, summary, body and Dropwell's identifier.
class NotificationServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QList<QStringList> received;

public Q_SLOTS:
    Q_SCRIPTABLE uint Notify(const QString& appName, uint replacesId, const QString&, const QString& summary,
        const QString& body, const QStringList&, const QVariantMap& hints, int)
    {
        received.append({appName, QString::number(replacesId), summary, body,
            hints.value(QString::fromLatin1(DBusNotifier::identifierHint)).toString()});
        return uint(received.size());
    }
};

class FileManagerServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")
public:
    QStringList shown;

public Q_SLOTS:
    Q_SCRIPTABLE void ShowItems(const QStringList& uris, const QString&) { shown = uris; }
};

class DesktopServicesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(servers.isConnected(), "the test runs on a private session bus (support/run-in-session)");
        const auto serve = [this](const QString& name, QObject* server) {
            return servers.registerObject(QLatin1Char('/') + QString(name).replace(QLatin1Char('.'), QLatin1Char('/')), server,
                       QDBusConnection::ExportScriptableSlots)
                && servers.registerService(name);
        };
        QVERIFY(serve(QStringLiteral("org.freedesktop.Notifications"), &notificationServer));
        QVERIFY(serve(QStringLiteral("org.freedesktop.FileManager1"), &fileManagerServer));
    }

    // Neither notification replaces the other.
    void notificationsCarryTitleBodyAndIdentifier()
    {
        DBusNotifier notifier;
        notifier.post({QStringLiteral("Dropwell"), QStringLiteral("1 file expired."), QStringLiteral("org.dropwell.expiry.A")});
        notifier.post({QStringLiteral("Dropwell"), QStringLiteral("2 files expired."), QStringLiteral("org.dropwell.expiry.B")});
        QTRY_COMPARE(notificationServer.received,
            QList<QStringList>({{QStringLiteral("Dropwell"), QStringLiteral("0"), QStringLiteral("Dropwell"), QStringLiteral("1 file expired."), QStringLiteral("org.dropwell.expiry.A")},
                {QStringLiteral("Dropwell"), QStringLiteral("0"), QStringLiteral("Dropwell"), QStringLiteral("2 files expired."), QStringLiteral("org.dropwell.expiry.B")}}));
    }

    void revealAsksTheFileManager()
    {
        DesktopFileManager fileManager;
        fileManager.showItems({QStringLiteral("/home/ann/Dropwell/Inbox/a b.png"), QStringLiteral("/tmp/c.txt")});
        QTRY_COMPARE(fileManagerServer.shown,
            QStringList({QStringLiteral("file:///home/ann/Dropwell/Inbox/a%20b.png"), QStringLiteral("file:///tmp/c.txt")}));
    }

    void clipboardHoldsFilesAndOnePicture()
    {
        TestWorld world;
        const QString picture = world.path(QStringLiteral("shot.png"));
        QImage image(4, 3, QImage::Format_RGB32);
        image.fill(Qt::red);
        QVERIFY(image.save(picture));
        const QString text = world.path(QStringLiteral("notes.txt"));
        writeFile(text);

        DesktopClipboard clipboard;
        clipboard.copyFiles({picture}, true);
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data);
        QCOMPARE(data->urls(), QList<QUrl>({QUrl::fromLocalFile(picture)}));
        QCOMPARE(data->data(QStringLiteral("x-special/gnome-copied-files")), "copy\n" + QUrl::fromLocalFile(picture).toEncoded());
        QVERIFY(data->hasImage());
        QCOMPARE(qvariant_cast<QImage>(data->imageData()).size(), QSize(4, 3));

        clipboard.copyFiles({picture, text}, false);
        data = QGuiApplication::clipboard()->mimeData();
        QCOMPARE(data->urls().size(), 2);
        QVERIFY(!data->hasImage());
    }

private:
    QDBusConnection servers = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("stand-ins"));
    NotificationServer notificationServer;
    FileManagerServer fileManagerServer;
};

QTEST_MAIN(DesktopServicesTest)
#include "tst_desktop_services.moc"
