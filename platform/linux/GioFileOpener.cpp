#include "platform/linux/GioFileOpener.h"

#include <QFile>

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include <cerrno>

namespace {

QString fromUtf8(const char* text) { return text ? QString::fromUtf8(text) : QString(); }

// What GIO makes of the file: its content and its name, as the file manager sees it.
QString contentTypeOf(GFile* file)
{
    g_autoptr(GFileInfo) info = g_file_query_info(file, G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE, G_FILE_QUERY_INFO_NONE, nullptr, nullptr);
    return info ? fromUtf8(g_file_info_get_content_type(info)) : QString();
}

GFile* localFile(const QString& path) { return g_vfs_get_file_for_path(g_vfs_get_local(), QFile::encodeName(path).constData()); }

} // namespace

QList<OpeningApplication> GioFileOpener::applicationsFor(const QString& path) const
{
    g_autoptr(GFile) file = localFile(path);
    const QByteArray type = contentTypeOf(file).toUtf8();
    if (type.isEmpty())
        return {};
    g_autoptr(GAppInfo) preferred = g_app_info_get_default_for_type(type.constData(), FALSE);
    QList<OpeningApplication> applications;
    if (preferred)
        applications.append({fromUtf8(g_app_info_get_id(preferred)), fromUtf8(g_app_info_get_name(preferred)), true});
    GList* all = g_app_info_get_all_for_type(type.constData());
    for (GList* entry = all; entry; entry = entry->next) {
        auto* application = static_cast<GAppInfo*>(entry->data);
        if ((preferred && g_app_info_equal(application, preferred)) || !g_app_info_should_show(application))
            continue;
        applications.append({fromUtf8(g_app_info_get_id(application)), fromUtf8(g_app_info_get_name(application)), false});
    }
    g_list_free_full(all, g_object_unref);
    return applications;
}

Status GioFileOpener::open(const QString& path, const QString& applicationId)
{
    g_autoptr(GFile) file = localFile(path);
    g_autoptr(GAppInfo) application = nullptr;
    if (applicationId.isEmpty()) {
        const QByteArray type = contentTypeOf(file).toUtf8();
        if (type.isEmpty())
            return Status::fromErrno(ENOENT, path);
        application = g_app_info_get_default_for_type(type.constData(), FALSE);
    } else {
        application = G_APP_INFO(g_desktop_app_info_new(applicationId.toUtf8().constData()));
    }
    if (!application)
        return Status::failure(ENOENT, path + QStringLiteral(": no application opens this kind of file"));
    GList files {file, nullptr, nullptr};
    g_autoptr(GError) error = nullptr;
    if (!g_app_info_launch(application, &files, nullptr, &error))
        return Status::failure(EIO, path + QStringLiteral(": ") + QString::fromUtf8(error->message));
    return Status::success();
}
