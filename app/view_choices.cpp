#include "app/view_choices.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <functional>

#include "app/file_replace.h"
#include "app/recent_files.h"

namespace wendrel {

namespace {

// One kept choice of the view: its name in the file, how it is written, how
// it is read (a value of the wrong kind leaves the view alone) and how it is
// taken over. A new choice is one more line in kViewFields.
struct ViewField {
    const char* name;
    std::function<QJsonValue(const PlotView&)> write;
    std::function<void(const QJsonValue&, PlotView&)> read;
    std::function<void(PlotView&, const PlotView&)> take;
};

// For a choice of an enumeration, `last` is its last value.
template <typename T>
ViewField Field(const char* name, T PlotView::*member, T last = T{}) {
    const auto take = [member](PlotView& to, const PlotView& from) { to.*member = from.*member; };
    if constexpr (std::is_same_v<T, bool>) {
        return {name, [member](const PlotView& v) { return QJsonValue(v.*member); },
                [member](const QJsonValue& j, PlotView& v) { if (j.isBool()) v.*member = j.toBool(); }, take};
    } else if constexpr (std::is_same_v<T, double>) {
        return {name, [member](const PlotView& v) { return QJsonValue(v.*member); },
                [member](const QJsonValue& j, PlotView& v) { if (j.isDouble()) v.*member = j.toDouble(); }, take};
    } else if constexpr (std::is_enum_v<T>) {
        return {name, [member](const PlotView& v) { return QJsonValue(static_cast<int>(v.*member)); },
                [member, last](const QJsonValue& j, PlotView& v) {
                    if (j.isDouble() && j.toInt(-1) >= 0 && j.toInt(-1) <= static_cast<int>(last))
                        v.*member = static_cast<T>(j.toInt());
                },
                take};
    } else {
        static_assert(std::is_same_v<T, std::set<std::string>>);
        return {name,
                [member](const PlotView& v) {
                    QJsonArray names;
                    for (const std::string& key : v.*member) names.append(QString::fromStdString(key));
                    return QJsonValue(names);
                },
                [member](const QJsonValue& j, PlotView& v) {
                    if (!j.isArray()) return;
                    std::set<std::string> names;
                    for (const QJsonValue name : j.toArray())
                        if (name.isString()) names.insert(name.toString().toStdString());
                    v.*member = std::move(names);
                },
                take};
    }
}

const std::vector<ViewField>& ViewFields() {
    static const std::vector<ViewField> fields = {
        Field("scaleFlux", &PlotView::ScaleFlux),
        Field("legend", &PlotView::ShowLegend),
        Field("intensity", &PlotView::Intensity, PlotView::IntensityRange::Fixed),
        Field("intensityLow", &PlotView::IntensityLow),
        Field("intensityHigh", &PlotView::IntensityHigh),
        Field("lineSets", &PlotView::LineMarkSets),
        Field("linesInVacuum", &PlotView::LineMarksInVacuum),
    };
    return fields;
}

}  // namespace

std::filesystem::path ViewFilePath(const std::filesystem::path& settingsPath) {
    return settingsPath.parent_path() / kViewFileName;
}

KeptChoices ReadKeptChoices(const std::filesystem::path& file) {
    KeptChoices kept;
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) return kept;
    QFile in(QString::fromStdString(file.string()));
    if (!in.open(QIODevice::ReadOnly)) return kept;
    const QJsonObject top = QJsonDocument::fromJson(in.read(1 << 20)).object();
    if (top.value("version") != 1) return kept;
    const QJsonObject view = top.value("view").toObject();
    for (const ViewField& field : ViewFields()) field.read(view.value(field.name), kept.view);
    kept.recent = RecentListOf(top.value("recent"));
    return kept;
}

bool WriteKeptChoices(const std::filesystem::path& file, const PlotView& view, const std::vector<std::string>& recent) {
    QJsonObject choices;
    for (const ViewField& field : ViewFields()) choices.insert(field.name, field.write(view));
    QJsonArray list;
    for (const std::string& entry : recent) list.append(QString::fromStdString(entry));
    const QJsonObject top{{"version", 1}, {"view", choices}, {"recent", list}};
    return ReplaceFileWith(file, QJsonDocument(top).toJson().toStdString()) == 0;
}

void TakeViewChoices(PlotView& view, const PlotView& kept) {
    for (const ViewField& field : ViewFields()) field.take(view, kept);
}

}  // namespace wendrel
