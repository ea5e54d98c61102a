#include "app/session_file.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <limits>

#include "app/file_replace.h"
#include "app/session_look.h"
#include "fits/fits_reader.h"
#include "app/slot_loading.h"
#include "app/slot_rows.h"
#include "app/velocity_axis_rows.h"
#include "plot/line_marks.h"
#include "plot/view_control.h"
#include "store/rest_frame.h"

namespace wendrel {

namespace {

constexpr const char* kAutomatic = "automatic";
constexpr const char* kFitToView = "fit";
constexpr const char* kFixed = "fixed";

QString Text(const std::string& text) { return QString::fromStdString(text); }

std::filesystem::path AbsoluteOf(const std::filesystem::path& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return (error ? path : absolute).lexically_normal();
}

// The spectrum's file relative to `folder` when it lies in or below it, else absolute.
std::string FileAsSeenFrom(const std::filesystem::path& file, const std::filesystem::path& folder) {
    const std::filesystem::path absolute = AbsoluteOf(file);
    const std::filesystem::path relative = absolute.lexically_relative(folder);
    const bool below = !relative.empty() && *relative.begin() != ".." && !relative.is_absolute();
    return (below ? relative : absolute).generic_string();
}

// Reads the session's fields out of its JSON, noting the first thing that is
// wrong with its shape.
class ShapeReader {
public:
    std::string wrong;  // empty while the shape is right

