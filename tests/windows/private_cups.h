// A CUPS scheduler of the test's own: its own configuration folder, listening
// only on this process's socket (which the test program puts in CUPS_SERVER,
// so the machine's printers play no part), with one cups-pdf queue writing
// into a folder of the test's. Every outside command runs with a time limit.
#pragma once

#include <unistd.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <filesystem>

namespace wendrel::testing {

struct Outcome { bool ok = false; QString output; };

// Runs a command with a time limit, in this process's environment.
inline Outcome Run(const QString& program, const QStringList& args, int seconds) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, args);
    if (!process.waitForFinished(seconds * 1000))  // the process is killed on the way out
        return {false, program + " did not start or took longer than " + QString::number(seconds) + " s"};
    const QString output = QString::fromLocal8Bit(process.readAll());
    return {process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0, output};
}

inline QString CupsSocket() {
    return QDir::tempPath() + "/wendrel-cups-" + QString::number(::getpid()) + ".sock";
}

// Set before main, ahead of any printing code of the test program; the
// commands run here inherit it.
inline const bool kOwnCupsServer = qputenv("CUPS_SERVER", CupsSocket().toLocal8Bit());

// Installs the scheduler, its PDF queue driver and pdftoppm when any is
// missing (as root, non-interactive). Returns what went wrong, or nothing.
inline QString EnsureCupsPackages() {
    const QStringList packages = {"cups-daemon", "cups-client", "cups-filters", "printer-driver-cups-pdf",
                                  "ghostscript", "poppler-utils"};
    const auto installed = [&] {
        const QString status = Run("dpkg-query", QStringList{"-W", "-f=${Status}\n"} + packages, 30).output;
        return status.count("install ok installed") == packages.size();
    };
    if (installed()) return {};
    qputenv("DEBIAN_FRONTEND", "noninteractive");
    if (const Outcome update = Run("apt-get", {"update", "-qq"}, 300); !update.ok)
        return "apt-get update failed: " + update.output;
    const Outcome install =
        Run("apt-get", QStringList{"install", "-y", "-qq", "--no-install-recommends"} + packages, 900);
    if (!install.ok) return "apt-get install failed: " + install.output;
    return installed() ? QString() : "CUPS packages still missing after apt-get";
}

class PrivateCups {
public:
    ~PrivateCups() {  // stops the scheduler, removes the queue's settings
        cupsd_.terminate();
        if (cupsd_.state() != QProcess::NotRunning && !cupsd_.waitForFinished(10000)) cupsd_.kill();
        cupsd_.waitForFinished(5000);
        if (!queueSettings_.isEmpty()) QFile::remove(queueSettings_);
        QFile::remove(CupsSocket());
    }

    // Runs cupsd and adds the PDF queue; returns what went wrong, or nothing.
    QString Start(const QString& queue) {
        queue_ = queue;
        if (QString problem = WriteConfiguration(); !problem.isEmpty()) return problem;
        QFile::remove(CupsSocket());
        cupsd_.setProcessChannelMode(QProcess::ForwardedChannels);
        cupsd_.start("/usr/sbin/cupsd",
                     {"-f", "-c", folder_.filePath("cupsd.conf"), "-s", folder_.filePath("cups-files.conf")});
        if (!cupsd_.waitForStarted(10000)) return "cupsd did not start";
        const QDeadlineTimer ready(20000);
        while (!Run("lpstat", {"-r"}, 10).output.contains("scheduler is running")) {
            if (ready.hasExpired() || cupsd_.state() != QProcess::Running) return "cupsd is not answering";
            QThread::msleep(100);
        }
        const QString driver = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";
        const Outcome added = Run("lpadmin", {"-p", queue, "-E", "-v", "cups-pdf:/" + queue, "-P", driver}, 60);
        return added.ok ? QString() : "lpadmin failed: " + added.output;
    }

    QString StopQueue() const {  // as a printer switched off; returns what went wrong, or nothing
        const Outcome stopped = Run("cupsdisable", {queue_}, 30);
        return stopped.ok ? QString() : "cupsdisable failed: " + stopped.output;
    }

    QString OutputFolder() const { return folder_.filePath("out"); }  // where the queue writes its PDF files
    // The queue's jobs not yet completed, as lpstat lists them.
    QString PendingJobs() const { return Run("lpstat", {"-o", queue_}, 10).output.trimmed(); }

private:
    static bool WriteText(const QString& path, const QString& text) {
        QFile file(path);
        const QByteArray bytes = text.toUtf8();
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
    }

    QString WriteConfiguration() {
        const QString root = folder_.path();
        // Filters run as lp and must reach the spooled files.
        std::filesystem::permissions(root.toStdString(), std::filesystem::perms(0755));
        for (const char* sub : {"spool/tmp", "cache", "state", "out", "cups-pdf-spool"})
            if (!QDir(root).mkpath(sub)) return QString("cannot make ") + sub;
        // The scheduler's errors go to the test's own output.
        const QString cupsd = "LogLevel error\nListen " + CupsSocket() +
                              "\nBrowsing No\nDefaultAuthType None\nWebInterface No\n"
                              "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                              "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n";
        QString files = "ServerBin /usr/lib/cups\nDataDir /usr/share/cups\nUser lp\nGroup lp\nSystemGroup root\n"
                        "ErrorLog stderr\n";
        for (const char* place : {"ServerRoot ", "RequestRoot /spool", "TempDir /spool/tmp", "CacheDir /cache",
                                  "StateDir /state", "AccessLog /access_log",
                                  "PageLog /page_log", "Printcap /printcap"}) {
            const QStringList words = QString(place).split(' ');
            files += words[0] + " " + root + words[1] + "\n";
        }
        const QString pdf = "Out " + OutputFolder() + "\nAnonDirName " + OutputFolder() + "\nSpool " + root +
                            "/cups-pdf-spool\nLog " + root + "\nGrp root\n";
        if (!WriteText(root + "/cupsd.conf", cupsd) || !WriteText(root + "/cups-files.conf", files))
            return "cannot write the scheduler's configuration";
        queueSettings_ = "/etc/cups/cups-pdf-" + queue_ + ".conf";  // cups-pdf reads them only from /etc/cups
        return WriteText(queueSettings_, pdf) ? QString() : "cannot write " + queueSettings_;
    }

    QTemporaryDir folder_;
    QString queue_;
    QString queueSettings_;
    QProcess cupsd_;
};

}  // namespace wendrel::testing
