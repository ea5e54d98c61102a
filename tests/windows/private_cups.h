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
    ~PrivateCups();  // stops the scheduler, removes the queue's settings

    // Each returns what went wrong, or nothing. Start runs cupsd and adds the
    // PDF queue; StopQueue stops it, as a printer that is switched off.
    QString Start(const QString& queue);
    QString StopQueue() const;

    QString OutputFolder() const { return folder_.filePath("out"); }  // where the queue writes its PDF files
    QString PendingJobs() const;  // the queue's jobs not yet completed, as lpstat lists them
    QString ErrorLog() const;

private:
    QString WriteConfiguration();

    QTemporaryDir folder_;
    QString queue_;
    QString queueSettings_;  // cups-pdf reads a queue's settings only from /etc/cups
    QProcess cupsd_;
};

}  // namespace wendrel::testing
