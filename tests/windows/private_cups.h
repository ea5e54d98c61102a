// A CUPS scheduler of the test's own, on this process's socket (in CUPS_SERVER, so the machine's printers
// play no part), with one cups-pdf queue writing into the test's folder. Outside commands have a time limit.
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
inline Outcome RunTool(const QString& program, const QStringList& args, int seconds) {
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
// Set before main, ahead of any printing code; the commands run here inherit it.
inline const bool kOwnCupsServer = qputenv("CUPS_SERVER", CupsSocket().toLocal8Bit());

// Installs the scheduler, cups-pdf and pdftoppm when missing; returns what went wrong, or nothing.
inline QString EnsureCupsPackages() {
    const QStringList packages = {"cups-daemon", "cups-client", "cups-filters", "printer-driver-cups-pdf",
                                  "ghostscript", "poppler-utils"};
    const auto installed = [&] {
        const QString status = RunTool("dpkg-query", QStringList{"-W", "-f=${Status}\n"} + packages, 30).output;
        return status.count("install ok installed") == packages.size();
    };
    if (installed()) return {};
    qputenv("DEBIAN_FRONTEND", "noninteractive");
    const QStringList install = QStringList{"install", "-y", "-qq", "--no-install-recommends"} + packages;
    for (const QStringList& args : {QStringList{"update", "-qq"}, install})
        if (const Outcome step = RunTool("apt-get", args, 900); !step.ok) return "apt-get: " + step.output;
    return installed() ? QString() : "CUPS packages still missing after apt-get";
}

class PrivateCups {
public:
    ~PrivateCups() {  // stops the scheduler, removes the queue's settings
        cupsd_.terminate();
        if (!cupsd_.waitForFinished(10000)) cupsd_.kill();
        cupsd_.waitForFinished(5000);
        QFile::remove(queueSettings_);
        QFile::remove(CupsSocket());
    }
    // Runs cupsd and adds the PDF queue; returns what went wrong, or nothing.
    QString Start(const QString& queue) {
        if (QString problem = WriteConfiguration(queue); !problem.isEmpty()) return problem;
        QFile::remove(CupsSocket());
        cupsd_.setProcessChannelMode(QProcess::ForwardedChannels);
        cupsd_.start("/usr/sbin/cupsd", {"-f", "-c", root_ + "/cupsd.conf", "-s", root_ + "/files.conf"});
        if (!cupsd_.waitForStarted(10000)) return "cupsd did not start";
        const QDeadlineTimer ready(20000);
        for (; !RunTool("lpstat", {"-r"}, 10).output.contains("scheduler is running"); QThread::msleep(100))
            if (ready.hasExpired() || cupsd_.state() != QProcess::Running) return "cupsd is not answering";
        const QString driver = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";
        const Outcome added =
            RunTool("lpadmin", {"-p", queue, "-E", "-v", "cups-pdf:/" + queue, "-P", driver}, 60);
        return added.ok ? QString() : "lpadmin failed: " + added.output;
    }
    QString OutputFolder() const { return folder_.filePath("out"); }  // where the queue writes its PDF files

private:
    static bool WriteText(const QString& path, const QString& text) {
        QFile file(path);
        const QByteArray bytes = text.toUtf8();
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
    }
    QString WriteConfiguration(const QString& queue) {
        // Filters run as lp and must reach the spooled files.
        std::filesystem::permissions(root_.toStdString(), std::filesystem::perms(0755));
        for (const char* sub : {"spool/tmp", "cache", "state", "out", "cups-pdf-spool"})
            if (!QDir(root_).mkpath(sub)) return QString("cannot make ") + sub;
        // The scheduler's errors go to the test's own output.
        const QString cupsd = "LogLevel error\nListen " + CupsSocket() +
                              "\nBrowsing No\nDefaultAuthType None\nWebInterface No\n"
                              "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n<Policy default>\n"
                              "  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n";
        const QString files = QString("ServerBin /usr/lib/cups\nDataDir /usr/share/cups\nUser lp\nGroup lp\n"
                                      "SystemGroup root\nErrorLog stderr\nServerRoot %1\n"
                                      "RequestRoot %1/spool\nTempDir %1/spool/tmp\nCacheDir %1/cache\n"
                                      "StateDir %1/state\nAccessLog %1/access_log\nPageLog %1/page_log\n"
                                      "Printcap %1/printcap\n")
                                  .arg(root_);
        const QString pdf =
            QString("Out %1/out\nAnonDirName %1/out\nSpool %1/cups-pdf-spool\nLog %1\nGrp root\n").arg(root_);
        if (!WriteText(root_ + "/cupsd.conf", cupsd) || !WriteText(root_ + "/files.conf", files))
            return "cannot write the scheduler's configuration";
        queueSettings_ = "/etc/cups/cups-pdf-" + queue + ".conf";  // cups-pdf reads them only from /etc/cups
        return WriteText(queueSettings_, pdf) ? QString() : "cannot write " + queueSettings_;
    }
    QTemporaryDir folder_;
    const QString root_ = folder_.path();
    QString queueSettings_;
    QProcess cupsd_;
};

}  // namespace wendrel::testing
