// Opening files in the desktop's programs, against desktop entries and a
// mimeapps.list of the test's own: their programs only write down what they
// were asked to open, so no real program starts.
#include "platform/linux/GioFileOpener.h"
#include "tests/support/TestSupport.h"
#include "ui/inbox/InboxTableView.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QStandardPaths>
#include <QTest>

#include <algorithm>

namespace {

// A desktop entry `id` whose program notes the file it was given in
// `<programs>/opened-<program>`.
void addProgram(const QString& applications, const QString& programs, const char* id, const char* name, const char* program,
    const char* types, const char* extra = "")
{
    const QString path = programs + QStringLiteral("/note-") + QLatin1String(program);
    const QString opened = programs + QStringLiteral("/opened-") + QLatin1String(program);
    writeFile(path, QStringLiteral("#!/bin/sh\nprintf '%s' \"$1\" > '%1.part' && mv '%1.part' '%1'\n").arg(opened).toUtf8());
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    writeFile(applications + QLatin1Char('/') + QLatin1String(id),
        QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nExec=%2 %f\nMimeType=%3\n%4")
            .arg(QLatin1String(name), path, QLatin1String(types), QLatin1String(extra))
            .toUtf8());
}

} // namespace

class OpenWithTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        world_ = std::make_unique<TestWorld>();
        // Only the test's own programs: the system's MIME database, but none of
        // its desktop entries.
        const QString systemData = world_->path(QStringLiteral("system-data"));
        QDir().mkpath(systemData);
        const QString mime = QStandardPaths::locate(QStandardPaths::GenericDataLocation, QStringLiteral("mime"), QStandardPaths::LocateDirectory);
        QVERIFY2(!mime.isEmpty(), "the shared MIME database");
        QVERIFY(QFile::link(mime, systemData + QStringLiteral("/mime")));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(systemData));
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(systemData));
        QDir().mkpath(programs());
        const QString applications = world_->path(QStringLiteral("data/applications"));
        // Named so that the default does not come first by itself.
        addProgram(applications, programs(), "z-viewer.desktop", "Picture Viewer", "viewer", "image/png;application/pdf;");
        addProgram(applications, programs(), "a-painter.desktop", "Painter", "painter", "image/png;");
        addProgram(applications, programs(), "b-hidden.desktop", "Hidden Helper", "hidden", "image/png;", "NoDisplay=true\n");
        // The index that update-desktop-database keeps beside installed entries,
        // which GIO reads instead of every entry.
        writeFile(applications + QStringLiteral("/mimeinfo.cache"),
            "[MIME Cache]\napplication/pdf=z-viewer.desktop;\nimage/png=a-painter.desktop;b-hidden.desktop;z-viewer.desktop;\n");
        writeFile(world_->path(QStringLiteral("config/mimeapps.list")),
            "[Default Applications]\nimage/png=z-viewer.desktop\n");

        QImage picture(QSize(8, 8), QImage::Format_RGB32);
        picture.fill(Qt::red);
        QDir().mkpath(world_->folders().inbox());
        QVERIFY(picture.save(inInbox(QStringLiteral("shot.png"))));
        QVERIFY(picture.save(inInbox(QStringLiteral("caf\u00e9 #1 (copy).png")), "PNG"));
        writeFile(inInbox(QStringLiteral("notes.txt")), "hello");
    }

    void openingStartsTheChosenProgramOnTheFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("applicationId");
        QTest::addColumn<QString>("program"); // empty: a failure that says `why`
        QTest::addColumn<QString>("why");
        QTest::addRow("the default, on a name with odd characters") << QStringLiteral("caf\u00e9 #1 (copy).png") << QString() << QStringLiteral("viewer") << QString();
        QTest::addRow("a program that is not there") << QStringLiteral("shot.png") << QStringLiteral("not-installed.desktop") << QString() << QStringLiteral("shot.png");
        QTest::addRow("no program for the type") << QStringLiteral("notes.txt") << QString() << QString() << QStringLiteral("no application");
    }

    void openingStartsTheChosenProgramOnTheFile()
    {
        QFETCH(QString, name);
        QFETCH(QString, applicationId);
        QFETCH(QString, program);
        QFETCH(QString, why);
        const Status status = opener_.open(inInbox(name), applicationId);
        QVERIFY2(status.ok() == why.isEmpty() && status.message().contains(why), qPrintable(status.message()));
        if (why.isEmpty())
            QCOMPARE(nextOpenedBy(program), inInbox(name));
    }

    void theRowMenuOffersAndOpens()
    {
        ModelServices services = world_->services();
        services.opener = &opener_;
        AppModel model(std::move(services));
        model.start();
        InboxTableView table(model);
        table.resize(360, 400);
        table.show();
        QVERIFY(QTest::qWaitForWindowExposed(&table));
        QTRY_COMPARE(table.model()->rowCount(), 3);
        std::unique_ptr<QMenu> menu;
        QMenu* openWith = nullptr;
        // What the row's Open With menu offers, "(off)" after what cannot be chosen.
        const auto offered = [&](const QString& name) {
            const QModelIndex row = table.model()->match(table.model()->index(0, 0), Qt::DisplayRole, name).value(0);
            menu = table.contextMenuAt(table.visualRect(row).center());
            const QList<QAction*> actions = menu->actions();
            const auto item = std::find_if(actions.cbegin(), actions.cend(), [](QAction* a) { return a->text() == QStringLiteral("Open With"); });
            openWith = item == actions.cend() ? nullptr : (*item)->menu();
            QStringList shown;
            for (QAction* offer : openWith ? openWith->actions() : QList<QAction*>())
                shown.append(offer->isSeparator() ? QStringLiteral("--") : offer->text() + (offer->isEnabled() ? QString() : QStringLiteral(" (off)")));
            return shown;
        };

        // The default first, the entry marked NoDisplay left out.
        QCOMPARE(offered(QStringLiteral("shot.png")), QStringList({QStringLiteral("Picture Viewer (default)"), QStringLiteral("--"), QStringLiteral("Painter")}));
        openWith->actions().at(2)->trigger();
        QCOMPARE(nextOpenedBy(QStringLiteral("painter")), inInbox(QStringLiteral("shot.png")));

        // Nothing opens text here: the menu says so instead of offering nothing.
        QCOMPARE(offered(QStringLiteral("notes.txt")), QStringList(QStringLiteral("No Applications (off)")));
        QVERIFY(opener_.applicationsFor(inInbox(QStringLiteral("gone.png"))).isEmpty());
    }

private:
    QString programs() const { return world_->path(QStringLiteral("programs")); }
    QString inInbox(const QString& name) const { return world_->folders().inbox() + QLatin1Char('/') + name; }
    // The file that `program`, started from now on, is given.
    QString nextOpenedBy(const QString& program) const
    {
        const QString opened = programs() + QStringLiteral("/opened-") + program;
        if (!QTest::qWaitFor([&] { return QFile::exists(opened); }, 10000))
            return QStringLiteral("<%1 was not started>").arg(program);
        const QString file = QString::fromUtf8(readFile(opened));
        QFile::remove(opened);
        return file;
    }

    std::unique_ptr<TestWorld> world_; // one for the whole run: GIO reads the XDG folders once
    GioFileOpener opener_;
};

QTEST_MAIN(OpenWithTest)
#include "tst_open_with.moc"
