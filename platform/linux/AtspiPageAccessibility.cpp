#include "platform/linux/AtspiPageAccessibility.h"

#include "platform/linux/AtspiTree.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusVariant>

#include <algorithm>
#include <cerrno>

namespace {

// The first question may start the accessibility bus, which the session bus
// launches on demand.
constexpr int statusCallTimeoutMs = 5000;
// A page may sit a border's width outside the window's frame.
constexpr int frameSlackPixels = 8;

// Some browsers call their page a document frame rather than a web document.
constexpr std::initializer_list<AtspiRole> webAreaRoles {ATSPI_ROLE_DOCUMENT_WEB, ATSPI_ROLE_DOCUMENT_FRAME};
constexpr std::initializer_list<AtspiRole> scrollAreaRoles {ATSPI_ROLE_SCROLL_PANE};
constexpr std::initializer_list<AtspiRole> pageRoles {
    ATSPI_ROLE_SCROLL_PANE, ATSPI_ROLE_DOCUMENT_WEB, ATSPI_ROLE_DOCUMENT_FRAME};

Status unavailable(const QString& cause)
{
    qWarning("The accessibility bus is not available: %s", qPrintable(cause));
    return Status::failure(ENOTSUP,
        QCoreApplication::translate("AtspiPageAccessibility", "Dropwell could not switch on the desktop's accessibility support, which it needs to scroll "
                       "the page. Turn on assistive technologies in your desktop's accessibility settings (they come "
                       "with the at-spi2-core package), then try again."));
}

QDBusMessage statusCall(const QString& method)
{
    return QDBusMessage::createMethodCall(QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
        QStringLiteral("org.freedesktop.DBus.Properties"), method);
}

// libatspi keeps one connection to the accessibility bus for the whole
// process. A failed attempt is undone, so that one made after the user has
// switched accessibility on starts afresh instead of using a connection that
// is not there (which libatspi answers by aborting).
bool connectLibrary()
{
    static bool connected = false;
    if (connected)
        return true;
    // No grace period for programs that have just started: a search should
    // never wait on one for long.
    atspi_set_timeout(AtspiPageAccessibility::callTimeoutMs, 0);
    const int outcome = atspi_init();
    connected = outcome == 0 || outcome == 1; // 1: already connected
    if (!connected)
        atspi_exit();
    return connected;
}

// A window's program as the accessibility bus knows it, and the program's
// element of that window when one matches.
struct Page {
    AtspiElement application;
    AtspiElement window;

    AtspiAccessible* root() const { return window ? window.get() : application.get(); }
};

std::optional<Page> pageOf(const AtspiTree& tree, const CaptureWindow& window)
{
    if (!atspi_is_initialized())
        return std::nullopt;
    Page page {tree.application(window.pid), nullptr};
    if (!page.application)
        return std::nullopt;
    page.window = tree.matchingWindow(page.application.get(), window.title);
    return page;
}

AtspiElement scrollBarOf(const AtspiTree& tree, const CaptureWindow& window)
{
    const std::optional<Page> page = pageOf(tree, window);
    return page ? tree.findVerticalScrollBar(page->root()) : nullptr;
}

} // namespace

AtspiPageAccessibility::AtspiPageAccessibility(QDBusConnection bus) : bus_(std::move(bus)) {}

Status AtspiPageAccessibility::ensureEnabled()
{
    if (!bus_.isConnected())
        return unavailable(QStringLiteral("no session bus"));
    const QString status = QStringLiteral("org.a11y.Status");
    const QString isEnabled = QStringLiteral("IsEnabled");
    QDBusMessage get = statusCall(QStringLiteral("Get"));
    get << status << isEnabled;
    const QDBusMessage state = bus_.call(get, QDBus::Block, statusCallTimeoutMs);
    if (state.type() != QDBusMessage::ReplyMessage || state.arguments().isEmpty())
        return unavailable(state.errorMessage());
    if (!state.arguments().constFirst().value<QDBusVariant>().variant().toBool()) {
        QDBusMessage set = statusCall(QStringLiteral("Set"));
        set << status << isEnabled << QVariant::fromValue(QDBusVariant(true));
        const QDBusMessage done = bus_.call(set, QDBus::Block, statusCallTimeoutMs);
        if (done.type() != QDBusMessage::ReplyMessage)
            return unavailable(done.errorMessage());
    }
    if (!connectLibrary())
        return unavailable(QStringLiteral("libatspi cannot connect to the accessibility bus"));
    return Status::success();
}

void AtspiPageAccessibility::raise(const CaptureWindow& window)
{
    const AtspiTree tree(searchBudgetMs);
    if (const std::optional<Page> page = pageOf(tree, window); page && page->window)
        tree.grabFocus(page->window.get());
}

void AtspiPageAccessibility::focus(const CaptureWindow& window)
{
    const AtspiTree tree(searchBudgetMs);
    const std::optional<Page> page = pageOf(tree, window);
    if (!page)
        return;
    if (const AtspiElement pane = tree.findRole(page->application.get(), pageRoles))
        tree.grabFocus(pane.get());
    else if (page->window)
        tree.grabFocus(page->window.get());
}

bool AtspiPageAccessibility::scrollToTop(const CaptureWindow& window)
{
    const AtspiTree tree(searchBudgetMs);
    const AtspiElement scrollBar = scrollBarOf(tree, window);
    return scrollBar && tree.setFraction(scrollBar.get(), 0.0);
}

std::optional<QRect> AtspiPageAccessibility::webAreaFrame(const CaptureWindow& window)
{
    const AtspiTree tree(searchBudgetMs);
    const std::optional<Page> page = pageOf(tree, window);
    if (!page)
        return std::nullopt;
    // Extents count in the program's logical pixels, as Qt and GTK report
    // them, the same space as the window's frame.
    const QRect around = window.frame.adjusted(-frameSlackPixels, -frameSlackPixels, frameSlackPixels, frameSlackPixels);
    for (const std::initializer_list<AtspiRole> roles : {webAreaRoles, scrollAreaRoles}) {
        if (const AtspiElement area = tree.findRole(page->root(), roles)) {
            if (const std::optional<QRect> frame = tree.extents(area.get()); frame && frame->intersects(around))
                return frame;
        }
    }
    return std::nullopt;
}