    QJsonObject Object(const QJsonObject& in, const char* key) {
        if (!in.value(key).isObject()) Wrong(std::string("\"") + key + "\" is not an object");
        return in.value(key).toObject();
    }
    QJsonArray Array(const QJsonObject& in, const char* key) {
        if (!in.value(key).isArray()) Wrong(std::string("\"") + key + "\" is not a list");
        return in.value(key).toArray();
    }
    std::string String(const QJsonObject& in, const char* key) {
        if (!in.value(key).isString() || in.value(key).toString().isEmpty())
            Wrong(std::string("\"") + key + "\" is not a text");
        return in.value(key).toString().toStdString();
    }
    bool Bool(const QJsonObject& in, const char* key) {
        if (!in.value(key).isBool()) Wrong(std::string("\"") + key + "\" is not true or false");
        return in.value(key).toBool();
    }
    double Number(const QJsonObject& in, const char* key) {
        const double value = in.value(key).toDouble(NAN);
        if (!in.value(key).isDouble() || !std::isfinite(value)) Wrong(std::string("\"") + key + "\" is not a number");
        return value;
    }
    int64_t Whole(const QJsonObject& in, const char* key, int64_t low, int64_t high) {
        const double value = Number(in, key);
        if (wrong.empty() && (value != std::floor(value) || value < static_cast<double>(low) ||
                              value > static_cast<double>(high)))
            Wrong(std::string("\"") + key + "\" is not a whole number from " + std::to_string(low) + " to " +
                  std::to_string(high));
        return wrong.empty() ? static_cast<int64_t>(value) : 0;
    }
    void Wrong(const std::string& why) {
        if (wrong.empty()) wrong = why;
    }
};

// A session's loads show no messages of their own (the refusals are shown as
// one) and leave the redraw to the end; their rows go to the window.
class SessionLoadUi : public UiHooks {
public:
    explicit SessionLoadUi(UiHooks& ui) : ui_(ui) {}
    void ShowMessage(const std::string&) override {}
    void ShowLoadedRow(int slot) override { ui_.ShowLoadedRow(slot); }
    void HideLoadedRow(int slot) override { ui_.HideLoadedRow(slot); }
    void RedrawPlot() override {}
    void ClearPlotWindow() override { ui_.ClearPlotWindow(); }
    void HidePlotWindow() override { ui_.HidePlotWindow(); }
    bool PlotShown() const override { return ui_.PlotShown(); }

private:
    UiHooks& ui_;
};

}  // namespace

bool IsSessionFile(const std::filesystem::path& file) {
    std::string ending = file.extension().string();
    std::ranges::transform(ending, ending.begin(), [](unsigned char c) { return std::tolower(c); });
    return ending == kSessionEnding;
}

Session SessionOf(const Workspace& ws, const std::filesystem::path& sessionFile) {
    const std::filesystem::path folder = AbsoluteOf(sessionFile).parent_path();
    Session session;
    for (int row = 1; row <= kMaxSlots; ++row) {
        const Row& s = ws.slot(row);
        if (!s.Loaded()) continue;
        const bool combined = s.Combined.Kind != RowCombination::None;
        const auto index = static_cast<size_t>(row - 1);
        const double axisRest = index < ws.View.VelocityRowRest.size() ? ws.View.VelocityRowRest[index] : 0;
        session.Rows.push_back({row, combined ? "" : FileAsSeenFrom(s->SourcePath, folder), s->NumberInFile,
                                s.SlotColor, s.Offset, s.Velocity, axisRest, DerivationOf(s)});
    }
    session.Lambda0Key = ws.Config.Lambda0Key;
    session.DLambdaKey = ws.Config.DLambdaKey;
    session.PlotLeft = ws.View.PlotLeft;
    session.PlotRight = ws.View.PlotRight;
    session.Intensity = ws.View.Intensity;
    session.IntensityLow = ws.View.IntensityLow;
    session.IntensityHigh = ws.View.IntensityHigh;
    session.ScaleFlux = ws.View.ScaleFlux;
    session.ShowLegend = ws.View.ShowLegend;
    session.ShowUncertainties = ws.View.ShowUncertainties;
    session.XUnit = ws.View.XUnit;
    session.VelocityRestLambda = ws.View.VelocityRestLambda;
    session.LineMarkSets = ws.View.LineMarkSets;
    session.LineMarksInVacuum = ws.View.LineMarksInVacuum;
    session.Look = ws.View.Look;
    return session;
}

std::string SessionText(const Session& session) {
    QJsonArray rows;
    for (const SessionRow& r : session.Rows) {
        QJsonObject row{{"row", r.Row},
                        {"spectrum", static_cast<qint64>(r.Spectrum)},
                        {"color", r.Color},
                        {"offset", r.Offset},
                        {"velocity", r.Velocity}};
        if (!r.File.empty()) row.insert("file", Text(r.File));
        if (r.AxisRest > 0) row.insert("velocityAxis", r.AxisRest);
        WriteDerivation(r.Derived, row);
        rows.append(row);
    }
    QJsonArray lines;
    for (const std::string& set : session.LineMarkSets) lines.append(Text(set));
    const char* intensity = session.Intensity == PlotView::IntensityRange::Automatic   ? kAutomatic
                            : session.Intensity == PlotView::IntensityRange::FitToView ? kFitToView
                                                                                        : kFixed;
    QJsonObject view{{"left", session.PlotLeft},
                           {"right", session.PlotRight},
                           {"intensity", intensity},
                           {"low", session.IntensityLow},
                           {"high", session.IntensityHigh},
                           {"scale", session.ScaleFlux ? "flux" : "percent"},
                           {"legend", session.ShowLegend},
                           {"uncertainties", session.ShowUncertainties},
                           {"xunit", Text(std::string(UnitKey(session.XUnit)))},
                           {"velocityAxis", session.VelocityRestLambda},
                           {"lines", lines},
                           {"lineWavelengths", session.LineMarksInVacuum ? "vacuum" : "air"}};
    WriteLook(view, session.Look);
    const QJsonObject keys{{"lambda0", Text(session.Lambda0Key)}, {"dlambda", Text(session.DLambdaKey)}};
    const QJsonObject top{{"version", kSessionVersion}, {"keys", keys}, {"view", view}, {"rows", rows}};
    return QJsonDocument(top).toJson(QJsonDocument::Indented).toStdString();
}

SessionRead ParseSessionText(std::string_view text, const std::string& shownName) {
    const std::string about = "The session \"" + shownName + "\" cannot be opened: ";
    QJsonParseError parseError;
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray(text.data(), static_cast<qsizetype>(text.size())), &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return {std::nullopt, about + "it is no JSON text (" + parseError.errorString().toStdString() + " at byte " +
                                  std::to_string(parseError.offset) + ")."};
    if (!document.isObject()) return {std::nullopt, about + "it holds no JSON object."};
    const QJsonObject top = document.object();
    ShapeReader read;
    const int64_t version = read.Whole(top, "version", 1, std::numeric_limits<int32_t>::max());
    if (read.wrong.empty() && version > kSessionVersion)
        return {std::nullopt, about + "it was written by a newer version of the program (session version " +
                                  std::to_string(version) + "; this one reads up to " +
                                  std::to_string(kSessionVersion) + ")."};

    Session session;
    const QJsonObject keys = read.Object(top, "keys");
    session.Lambda0Key = read.String(keys, "lambda0");
    session.DLambdaKey = read.String(keys, "dlambda");
    const QJsonObject view = read.Object(top, "view");
    session.PlotLeft = read.Number(view, "left");
    session.PlotRight = read.Number(view, "right");
    const std::string intensity = read.String(view, "intensity");
    session.Intensity = intensity == kFitToView ? PlotView::IntensityRange::FitToView
                        : intensity == kFixed   ? PlotView::IntensityRange::Fixed
                                                : PlotView::IntensityRange::Automatic;
    if (intensity != kAutomatic && intensity != kFitToView && intensity != kFixed)
        read.Wrong("\"intensity\" is none of automatic, fit and fixed");
    session.IntensityLow = read.Number(view, "low");
    session.IntensityHigh = read.Number(view, "high");
    if (session.Intensity == PlotView::IntensityRange::Fixed && !(session.IntensityLow < session.IntensityHigh))
        read.Wrong("the fixed intensity range does not rise");
    const std::string scale = read.String(view, "scale");
    if (scale != "flux" && scale != "percent") read.Wrong("\"scale\" is neither flux nor percent");
    session.ScaleFlux = scale == "flux";
    session.ShowLegend = read.Bool(view, "legend");
    if (view.contains("uncertainties")) session.ShowUncertainties = read.Bool(view, "uncertainties");
    if (view.contains("xunit")) {
        const std::optional<WavelengthUnit> unit = UnitOfKey(read.String(view, "xunit"));
        if (!unit) read.Wrong("\"xunit\" is none of A, nm and um");
        session.XUnit = unit.value_or(WavelengthUnit::Angstrom);
    }
    if (view.contains("velocityAxis")) session.VelocityRestLambda = read.Number(view, "velocityAxis");
    if (!(session.VelocityRestLambda >= 0)) read.Wrong("\"velocityAxis\" is not a rest wavelength of 0 or more");
    for (const QJsonValue set : read.Array(view, "lines")) {
        if (!set.isString()) read.Wrong("\"lines\" holds something other than names");
        if (FindLineSet(set.toString().toStdString())) session.LineMarkSets.insert(set.toString().toStdString());
    }
    const std::string medium = read.String(view, "lineWavelengths");
    if (medium != "air" && medium != "vacuum") read.Wrong("\"lineWavelengths\" is neither air nor vacuum");
    session.LineMarksInVacuum = medium == "vacuum";
    std::string wrongLook;
    session.Look = ReadLook(view, wrongLook);
    if (!wrongLook.empty()) read.Wrong(wrongLook);

    for (const QJsonValue value : read.Array(top, "rows")) {
        if (!value.isObject()) read.Wrong("\"rows\" holds something other than objects");
        const QJsonObject row = value.toObject();
        SessionRow r;
        r.Row = static_cast<int>(read.Whole(row, "row", 1, kMaxSlots));
        if (const std::string wrong = ReadDerivation(row, r.Derived); !wrong.empty()) read.Wrong(wrong);
        if (r.Derived.Combined.Kind == RowCombination::None) r.File = read.String(row, "file");
        r.Spectrum = read.Whole(row, "spectrum", 1, std::numeric_limits<int32_t>::max());
        r.Color = static_cast<int32_t>(read.Whole(row, "color", 0, 0xFFFFFF));
        r.Offset = static_cast<int>(read.Whole(row, "offset", std::numeric_limits<int32_t>::min(),
                                               std::numeric_limits<int32_t>::max()));
        r.Velocity = read.Number(row, "velocity");
        if (read.wrong.empty() && !(r.Velocity > -kSpeedOfLight)) read.Wrong("a velocity is not above -c");
        if (row.contains("velocityAxis")) r.AxisRest = read.Number(row, "velocityAxis");
        if (read.wrong.empty() && !(r.AxisRest >= 0)) read.Wrong("a row's \"velocityAxis\" is not a rest wavelength of 0 or more");
        const bool twice = std::ranges::any_of(session.Rows, [&](const SessionRow& o) { return o.Row == r.Row; });
        if (read.wrong.empty() && twice) read.Wrong("row " + std::to_string(r.Row) + " is given twice");
        session.Rows.push_back(std::move(r));
    }
    if (!read.wrong.empty())
        return {std::nullopt, about + "its contents are not those of a session: " + read.wrong + "."};
    std::ranges::sort(session.Rows, {}, &SessionRow::Row);
    return {std::move(session), {}};
}

SessionRead ReadSessionFile(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        return {std::nullopt, "The session \"" + file.string() + "\" cannot be opened: there is no such file."};
    QFile in(QString::fromStdString(file.string()));
    if (!in.open(QIODevice::ReadOnly))
        return {std::nullopt,
                "The session \"" + file.string() + "\" cannot be opened: " + in.errorString().toStdString() + "."};
    const QByteArray bytes = in.readAll();
    return ParseSessionText(std::string_view(bytes.data(), static_cast<size_t>(bytes.size())), file.string());
}

std::string WriteSessionFile(const std::filesystem::path& file, const Workspace& ws) {
    const int error = ReplaceFileWith(file, SessionText(SessionOf(ws, file)));
    if (error == 0) return {};
    return "The session \"" + file.string() + "\" could not be written: " + std::strerror(error) + ".";
}

std::filesystem::path SessionRowPath(const SessionRow& row, const std::filesystem::path& sessionFile) {
    const std::filesystem::path file(row.File);
    if (file.is_absolute()) return file.lexically_normal();
    return (AbsoluteOf(sessionFile).parent_path() / file).lexically_normal();
}

int OpenSession(Workspace& ws, const Session& session, const std::filesystem::path& sessionFile, UiHooks& ui) {
    for (int row = 1; row <= kMaxSlots; ++row) {
        if (!ws.slot(row).Loaded()) continue;
        ws.slot(row).Data.reset();
        ui.HideLoadedRow(row);
    }
    ws.DataReady = false;
    ws.View.LambdaMin = kEmptyLambdaMin;
    ws.View.LambdaMax = kEmptyLambdaMax;
    ClearViewHistory(ws);
    ws.View.Measured = {};
    ws.View.PickedSlot = 0;
    ws.Config.Lambda0Key = session.Lambda0Key;
    ws.Config.DLambdaKey = session.DLambdaKey;

    std::string notOpened;
    int loaded = 0;
    std::vector<std::pair<int, RowDerivation>> derived;
    for (const SessionRow& r : session.Rows) {
        derived.emplace_back(r.Row, r.Derived);
        if (r.Derived.Combined.Kind != RowCombination::None) continue;  // made below from its two rows
        const std::filesystem::path file = SessionRowPath(r, sessionFile);
        std::error_code error;
        SessionLoadUi quiet(ui);
        if (!std::filesystem::exists(file, error)) {
            notOpened += "\n" + file.string() + ": the file is missing.";
            continue;
        }
        const std::filesystem::path spectrum = file.parent_path() / SpectrumName(file.filename().string(), r.Spectrum);
        LoadResult read = LoadFitsFile(spectrum, ws.Config);
        std::string why;  // the reader's own messages, which the file's path then names
        for (const std::string& message : read.messages) why += " " + message;
        if (!CommitLoad(ws, r.Row, spectrum, std::move(read), quiet, AfterLoad::NoRedraw)) {
            notOpened += "\n" + file.string() + (why.empty() ? ": the file cannot be read." : ":" + why);
            continue;
        }
        Row& s = ws.slot(r.Row);
        s.SlotColor = r.Color;
        s.Offset = r.Offset;
        s.Velocity = r.Velocity;
        ui.ShowLoadedRow(r.Row);  // the captions of its offset and velocity
        ++loaded;
    }
    notOpened += MakeDerivedRows(ws, derived);
    for (const SessionRow& r : session.Rows) {
        Row& s = ws.slot(r.Row);
        if (r.Derived.Combined.Kind == RowCombination::None || !s.Loaded()) continue;
        s.SlotColor = r.Color;
        s.Offset = r.Offset;
        s.Velocity = r.Velocity;
        ui.ShowRowCaptions(r.Row);
        ++loaded;
    }

    ws.View.ScaleFlux = session.ScaleFlux;
    ws.View.ShowLegend = session.ShowLegend;
    ws.View.ShowUncertainties = session.ShowUncertainties;
    ws.View.XUnit = session.XUnit;
    std::vector<double> rowRests;
    for (const SessionRow& r : session.Rows)
        if (r.AxisRest > 0) {
            rowRests.resize(std::max(rowRests.size(), static_cast<size_t>(r.Row)));
            rowRests[static_cast<size_t>(r.Row - 1)] = r.AxisRest;
        }
    SetVelocityAxis(ws, session.VelocityRestLambda, std::move(rowRests));
    ws.View.Intensity = session.Intensity;
    ws.View.IntensityLow = session.IntensityLow;
    ws.View.IntensityHigh = session.IntensityHigh;
    ws.View.LineMarkSets = session.LineMarkSets;
    ws.View.LineMarksInVacuum = session.LineMarksInVacuum;
    ws.View.Look = session.Look;
    if (loaded > 0) {
        RecalcLambdaRange(ws);
        if (session.PlotLeft < session.PlotRight) {
            ws.View.PlotLeft = session.PlotLeft;
            ws.View.PlotRight = session.PlotRight;
        }
        ui.RedrawPlot();
    } else if (ui.PlotShown()) {
        ui.HidePlotWindow();
    }
    if (!notOpened.empty())
        ui.ShowMessage("Of the session \"" + sessionFile.string() +
                       "\", these spectra were not opened, so their rows are empty:" + notOpened);
    return loaded;
}

}  // namespace wendrel
