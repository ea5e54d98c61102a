#include "tests/windows/private_cups.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QThread>
#include <unistd.h>

#include <filesystem>

namespace wendrel::testing {

namespace {

constexpr const char* kPdfDriver = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";
const QStringList kPackages = {"cups-daemon", "cups-client", "cups-filters", "printer-driver-cups-pdf",
                               "ghostscript", "poppler-utils"};

struct Outcome {
    bool ok = false;
    QString output;
};

// Runs a command with a time limit, in this process's environment.
Outcome Run(const QString& program, const QStringList& args, int seconds) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, args);
    if (!process.waitForFinished(seconds * 1000))  // the process is killed on the way out
        return {false, program + " did not start or took longer than " + QString::number(seconds) + " s"};
    const QString output = QString::fromLocal8Bit(process.readAll());
    return {process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0, output};
}

bool PackagesInstalled() {
    const Outcome status = Run("dpkg-query", QStringList{"-W", "-f=${Status}\n"} + kPackages, 30);
    return status.output.count("install ok installed") == kPackages.size();
}

bool WriteText(const QString& path, const QString& text) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text.toUtf8()) == text.toUtf8().size();
}

QString Socket() { return QDir::tempPath() + "/wendrel-cups-" + QString::number(::getpid()) + ".sock"; }

}  // namespace

// Set before main, ahead of any printing code of the test program; the
// commands run here inherit it.
const bool kOwnCupsServer = qputenv("CUPS_SERVER", Socket().toLocal8Bit());

QString EnsureCupsPackages() {
    if (PackagesInstalled()) return {};
    qputenv("DEBIAN_FRONTEND", "noninteractive");
    const Outcome update = Run("apt-get", {"update", "-qq"}, 300);
    if (!update.ok) return "apt-get update failed: " + update.output;
    const Outcome install =
        Run("apt-get", QStringList{"install", "-y", "-qq", "--no-install-recommends"} + kPackages, 900);
    if (!install.ok) return "apt-get install failed: " + install.output;
    return PackagesInstalled() ? QString() : "CUPS packages still missing after apt-get";
}

PrivateCups::~PrivateCups() {
    cupsd_.terminate();
    if (cupsd_.state() != QProcess::NotRunning && !cupsd_.waitForFinished(10000)) cupsd_.kill();
    cupsd_.waitForFinished(5000);
    if (!queueSettings_.isEmpty()) QFile::remove(queueSettings_);
    QFile::remove(Socket());
}

QString PrivateCups::WriteConfiguration() {
    if (!folder_.isValid()) return "no temporary folder";
    const QString root = folder_.path();
    // Filters run as lp and must reach the spooled files.
    std::filesystem::permissions(root.toStdString(), std::filesystem::perms(0755));
    for (const char* sub : {"spool/tmp", "cache", "state", "out", "cups-pdf-spool"})
        if (!QDir(root).mkpath(sub)) return QString("cannot make ") + sub;

    const QString cupsd = "LogLevel info\nListen " + Socket() + "\nBrowsing No\nDefaultAuthType None\nWebInterface No\n"
                          "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                          "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n";
    QString files = "ServerBin /usr/lib/cups\nDataDir /usr/share/cups\nUser lp\nGroup lp\nSystemGroup root\n";
    for (const char* place : {"ServerRoot ", "RequestRoot /spool", "TempDir /spool/tmp", "CacheDir /cache",
                              "StateDir /state", "ErrorLog /error_log", "AccessLog /access_log",
                              "PageLog /page_log", "Printcap /printcap"}) {
        const QStringList words = QString(place).split(' ');
        files += words[0] + " " + root + words[1] + "\n";
    }
    const QString pdf = "Out " + OutputFolder() + "\nAnonDirName " + OutputFolder() + "\nSpool " + root +
                        "/cups-pdf-spool\nLog " + root + "\nGrp root\n";
    if (!WriteText(root + "/cupsd.conf", cupsd) || !WriteText(root + "/cups-files.conf", files))
        return "cannot write the scheduler's configuration";
    queueSettings_ = "/etc/cups/cups-pdf-" + queue_ + ".conf";
    if (!WriteText(queueSettings_, pdf)) return "cannot write " + queueSettings_;
    return {};
}

QString PrivateCups::Start(const QString& queue) {
    queue_ = queue;
    if (QString problem = WriteConfiguration(); !problem.isEmpty()) return problem;
    QFile::remove(Socket());

    cupsd_.setProcessChannelMode(QProcess::ForwardedChannels);
    cupsd_.start("/usr/sbin/cupsd",
                 {"-f", "-c", folder_.filePath("cupsd.conf"), "-s", folder_.filePath("cups-files.conf")});
    if (!cupsd_.waitForStarted(10000)) return "cupsd did not start";

    const QDeadlineTimer ready(20000);
    while (!Run("lpstat", {"-r"}, 10).output.contains("scheduler is running")) {
        if (ready.hasExpired() || cupsd_.state() != QProcess::Running)
            return "cupsd is not answering: " + ErrorLog();
        QThread::msleep(100);
    }
    const Outcome added = Run("lpadmin", {"-p", queue, "-E", "-v", "cups-pdf:/" + queue, "-P", kPdfDriver}, 60);
    if (!added.ok) return "lpadmin failed: " + added.output + ErrorLog();
    return {};
}

QString PrivateCups::StopQueue() const {
    const Outcome stopped = Run("cupsdisable", {queue_}, 30);
    return stopped.ok ? QString() : "cupsdisable failed: " + stopped.output;
}

QString PrivateCups::PendingJobs() const {
    return Run("lpstat", {"-o", queue_}, 10).output.trimmed();
}

QString PrivateCups::ErrorLog() const {
    QFile log(folder_.filePath("error_log"));
    return log.open(QIODevice::ReadOnly) ? "\n" + QString::fromLocal8Bit(log.readAll().right(4000)) : QString();
}

}  // namespace wendrel::testing
