#include "app/samp_hub_lock.h"

#include <QDir>
#include <QFile>
#include <QUrl>
#include <cstdlib>

namespace wendrel {

namespace {

constexpr std::string_view kLockUrlPrefix = "std-lockurl:";
constexpr qint64 kMaxLockFileBytes = 64 * 1024;

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
    return text;
}

}  // namespace

std::filesystem::path HubLockPath(const char* sampHub, const std::filesystem::path& home, std::string& error) {
    if (sampHub == nullptr || *sampHub == '\0') return home / ".samp";
    const std::string_view value(sampHub);
    if (!value.starts_with(kLockUrlPrefix)) {
        error = "SAMP_HUB names no lock file the program knows (it must start with \"std-lockurl:\").";
        return {};
    }
    const QUrl url(QString::fromUtf8(value.substr(kLockUrlPrefix.size())));
    if (!url.isLocalFile()) {
        error = "SAMP_HUB names a lock file that is not a local file: " + std::string(value) + ".";
        return {};
    }
    return url.toLocalFile().toStdString();
}

HubAddress ParseHubLock(std::string_view text) {
    HubAddress hub;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = Trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == '#') continue;
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string_view key = Trimmed(line.substr(0, equals)), value = Trimmed(line.substr(equals + 1));
        if (key == "samp.secret") hub.secret = value;
        if (key == "samp.hub.xmlrpc.url") hub.xmlrpcUrl = value;
    }
    return hub;
}

HubAddress FindHub() {
    std::string error;
    const std::filesystem::path lock = HubLockPath(std::getenv("SAMP_HUB"), QDir::homePath().toStdString(), error);
    if (!error.empty()) return {{}, {}, error};
    QFile in(QString::fromStdString(lock.string()));
    if (!in.open(QIODevice::ReadOnly))
        return {{}, {}, "No SAMP hub is running: its lock file \"" + lock.string() + "\" cannot be read."};
    HubAddress hub = ParseHubLock(in.read(kMaxLockFileBytes).toStdString());
    if (hub.secret.empty() || hub.xmlrpcUrl.empty())
        hub.error = "The SAMP lock file \"" + lock.string() + "\" names no hub secret or hub address.";
    return hub;
}

}  // namespace wendrel
