#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QSocketNotifier;

// The kernel's report that the entries or attributes of one folder changed:
// a file created, removed or renamed in it, or the folder itself changed,
// moved or deleted. Changes inside sub-folders and to the contents or
// attributes of the files in it are not reported.
class DirectoryEvents : public QObject {
    Q_OBJECT
public:
    explicit DirectoryEvents(QObject* parent = nullptr);
    ~DirectoryEvents() override;

    // Begins reporting on `folder`. False when the folder cannot be watched
    // (missing, not a folder, no permission); nothing is reported then.
    bool start(const QString& folder);
    // Ends reporting and releases the kernel resources at once.
    void stop();
    bool isActive() const;

Q_SIGNALS:
    void changed();

private:
    void drain();

    int fd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
};
