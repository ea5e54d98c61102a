#include "app/recent_files.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

#include "app/file_replace.h"

namespace wendrel {

std::filesystem::path RecentListPath(const std::filesystem::path& settingsPath) {
    return settingsPath.parent_path() / kRecentFileName;
}

std::vector<std::string> ReadRecentList(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) return {};
    QFile in(QString::fromStdString(file.string()));
    if (!in.open(QIODevice::ReadOnly)) return {};
    const QJsonDocument document = QJsonDocument::fromJson(in.read(1 << 20));
    const QJsonValue recent = document.object().value("recent");
    if (document.object().value("version") != 1 || !recent.isArray()) return {};
    std::vector<std::string> list;
    for (const QJsonValue entry : recent.toArray()) {
        if (!entry.isString() || entry.toString().isEmpty()) return {};
        const std::string path = entry.toString().toStdString();
        if (list.size() < kMaxRecent && std::ranges::find(list, path) == list.end()) list.push_back(path);
    }
    return list;
}

std::vector<std::string> WithRecent(std::vector<std::string> list, const std::string& opened) {
    std::erase(list, opened);
    list.insert(list.begin(), opened);
    if (list.size() > kMaxRecent) list.resize(kMaxRecent);
    return list;
}

bool WriteRecentList(const std::filesystem::path& file, const std::vector<std::string>& list) {
    QJsonArray recent;
    for (const std::string& entry : list) recent.append(QString::fromStdString(entry));
    const QJsonObject top{{"version", 1}, {"recent", recent}};
    return ReplaceFileWith(file, QJsonDocument(top).toJson().toStdString()) == 0;
}

}  // namespace wendrel
