#pragma once

#include <QDeadlineTimer>
#include <QRect>
#include <QString>

#include <atspi/atspi.h>

#include <initializer_list>
#include <memory>
#include <optional>

struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
// An element of a program's tree, given back to libatspi on every path.
using AtspiElement = std::unique_ptr<AtspiAccessible, GObjectUnref>;

// The programs on the accessibility bus and their trees of elements, read
// call by call for one question. Every call that fails (a program that went
// away, does not answer, or lacks an interface) reads as nothing. Once the
// budget is spent nothing more is read, so a question ends soon even where a
// program answers slowly or not at all. Needs libatspi connected.
class AtspiTree {
public:
    explicit AtspiTree(int budgetMs) : deadline_(budgetMs) {}

    // The program with this process id; none for ids below 1.
    AtspiElement application(qint64 pid) const;
    // The program's window of that title, else its first window, else none.
    AtspiElement matchingWindow(AtspiAccessible* application, const QString& title) const;
    // The first element, depth first from `element`, whose role is one of
    // `roles`, at most maxRoleDepth levels below it.
    AtspiElement findRole(AtspiAccessible* element, std::initializer_list<AtspiRole> roles, int depth = 0) const;
    // The vertical scroll bar, or one that names no orientation, at most
    // maxScrollBarDepth levels below `element`; where there are several the
    // largest on screen, the later one of equal size.
    AtspiElement findVerticalScrollBar(AtspiAccessible* element, int depth = 0) const;

    // On screen, in the program's logical pixels.
    std::optional<QRect> extents(AtspiAccessible* element) const;
    void grabFocus(AtspiAccessible* element) const;
    // Sets the element's value to this fraction of its range, 0 at its minimum.
    bool setFraction(AtspiAccessible* element, double fraction) const;

    static constexpr int maxRoleDepth = 14;
    static constexpr int maxScrollBarDepth = 16;

private:
    bool exhausted() const { return deadline_.hasExpired(); }
    int childCount(AtspiAccessible* element) const;
    AtspiElement child(AtspiAccessible* element, int index) const;
    std::optional<AtspiRole> role(AtspiAccessible* element) const;
    QString name(AtspiAccessible* element) const;
    bool isVerticalScrollBar(AtspiAccessible* element) const;
    qint64 area(AtspiAccessible* element) const;

    QDeadlineTimer deadline_;
};
