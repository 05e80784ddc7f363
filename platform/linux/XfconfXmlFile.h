#pragma once

#include "platform/linux/XfconfChannel.h"

// The user's file of one xfconf channel, read and written while no xfconfd
// runs to own it ($XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml/<channel>.xml).
// Edits touch only the elements they change: the rest of the file stays as
// it was, byte for byte. A file that cannot be read is never written.
class XfconfXmlFile final : public XfconfChannel {
public:
    XfconfXmlFile(QString path, QString channel);

    StatusOr<QMap<QString, QString>> strings(const QString& base) const override;
    Status setString(const QString& property, const QString& value) override;
    Status reset(const QString& property) override;

private:
    Status write(const QString& text) const;
    // Adds an empty property, and its missing parents, to `text`.
    Status addEmpty(QString& text, const QString& property) const;
    Status insert(QString& text, const QString& property, const QString& element) const;

    QString path_;
    QString channel_;
};
