// A CUPS scheduler of the test's own: its own configuration folder, listening
// only on this process's socket (PrivateCupsSocket, which the test program
// puts in CUPS_SERVER), with one cups-pdf queue writing into a folder of the
// test's. Every outside command runs with a time limit.
#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <sys/types.h>

namespace wendrel::testing {

// The socket the printing tests ask CUPS through.
QString PrivateCupsSocket();

// Installs the scheduler, its PDF queue driver and pdftoppm when any is
// missing (as root, non-interactive). Returns an empty text on success,
// otherwise what went wrong.
QString EnsureCupsPackages();

class PrivateCups {
public:
    PrivateCups() = default;
    // Stops the scheduler if it still runs and removes the queue's settings.
    ~PrivateCups();
    PrivateCups(const PrivateCups&) = delete;
    PrivateCups& operator=(const PrivateCups&) = delete;

    // Starts cupsd and adds the PDF queue `queue`. Returns an empty text on
    // success, otherwise what went wrong (with the scheduler's error log).
    QString Start(const QString& queue);
    // Stops the scheduler this object started, by its process id.
    void Stop();

    // Stops the queue, as a printer that is switched off or out of order.
    // Returns an empty text on success.
    QString StopQueue() const;

    // Where the queue writes its PDF files.
    QString OutputFolder() const { return folder_.filePath("out"); }
    // The queue's jobs not yet completed, as lpstat lists them.
    QString PendingJobs() const;
    QString ErrorLog() const;
    pid_t Pid() const { return pid_; }

private:
    QString WriteConfiguration();

    QTemporaryDir folder_;
    QString queue_;
    QString queueSettings_;  // cups-pdf reads a queue's settings only from /etc/cups
    QProcess cupsd_;
    pid_t pid_ = 0;
};

}  // namespace wendrel::testing
