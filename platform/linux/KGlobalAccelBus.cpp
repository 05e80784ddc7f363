#include "platform/linux/KGlobalAccelBus.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>

#include <cerrno>

// One key sequence as kglobalaccel sends it: always four key codes, unused
// ones zero.
struct KGlobalAccelSequence {
    KGlobalAccelBus::Sequence keys;
};
Q_DECLARE_METATYPE(KGlobalAccelSequence)

// How a key is compared with the others' (0: equal).
struct KGlobalAccelMatch {
    int type = 0;
};
Q_DECLARE_METATYPE(KGlobalAccelMatch)

QDBusArgument& operator<<(QDBusArgument& argument, const KGlobalAccelSequence& sequence)
{
    argument.beginStructure();
    argument.beginArray(QMetaType::fromType<int>());
    for (qsizetype at = 0; at < 4; ++at)
        argument << (at < sequence.keys.size() ? sequence.keys.at(at).toCombined() : 0);
    argument.endArray();
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, KGlobalAccelSequence& sequence)
{
    QList<int> codes;
    argument.beginStructure();
    argument.beginArray();
    while (!argument.atEnd()) {
        int code = 0;
        argument >> code;
        codes.append(code);
    }
    argument.endArray();
    argument.endStructure();
    sequence.keys.clear();
    for (const int code : codes) {
        if (code != 0)
            sequence.keys.append(QKeyCombination::fromCombined(code));
    }
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const KGlobalAccelMatch& match)
{
    argument.beginStructure();
    argument << match.type;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, KGlobalAccelMatch& match)
{
    argument.beginStructure();
    argument >> match.type;
    argument.endStructure();
    return argument;
}

namespace {

QVariant sequencesOnBus(const QList<KGlobalAccelBus::Sequence>& keys)
{
    QList<KGlobalAccelSequence> sequences;
    for (const KGlobalAccelBus::Sequence& key : keys)
        sequences.append({key});
    return QVariant::fromValue(sequences);
}

// The older interface has one key per sequence.
QVariant firstKeysOnBus(const QList<KGlobalAccelBus::Sequence>& keys)
{
    QList<int> codes;
    for (const KGlobalAccelBus::Sequence& key : keys) {
        if (!key.isEmpty())
            codes.append(key.constFirst().toCombined());
    }
    return QVariant::fromValue(codes);
}

// a(ssssssaiai): a shortcut's own name and the user's, its component's
// both, its context's both, then its keys, which are not needed here.
QList<QStringList> actionIdsOf(const QDBusArgument& infos)
{
    QList<QStringList> ids;
    infos.beginArray();
    while (!infos.atEnd()) {
        QString action, actionFriendly, component, componentFriendly, context, contextFriendly;
        infos.beginStructure();
        infos >> action >> actionFriendly >> component >> componentFriendly >> context >> contextFriendly;
        while (!infos.atEnd())
            infos.asVariant();
        infos.endStructure();
        // A shortcut of a context other than the usual one is named with it.
        if (!context.isEmpty() && context != QLatin1String("default"))
            component += QLatin1Char('|') + context;
        ids.append({component, action, componentFriendly, actionFriendly});
    }
    infos.endArray();
    return ids;
}

} // namespace

KGlobalAccelBus::KGlobalAccelBus(QDBusConnection bus) : bus_(std::move(bus))
{
    qDBusRegisterMetaType<KGlobalAccelSequence>();
    qDBusRegisterMetaType<QList<KGlobalAccelSequence>>();
    qDBusRegisterMetaType<KGlobalAccelMatch>();
}

StatusOr<QVariantList> KGlobalAccelBus::call(
    const QString& method, const QVariantList& arguments, const QString& olderMethod, const QVariantList& olderArguments)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        QDBusMessage message = QDBusMessage::createMethodCall(QString::fromLatin1(service), QStringLiteral("/kglobalaccel"),
            QStringLiteral("org.kde.KGlobalAccel"), older_ ? olderMethod : method);
        message.setArguments(older_ ? olderArguments : arguments);
        const QDBusMessage reply = bus_.call(message);
        if (reply.type() == QDBusMessage::ReplyMessage)
            return reply.arguments();
        if (older_ || reply.errorName() != QLatin1String("org.freedesktop.DBus.Error.UnknownMethod")) {
            return Status::failure(EIO,
                QCoreApplication::translate("KGlobalAccelBus", "KDE's shortcuts service did not answer: %1").arg(reply.errorMessage()));
        }
        older_ = true;
    }
    return Status::failure(EIO, QString());
}

Status KGlobalAccelBus::enroll(const QStringList& actionId)
{
    const StatusOr<QVariantList> called = call(QStringLiteral("doRegister"), {actionId}, QStringLiteral("doRegister"), {actionId});
    return called.status();
}

StatusOr<QList<KGlobalAccelBus::Sequence>> KGlobalAccelBus::keys(const QStringList& actionId)
{
    const StatusOr<QVariantList> called = call(QStringLiteral("shortcutKeys"), {actionId}, QStringLiteral("shortcut"), {actionId});
    if (!called.ok())
        return called.status();
    QList<Sequence> keys;
    if (called.value().isEmpty())
        return keys;
    const QVariant& answer = called.value().constFirst();
    if (older_) {
        for (const int code : qdbus_cast<QList<int>>(answer))
            keys.append(Sequence {QKeyCombination::fromCombined(code)});
    } else {
        for (const KGlobalAccelSequence& sequence : qdbus_cast<QList<KGlobalAccelSequence>>(answer))
            keys.append(sequence.keys);
    }
    keys.removeIf([](const Sequence& key) { return key.isEmpty() || key.constFirst().toCombined() == 0; });
    return keys;
}

Status KGlobalAccelBus::setKeys(const QStringList& actionId, const QList<KGlobalAccelBus::Sequence>& keys)
{
    const StatusOr<QVariantList> called = call(QStringLiteral("setForeignShortcutKeys"), {actionId, sequencesOnBus(keys)},
        QStringLiteral("setForeignShortcut"), {actionId, firstKeysOnBus(keys)});
    return called.status();
}

StatusOr<QList<QStringList>> KGlobalAccelBus::holders(const Sequence& key)
{
    const StatusOr<QVariantList> called = call(QStringLiteral("globalShortcutsByKey"),
        {QVariant::fromValue(KGlobalAccelSequence {key}), QVariant::fromValue(KGlobalAccelMatch {})},
        QStringLiteral("getGlobalShortcutsByKey"), {key.isEmpty() ? 0 : key.constFirst().toCombined()});
    if (!called.ok())
        return called.status();
    if (called.value().isEmpty() || called.value().constFirst().metaType() != QMetaType::fromType<QDBusArgument>())
        return QList<QStringList>();
    return actionIdsOf(called.value().constFirst().value<QDBusArgument>());
}
