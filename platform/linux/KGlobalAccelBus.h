#pragma once

#include "platform/Status.h"

#include <QDBusConnection>
#include <QKeyCombination>
#include <QList>
#include <QStringList>

// KDE's keeper of global shortcuts, kglobalaccel, over its D-Bus interface
// org.kde.KGlobalAccel. A shortcut is named by four strings: its component,
// itself, and the names of both the user reads. Since Frameworks 5.90 keys
// travel as whole sequences (a(ai)); older ones take only each sequence's
// first key (ai): whichever the running one answers is used.
class KGlobalAccelBus {
public:
    // Keys pressed one after another; most shortcuts have one.
    using Sequence = QList<QKeyCombination>;

    static constexpr const char* service = "org.kde.kglobalaccel";

    explicit KGlobalAccelBus(QDBusConnection bus);

    // Makes the shortcut known (for a component named after a desktop
    // entry, kglobalaccel reads the entry's actions).
    Status enroll(const QStringList& actionId);
    // Its keys; none for a shortcut kglobalaccel does not know.
    StatusOr<QList<Sequence>> keys(const QStringList& actionId);
    // Sets them as the shortcuts' settings do, for a shortcut of any component.
    Status setKeys(const QStringList& actionId, const QList<Sequence>& keys);
    // The shortcuts that have `key`.
    StatusOr<QList<QStringList>> holders(const Sequence& key);

private:
    // Calls the method of whole sequences, or the older one where the
    // running kglobalaccel has only that.
    StatusOr<QVariantList> call(const QString& method, const QVariantList& arguments, const QString& olderMethod,
        const QVariantList& olderArguments);

    QDBusConnection bus_;
    bool older_ = false;
};
