#pragma once

// What every test of Dropwell's engine stands on: temporary folders in place
// of the user's, a clock the test moves, and small in-memory stand-ins for
// the desktop's services.

#include "core/Clock.h"
#include "core/Previewer.h"
#include "core/Timers.h"
#include "model/AppModel.h"
#include "platform/Clipboard.h"
#include "platform/FileManager.h"
#include "platform/Notifier.h"
#include "platform/Trash.h"
#include "platform/linux/QSettingsDefaults.h"

#include <QByteArray>
#include <QTemporaryDir>

#include <memory>
#include <optional>
#include <vector>

class ManualClock final : public Clock {
public:
    explicit ManualClock(QDateTime start = QDateTime(QDate(2026, 3, 2), QTime(10, 0), Qt::UTC)) : now_(start) {}
    QDateTime now() const override { return now_; }
    void set(const QDateTime& now) { now_ = now; }
    void advance(qint64 seconds) { now_ = now_.addSecs(seconds); }

private:
    QDateTime now_;
};

// Timers on a ManualClock: nothing fires until the test moves time forward,
// and then everything due fires, in order, as the event loop would fire it.
class ManualTimers final : public Timers {
public:
    explicit ManualTimers(ManualClock& clock) : clock_(clock) {}
    ~ManualTimers() override;
    std::unique_ptr<OneShotTimer> make() override;

    // Moves the clock forward by `by`, through every timeout on the way,
    // including those of timers started by an earlier timeout.
    void advance(std::chrono::milliseconds by);
    int runningCount() const;
    // Whether a timer started for `delay` runs.
    bool runs(std::chrono::milliseconds delay) const;
    // Waits, in real time, until an event of the file system has started a
    // quiet wait of `quiet`, then lets it pass. False if none came.
    bool settle(std::chrono::milliseconds quiet);
    // Time left until the next timeout; nothing when no timer runs.
    std::optional<std::chrono::milliseconds> untilNextTimeout() const;

private:
    class Timer;
    // The first timeout, up to `until` when given.
    Timer* nextDue(const std::optional<QDateTime>& until) const;

    ManualClock& clock_;
    std::vector<Timer*> timers_;
    quint64 starts_ = 0;
};

// The clipboard's contents, as a paste would find them.
class MemoryClipboard final : public Clipboard {
public:
    void copyFiles(const QStringList& paths, bool alsoAsPicture) override
    {
        files = paths;
        hasPicture = alsoAsPicture;
    }
    QStringList files;
    bool hasPicture = false;
};

// A file manager whose window shows what was revealed, and whose folder
// chooser answers what the test says the user picks.
class MemoryFileManager final : public FileManager {
public:
    void showItems(const QStringList& paths) override { shownItems = paths; }
    std::optional<QString> chooseFolder(const QString& acceptLabel, const QString& message) override
    {
        lastAcceptLabel = acceptLabel;
        lastMessage = message;
        return nextChoice;
    }
    QStringList shownItems;
    std::optional<QString> nextChoice; // nothing: the user cancels
    QString lastAcceptLabel;
    QString lastMessage;
};

class MemoryPreviewer final : public Previewer {
public:
    bool isVisible() const override { return visible; }
    void toggle(const QStringList& paths, int startAt) override
    {
        visible = !visible;
        if (visible) {
            shown = paths;
            current = startAt;
        }
    }
    void close() override { visible = false; }
    bool visible = false;
    QStringList shown;
    int current = -1;
};

// The notifications the user would see, in order.
class MemoryNotificationCenter final : public Notifier {
public:
    void post(const Notification& notification) override { delivered.push_back(notification); }
    void requestPermission() override { ++permissionRequests; }
    std::vector<Notification> delivered;
    int permissionRequests = 0;
};

// The user's Trash as a folder of the test's world, so that no test ever
// reaches the real one. With `refuse` set it plays a Trash that cannot be
// used: every file stays where it is.
class FolderTrash final : public Trash {
public:
    Status moveToTrash(const QString& path) override;
    QString folder;
    bool refuse = false;
};

// A temporary world: home, support folder, trash and defaults all inside one
// temporary folder that disappears with the test.
class TestWorld {
public:
    static constexpr std::chrono::milliseconds inboxQuietPeriod {150};

    TestWorld();
    ~TestWorld();

    QString home() const { return temp_.path() + QStringLiteral("/home"); }
    QString support() const { return temp_.path() + QStringLiteral("/support"); }
    QString trashFiles() const { return temp_.path() + QStringLiteral("/trash"); }
    QString path(const QString& relative) const { return temp_.path() + QLatin1Char('/') + relative; }
    FolderService folders() const;

    ModelServices services();
    // A model over this world, not started.
    std::unique_ptr<AppModel> makeModel();

    ManualClock clock;
    ManualTimers timers {clock};
    MemoryClipboard clipboard;
    MemoryFileManager fileManager;
    MemoryPreviewer previewer;
    MemoryNotificationCenter notifications;
    FolderTrash trash;
    std::unique_ptr<QSettingsDefaults> defaults;

private:
    QTemporaryDir temp_;
};

// Writes `contents` to `path`, creating its folder; fails the test if it cannot.
void writeFile(const QString& path, const QByteArray& contents = QByteArrayLiteral("x"));
QByteArray readFile(const QString& path);
QStringList namesIn(const QString& folder);
TrackedFile recordAt(const QString& path, FileFolder folder, const QDateTime& landedAt);
// Drops a file into the Inbox and lets the model take it in; its record.
TrackedFile landFile(TestWorld& world, AppModel& model, const QString& name, const QByteArray& contents = "x");

// A file system of its own at `path` for the life of this object, in a mount
// namespace private to the test process. Needs root and a kernel that allows
// it; the factories give nothing otherwise and `why` says why.
class ScopedMount {
public:
    static std::unique_ptr<ScopedMount> mount(
        const QString& at, const QByteArray& options, QString& why, const char* type = "tmpfs");
    // The folder `at`, seen read-only through a mount of its own; its file
    // system stays the same.
    static std::unique_ptr<ScopedMount> bindReadOnly(const QString& at, QString& why);
    ~ScopedMount();
    bool makeReadOnly(QString& why);
    const QString& path() const { return path_; }

private:
    explicit ScopedMount(QString at) : path_(std::move(at)) {}
    QString path_;
};
