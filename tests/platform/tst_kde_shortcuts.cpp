// Dropwell's keys in KDE's global shortcuts, against a kglobalaccel of the
// test's own on the private bus, in both of its dialects: keys as whole
// sequences, and the older one key each. What a key took from another
// shortcut comes back when it is cleared, also after a restart.
#include "platform/linux/KdeShortcuts.h"
#include "platform/linux/QSettingsDefaults.h"
#include "tests/support/ServedOnBus.h"
#include "tests/support/TestSupport.h"

#include <QDBusArgument>
#include <QDBusContext>
#include <QDBusMetaType>
#include <QMutex>
#include <QTemporaryDir>
#include <QTest>

// kglobalaccel's structures as they travel: a key sequence is (ai), always
// four key codes, and how keys are matched is (i).
template <typename T>
struct Boxed {
    T value {};
};
using FakeSequence = Boxed<QList<int>>;
using FakeMatch = Boxed<int>;
Q_DECLARE_METATYPE(FakeSequence)
Q_DECLARE_METATYPE(FakeMatch)
// A shortcut as kglobalaccel tells of it (ssssssaiai): its names, its
// context, then its keys.
struct FakeInfo {
    QStringList id;
    QList<int> keys;
};
Q_DECLARE_METATYPE(FakeInfo)

template <typename T>
QDBusArgument& operator<<(QDBusArgument& argument, const Boxed<T>& boxed)
{
    argument.beginStructure();
    argument << boxed.value;
    argument.endStructure();
    return argument;
}
template <typename T>
const QDBusArgument& operator>>(const QDBusArgument& argument, Boxed<T>& boxed)
{
    argument.beginStructure();
    argument >> boxed.value;
    argument.endStructure();
    return argument;
}
QDBusArgument& operator<<(QDBusArgument& argument, const FakeInfo& info)
{
    argument.beginStructure();
    argument << info.id.value(1) << info.id.value(3) << info.id.value(0) << info.id.value(2) << QStringLiteral("default") << QStringLiteral("Default")
             << info.keys << QList<int>();
    argument.endStructure();
    return argument;
}
const QDBusArgument& operator>>(const QDBusArgument& argument, FakeInfo&) { return argument; }

// kglobalaccel as far as Dropwell uses it: shortcuts by component and name,
// each with its keys (one key per sequence here), known once registered.
class FakeKGlobalAccel : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.KGlobalAccel")
public:
    FakeKGlobalAccel(const QDBusConnection&, bool older) : older_(older)
    {
        qDBusRegisterMetaType<FakeSequence>();
        qDBusRegisterMetaType<QList<FakeSequence>>();
        qDBusRegisterMetaType<FakeMatch>();
        qDBusRegisterMetaType<FakeInfo>();
        qDBusRegisterMetaType<QList<FakeInfo>>();
    }

    void add(const QStringList& id, const QList<int>& keys)
    {
        QMutexLocker lock(&mutex_);
        shortcuts_.insert(id.first(2), {id, keys});
    }

public Q_SLOTS:
    Q_SCRIPTABLE void doRegister(const QStringList& id)
    {
        QMutexLocker lock(&mutex_);
        if (!shortcuts_.contains(id.first(2)))
            shortcuts_.insert(id.first(2), {id, {}});
    }
    Q_SCRIPTABLE QList<FakeSequence> shortcutKeys(const QStringList& id)
    {
        QList<FakeSequence> sequences;
        if (refusedAsNewer())
            return sequences;
        for (const int key : shortcut(id))
            sequences.append({{key, 0, 0, 0}});
        return sequences;
    }
    Q_SCRIPTABLE void setForeignShortcutKeys(const QStringList& id, const QList<FakeSequence>& keys)
    {
        if (refusedAsNewer())
            return;
        QList<int> codes;
        for (const FakeSequence& sequence : keys)
            codes.append(sequence.value.value(0));
        setForeignShortcut(id, codes);
    }
    Q_SCRIPTABLE QList<FakeInfo> globalShortcutsByKey(const FakeSequence& key, const FakeMatch&)
    {
        return refusedAsNewer() ? QList<FakeInfo>() : getGlobalShortcutsByKey(key.value.value(0));
    }
    Q_SCRIPTABLE QList<int> shortcut(const QStringList& id)
    {
        QMutexLocker lock(&mutex_);
        return shortcuts_.value(id.first(2)).keys;
    }
    Q_SCRIPTABLE void setForeignShortcut(const QStringList& id, const QList<int>& keys)
    {
        QMutexLocker lock(&mutex_);
        // Like kglobalaccel, a shortcut it does not know stays unknown.
        if (const auto known = shortcuts_.find(id.first(2)); known != shortcuts_.end())
            known->keys = keys;
    }
    Q_SCRIPTABLE QList<FakeInfo> getGlobalShortcutsByKey(int key)
    {
        QMutexLocker lock(&mutex_);
        QList<FakeInfo> holders;
        for (const FakeInfo& info : std::as_const(shortcuts_)) {
            if (info.keys.contains(key))
                holders.append(info);
        }
        return holders;
    }

private:
    // Before Frameworks 5.90 only the methods of one key each were there.
    bool refusedAsNewer()
    {
        if (older_)
            sendErrorReply(QDBusError::UnknownMethod, QStringLiteral("No such method"));
        return older_;
    }

    bool older_;
    QMutex mutex_;
    QMap<QStringList, FakeInfo> shortcuts_; // by component and name
};

