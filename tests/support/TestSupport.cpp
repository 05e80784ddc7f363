#include "tests/support/TestSupport.h"

#include "core/FileNames.h"
#include "platform/FileSystem.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTest>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

class ManualTimers::Timer final : public OneShotTimer {
public:
    explicit Timer(ManualTimers& owner) : owner_(&owner) { owner.timers_.push_back(this); }
    ~Timer() override
    {
        if (owner_)
            std::erase(owner_->timers_, this);
    }
    void start(std::chrono::milliseconds delay) override
    {
        due = owner_->clock_.now().addMSecs(delay.count());
        length = delay;
        order = ++owner_->starts_;
    }
    void cancel() override { due.reset(); }
    bool isRunning() const override { return due.has_value(); }
    void fire()
    {
        due.reset();
        Q_EMIT timeout();
    }

    ManualTimers* owner_;
    std::optional<QDateTime> due;
    std::chrono::milliseconds length {0};
    quint64 order = 0; // of two timeouts at one time, the one started first comes first
};

ManualTimers::~ManualTimers()
{
    for (Timer* timer : timers_)
        timer->owner_ = nullptr;
}

std::unique_ptr<OneShotTimer> ManualTimers::make() { return std::make_unique<Timer>(*this); }

ManualTimers::Timer* ManualTimers::nextDue(const std::optional<QDateTime>& until) const
{
    Timer* next = nullptr;
    for (Timer* timer : timers_) {
        if (timer->due && (!until || *timer->due <= *until)
            && (!next || *timer->due < *next->due || (*timer->due == *next->due && timer->order < next->order)))
            next = timer;
    }
    return next;
}

void ManualTimers::advance(std::chrono::milliseconds by)
{
    const QDateTime until = clock_.now().addMSecs(by.count());
    while (Timer* timer = nextDue(until)) {
        clock_.set(*timer->due);
        timer->fire();
        // Back in the event loop, whatever a timeout let go is deleted.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    clock_.set(until);
}

int ManualTimers::runningCount() const
{
    return int(std::count_if(timers_.begin(), timers_.end(), [](const Timer* timer) { return timer->isRunning(); }));
}

bool ManualTimers::runs(std::chrono::milliseconds delay) const
{
    return std::any_of(
        timers_.begin(), timers_.end(), [&](const Timer* timer) { return timer->isRunning() && timer->length == delay; });
}

bool ManualTimers::settle(std::chrono::milliseconds quiet)
{
    if (!QTest::qWaitFor([&] { return runs(quiet); }))
        return false;
    advance(quiet);
    return true;
}

std::optional<std::chrono::milliseconds> ManualTimers::untilNextTimeout() const
{
    const Timer* next = nextDue(std::nullopt);
    if (!next)
        return std::nullopt;
    return std::chrono::milliseconds(clock_.now().msecsTo(*next->due));
}

Status FolderTrash::moveToTrash(const QString& path)
{
    if (refuse)
        return Status::failure(EROFS, path + QStringLiteral(": the test's Trash refuses it"));
    // Like a real Trash, it holds many files of one name.
    const auto target = FileNames::uniqueDestination(folder, FileNames::lastComponent(path));
    if (!target.ok())
        return target.status();
    return FileSystem::moveNoReplace(path, target.value());
}

TestWorld::TestWorld()
{
    QDir().mkpath(home());
    QDir().mkpath(path(QStringLiteral("data")));
    trash.folder = trashFiles();
    // Settings and data follow these; nothing may reach the real ones.
    qputenv("XDG_DATA_HOME", QFile::encodeName(path(QStringLiteral("data"))));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(path(QStringLiteral("config"))));
    // The list's thumbnails too: they are written back to the cache.
    qputenv("XDG_CACHE_HOME", QFile::encodeName(path(QStringLiteral("cache"))));
    defaults = std::make_unique<QSettingsDefaults>(path(QStringLiteral("config/Dropwell.conf")));
}

TestWorld::~TestWorld() = default;

FolderService TestWorld::folders() const
{
    return FolderService(home(), home() + QStringLiteral("/Desktop"), home() + QStringLiteral("/Documents"),
        home() + QStringLiteral("/Downloads"));
}

