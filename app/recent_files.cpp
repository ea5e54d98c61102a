#include "app/recent_files.h"

#include <QJsonArray>
#include <algorithm>

namespace wendrel {

std::vector<std::string> RecentListOf(const QJsonValue& recent) {
    if (!recent.isArray()) return {};
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

}  // namespace wendrel
