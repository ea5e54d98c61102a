// A CUPS scheduler of the test's own: its own configuration folder, listening
// only on this process's socket (which the test program puts in CUPS_SERVER,
// so the machine's printers play no part), with one cups-pdf queue writing
// into a folder of the test's. Every outside command runs with a time limit.
#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace wendrel::testing {

// Installs the scheduler, its PDF queue driver and pdftoppm when any is
// missing (as root, non-interactive). Returns what went wrong, or nothing.
QString EnsureCupsPackages();

class PrivateCups {
public:
    PrivateCups() = default;
    // Stops the scheduler by its process id and removes the queue's settings.
    ~PrivateCups();
    PrivateCups(const PrivateCups&) = delete;
    PrivateCups& operator=(const PrivateCups&) = delete;

    // Starts cupsd and adds the PDF queue `queue`. Returns what went wrong
    // (with the scheduler's error log), or nothing.
    QString Start(const QString& queue);
    // Stops the queue, as a printer that is switched off. Returns what went
    // wrong, or nothing.
    QString StopQueue() const;

    // Where the queue writes its PDF files.
    QString OutputFolder() const { return folder_.filePath("out"); }
    // The queue's jobs not yet completed, as lpstat lists them.
    QString PendingJobs() const;
    QString ErrorLog() const;

private:
    QString WriteConfiguration();

    QTemporaryDir folder_;
    QString queue_;
    QString queueSettings_;  // cups-pdf reads a queue's settings only from /etc/cups
    QProcess cupsd_;
};

}  // namespace wendrel::testing