ModelServices TestWorld::services()
{
    return ModelServices {
        .persistence = Persistence(support()),
        .folders = folders(),
        .clock = &clock,
        .timers = &timers,
        .trash = &trash,
        .notifier = &notifications,
        .clipboard = &clipboard,
        .fileManager = &fileManager,
        .previewer = &previewer,
        .defaults = defaults.get(),
        .screenshots = {},
        .timeZone = QTimeZone("Europe/Berlin"),
        .expiryPassPeriod = std::chrono::milliseconds(60000),
        .inboxQuietPeriod = inboxQuietPeriod,
    };
}

std::unique_ptr<AppModel> TestWorld::makeModel() { return std::make_unique<AppModel>(services()); }

void writeFile(const QString& path, const QByteArray& contents)
{
    QDir().mkpath(path.left(path.lastIndexOf(QLatin1Char('/'))));
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(file.write(contents), contents.size());
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList namesIn(const QString& folder)
{
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    names.sort();
    return names;
}

TrackedFile recordAt(const QString& path, FileFolder folder, const QDateTime& landedAt)
{
    TrackedFile file;
    file.id = QUuid::createUuid();
    file.path = path;
    file.size = 1;
    file.source = TrackedFile::inferSource(path.mid(path.lastIndexOf(QLatin1Char('/')) + 1), FileSource::Manual);
    file.landedAt = landedAt;
    file.folder = folder;
    return file;
}

TrackedFile landFile(TestWorld& world, AppModel& model, const QString& name, const QByteArray& contents)
{
    writeFile(world.folders().inbox() + QLatin1Char('/') + name, contents);
    model.ingestInbox();
    for (const TrackedFile& file : model.files()) {
        if (file.name() == name)
            return file;
    }
    return {};
}

namespace {

bool ownMountNamespace(QString& why)
{
    static int state = 0; // 0 untried, 1 ours, -1 refused
    static QString reason;
    if (state == 0) {
        if (::geteuid() != 0) {
            reason = QStringLiteral("mounting a test file system needs root");
            state = -1;
        } else if (::unshare(CLONE_NEWNS) != 0) {
            reason = QStringLiteral("no private mount namespace: ") + QString::fromLocal8Bit(std::strerror(errno));
            state = -1;
        } else if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
            reason = QStringLiteral("mounts cannot be made private: ") + QString::fromLocal8Bit(std::strerror(errno));
            state = -1;
        } else {
            state = 1;
        }
    }
    why = reason;
    return state == 1;
}

} // namespace

std::unique_ptr<ScopedMount> ScopedMount::mount(const QString& at, const QByteArray& options, QString& why, const char* type)
{
    if (!ownMountNamespace(why))
        return nullptr;
    QDir().mkpath(at);
    if (::mount("dropwell-test", QFile::encodeName(at).constData(), type, 0, options.constData()) != 0) {
        why = QStringLiteral("%1 cannot be mounted: ").arg(QLatin1String(type)) + QString::fromLocal8Bit(std::strerror(errno));
        return nullptr;
    }
    return std::unique_ptr<ScopedMount>(new ScopedMount(at));
}

std::unique_ptr<ScopedMount> ScopedMount::bindReadOnly(const QString& at, QString& why)
{
    if (!ownMountNamespace(why))
        return nullptr;
    const QByteArray folder = QFile::encodeName(at);
    if (::mount(folder.constData(), folder.constData(), nullptr, MS_BIND, nullptr) != 0) {
        why = QStringLiteral("cannot bind a folder: ") + QString::fromLocal8Bit(std::strerror(errno));
        return nullptr;
    }
    std::unique_ptr<ScopedMount> bound(new ScopedMount(at));
    if (::mount(nullptr, folder.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0) {
        why = QStringLiteral("cannot make a bound folder read-only: ") + QString::fromLocal8Bit(std::strerror(errno));
        return nullptr;
    }
    return bound;
}

ScopedMount::~ScopedMount()
{
    ::umount2(QFile::encodeName(path_).constData(), MNT_DETACH);
}

bool ScopedMount::makeReadOnly(QString& why)
{
    if (::mount(nullptr, QFile::encodeName(path_).constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
        why = QStringLiteral("cannot remount read-only: ") + QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    return true;
}