namespace {

const QString ours = QStringLiteral("org.dropwell.Dropwell.desktop");
const QStringList spectacle {QStringLiteral("org.kde.spectacle.desktop"), QStringLiteral("_launch"), QStringLiteral("Spectacle"), QStringLiteral("Launch")};
const QStringList kwinClose {QStringLiteral("kwin"), QStringLiteral("Window Close"), QStringLiteral("KWin"), QStringLiteral("Close")};
const int print = Qt::Key_Print;
const QKeyCombination metaP(Qt::MetaModifier, Qt::Key_P);
const int metaS = QKeyCombination(Qt::MetaModifier, Qt::Key_S).toCombined();

} // namespace

class KdeShortcutsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void keysNeedTheEntryTakeFromOthersAndGiveBackUnlessTakenSince_data()
    {
        QTest::addColumn<bool>("older");
        QTest::newRow("whole sequences") << false;
        QTest::newRow("one key each") << true;
    }
    void keysNeedTheEntryTakeFromOthersAndGiveBackUnlessTakenSince()
    {
        QFETCH(bool, older);
        ServedOnBus<FakeKGlobalAccel> kglobalaccel(QString::fromLatin1(KGlobalAccelBus::service), QStringLiteral("/kglobalaccel"), older);
        QVERIFY(kglobalaccel.registered());
        kglobalaccel->add(spectacle, {print, metaS});
        kglobalaccel->add(kwinClose, {int(metaP.toCombined())});
        QSettingsDefaults defaults(home_.filePath(QStringLiteral("defaults-%1.conf").arg(older)));
        const QDBusConnection bus = QDBusConnection::sessionBus();
        // Without a desktop entry, or for an action an older Dropwell's entry
        // lacks (a whole page), nothing changes.
        const Status notInstalled = KdeShortcuts(bus, QString(), defaults).set(ShortcutCommand::CaptureRegion, QKeyCombination(Qt::Key_Print));
        QVERIFY2(notInstalled.message().contains(ours) && !notInstalled.ok(), qPrintable(notInstalled.message()));
        const QString entry = home_.filePath(QStringLiteral("entry.desktop"));
        writeFile(entry, "[Desktop Entry]\nType=Application\nName=Dropwell\nExec=dropwell\nActions=CaptureRegion;CaptureWindow;RecordDisplay;\n");
        auto shortcuts = std::make_unique<KdeShortcuts>(bus, entry, defaults);
        QVERIFY(!shortcuts->set(ShortcutCommand::CapturePage, QKeyCombination(Qt::Key_Print)).ok());
        QCOMPARE(kglobalaccel->shortcut({ours, QStringLiteral("CapturePage")}), QList<int>());
        QCOMPARE(kglobalaccel->shortcut(spectacle), (QList<int> {print, metaS}));

        QVERIFY(shortcuts->set(ShortcutCommand::CaptureRegion, QKeyCombination(Qt::Key_Print)).ok());
        QCOMPARE(kglobalaccel->shortcut({ours, QStringLiteral("CaptureRegion")}), QList<int> {print});
        QCOMPARE(kglobalaccel->shortcut(spectacle), QList<int> {metaS});

        // Another key gives Print back first, and takes Meta+P from KWin.
        QVERIFY(shortcuts->set(ShortcutCommand::CaptureRegion, metaP).ok());
        QCOMPARE(kglobalaccel->shortcut(spectacle), (QList<int> {metaS, print}));
        QCOMPARE(kglobalaccel->shortcut(kwinClose), QList<int>());
        QCOMPARE(shortcuts->key(ShortcutCommand::CaptureRegion).value(), std::optional<QKeyCombination>(metaP));

        // A later Dropwell still knows what to give back.
        shortcuts = std::make_unique<KdeShortcuts>(bus, entry, defaults);
        QVERIFY(shortcuts->clear(ShortcutCommand::CaptureRegion).ok());
        QCOMPARE(kglobalaccel->shortcut(kwinClose), QList<int> {int(metaP.toCombined())});
        QCOMPARE(shortcuts->key(ShortcutCommand::CaptureRegion).value(), std::nullopt);

        // A key given away since stays where the user put it: in KDE's
        // settings, they take Print back for a shortcut of their own.
        QVERIFY(shortcuts->set(ShortcutCommand::RecordDisplay, QKeyCombination(Qt::Key_Print)).ok());
        QCOMPARE(kglobalaccel->shortcut(spectacle), QList<int> {metaS});
        const QStringList theirOwn {QStringLiteral("khotkeys"), QStringLiteral("mine"), QStringLiteral("Custom"), QStringLiteral("Mine")};
        kglobalaccel->setForeignShortcut({ours, QStringLiteral("RecordDisplay")}, {});
        kglobalaccel->add(theirOwn, {print});
        QVERIFY(shortcuts->clear(ShortcutCommand::RecordDisplay).ok());
        QCOMPARE(kglobalaccel->shortcut(spectacle), QList<int> {metaS});
        QCOMPARE(kglobalaccel->shortcut(theirOwn), QList<int> {print});
    }

private:
    QTemporaryDir home_;
};

QTEST_GUILESS_MAIN(KdeShortcutsTest)
#include "tst_kde_shortcuts.moc"
