#include "platform/linux/GtkAccelerator.h"

#include <QRegularExpression>

#include <utility>

namespace {

// The X key symbols' names of the keys a shortcut is made of; the first
// spelling of a key is the one written.
constexpr std::pair<Qt::Key, const char*> namedKeys[] = {
    {Qt::Key_Print, "Print"},
    {Qt::Key_SysReq, "Sys_Req"},
    {Qt::Key_Pause, "Pause"},
    {Qt::Key_ScrollLock, "Scroll_Lock"},
    {Qt::Key_Insert, "Insert"},
    {Qt::Key_Delete, "Delete"},
    {Qt::Key_Home, "Home"},
    {Qt::Key_End, "End"},
    {Qt::Key_PageUp, "Page_Up"},
    {Qt::Key_PageUp, "Prior"},
    {Qt::Key_PageDown, "Page_Down"},
    {Qt::Key_PageDown, "Next"},
    {Qt::Key_Left, "Left"},
    {Qt::Key_Right, "Right"},
    {Qt::Key_Up, "Up"},
    {Qt::Key_Down, "Down"},
    {Qt::Key_Return, "Return"},
    {Qt::Key_Enter, "KP_Enter"},
    {Qt::Key_Tab, "Tab"},
    {Qt::Key_Backspace, "BackSpace"},
    {Qt::Key_Escape, "Escape"},
    {Qt::Key_Menu, "Menu"},
    {Qt::Key_Space, "space"},
    {Qt::Key_Minus, "minus"},
    {Qt::Key_Equal, "equal"},
    {Qt::Key_Plus, "plus"},
    {Qt::Key_Comma, "comma"},
    {Qt::Key_Period, "period"},
    {Qt::Key_Slash, "slash"},
    {Qt::Key_Backslash, "backslash"},
    {Qt::Key_Semicolon, "semicolon"},
    {Qt::Key_Apostrophe, "apostrophe"},
    {Qt::Key_BracketLeft, "bracketleft"},
    {Qt::Key_BracketRight, "bracketright"},
    {Qt::Key_QuoteLeft, "grave"},
    {Qt::Key_Calculator, "XF86Calculator"},
    {Qt::Key_LaunchMail, "XF86Mail"},
    {Qt::Key_Explorer, "XF86Explorer"},
};

std::optional<Qt::KeyboardModifier> modifierNamed(const QString& name)
{
    const QString lower = name.toLower();
    if (lower == QLatin1String("primary") || lower == QLatin1String("control") || lower == QLatin1String("ctrl")
        || lower == QLatin1String("ctl"))
        return Qt::ControlModifier;
    if (lower == QLatin1String("shift") || lower == QLatin1String("shft"))
        return Qt::ShiftModifier;
    if (lower == QLatin1String("alt") || lower == QLatin1String("mod1"))
        return Qt::AltModifier;
    // Qt calls the Super key Meta, as X11 delivers it.
    if (lower == QLatin1String("super") || lower == QLatin1String("mod4") || lower == QLatin1String("meta"))
        return Qt::MetaModifier;
    return std::nullopt;
}

std::optional<Qt::Key> keyNamed(const QString& name)
{
    for (const auto& [key, spelling] : namedKeys) {
        if (name.compare(QLatin1String(spelling), Qt::CaseInsensitive) == 0)
            return key;
    }
    static const QRegularExpression function(QStringLiteral("^[Ff]([1-9]|[1-2][0-9]|3[0-5])$"));
    if (const QRegularExpressionMatch match = function.match(name); match.hasMatch())
        return Qt::Key(Qt::Key_F1 + match.captured(1).toInt() - 1);
    if (name.size() == 1 && name.at(0).isLetterOrNumber() && name.at(0).unicode() < 0x80)
        return Qt::Key(name.at(0).toUpper().unicode());
    return std::nullopt;
}

} // namespace

std::optional<QKeyCombination> keyFromAccelerator(const QString& accelerator)
{
    static const QRegularExpression modifier(QStringLiteral("^<([A-Za-z0-9]+)>"));
    QString rest = accelerator.trimmed();
    Qt::KeyboardModifiers modifiers;
    for (QRegularExpressionMatch match = modifier.match(rest); match.hasMatch(); match = modifier.match(rest)) {
        const std::optional<Qt::KeyboardModifier> named = modifierNamed(match.captured(1));
        if (!named)
            return std::nullopt;
        modifiers |= *named;
        rest = rest.mid(match.capturedLength());
    }
    const std::optional<Qt::Key> key = keyNamed(rest);
    if (!key)
        return std::nullopt;
    return QKeyCombination(modifiers, *key);
}

QString acceleratorFor(QKeyCombination key)
{
    QString name;
    const Qt::Key bare = key.key();
    for (const auto& [known, spelling] : namedKeys) {
        if (known == bare) {
            name = QLatin1String(spelling);
            break;
        }
    }
    if (name.isEmpty() && bare >= Qt::Key_F1 && bare <= Qt::Key_F35)
        name = QStringLiteral("F%1").arg(bare - Qt::Key_F1 + 1);
    if (name.isEmpty() && ((bare >= Qt::Key_A && bare <= Qt::Key_Z) || (bare >= Qt::Key_0 && bare <= Qt::Key_9)))
        name = QChar(char16_t(bare)).toLower();
    if (name.isEmpty())
        return {};
    QString modifiers;
    const Qt::KeyboardModifiers held = key.keyboardModifiers();
    if (held & Qt::ControlModifier)
        modifiers += QStringLiteral("<Primary>");
    if (held & Qt::ShiftModifier)
        modifiers += QStringLiteral("<Shift>");
    if (held & Qt::AltModifier)
        modifiers += QStringLiteral("<Alt>");
    if (held & Qt::MetaModifier)
        modifiers += QStringLiteral("<Super>");
    return modifiers + name;
}
