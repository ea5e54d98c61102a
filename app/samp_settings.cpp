#include "app/samp_settings.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include "app/file_replace.h"

namespace wendrel {

std::filesystem::path SampSettingsPath(const std::filesystem::path& settingsPath) {
    return settingsPath.parent_path() / kSampSettingsName;
}

bool ReadConnectAtStart(const std::filesystem::path& file) {
    QFile in(QString::fromStdString(file.string()));
    if (!in.open(QIODevice::ReadOnly)) return false;
    const QJsonObject top = QJsonDocument::fromJson(in.read(4096)).object();
    return top.value("version") == 1 && top.value("connectAtStart").toBool(false);
}

bool WriteConnectAtStart(const std::filesystem::path& file, bool connect) {
    const QJsonObject top{{"version", 1}, {"connectAtStart", connect}};
    return ReplaceFileWith(file, QJsonDocument(top).toJson().toStdString()) == 0;
}

}  // namespace wendrel
