#include "app/samp_receive.h"

#include <QNetworkAccessManager>
#include <cstdint>

#include "app/open_files.h"
#include "app/slot_loading.h"

namespace wendrel {

namespace {

// Passes everything to the windows but the messages, which are kept to be shown after the reply.
class HeldMessagesUi : public UiHooks {
public:
    explicit HeldMessagesUi(UiHooks& ui) : ui_(ui) {}
    void ShowMessage(const std::string& text) override { held += (held.empty() ? "" : "\n\n") + text; }
    void ShowLoadedRow(int slot) override { ui_.ShowLoadedRow(slot); }
    void HideLoadedRow(int slot) override { ui_.HideLoadedRow(slot); }
    void RedrawPlot() override { ui_.RedrawPlot(); }
    void ClearPlotWindow() override { ui_.ClearPlotWindow(); }
    void HidePlotWindow() override { ui_.HidePlotWindow(); }
    std::optional<ColumnChoice> ChooseTableColumns(const std::string& fileName,
                                                   const std::vector<TableColumn>& columns) override {
        return ui_.ChooseTableColumns(fileName, columns);
    }
    std::string held;

private:
    UiHooks& ui_;
};

int FirstEmptyRow(const Workspace& ws) {
    const FilePlan plan = PlanIntoEmptyRows(ws, {std::filesystem::path("spectrum")});
    return plan.targets.empty() ? 0 : plan.targets.front().slot;
}

}  // namespace

LoadRequest ReadLoadRequest(const SampMessage& message) {
    LoadRequest request;
    const RpcValue* url = message.params.member("url");
    const RpcValue* name = message.params.member("name");
    request.url = QUrl(QString::fromStdString(url ? url->text() : std::string()), QUrl::TolerantMode);
    if (!url || url->text().empty() || !request.url.isValid() || request.url.isRelative())
        request.error = "The " + message.mtype + " message holds no valid url.";
    request.name = name && !name->text().empty() ? name->text() : request.url.fileName().toStdString();
    if (request.name.empty()) request.name = "spectrum";
    return request;
}

SampReceiver::SampReceiver(Workspace& ws, UiHooks& ui, SampClient& client, FetchLimits limits, QObject* parent)
    : QObject(parent), ws_(ws), ui_(ui), client_(client), limits_(limits), network_(new QNetworkAccessManager(this)) {
    connect(&client_, &SampClient::messageReceived, this, &SampReceiver::Receive);
}

SampReceiver::~SampReceiver() = default;

void SampReceiver::Receive(const SampMessage& message) {
    const LoadRequest request = ReadLoadRequest(message);
    if (!request.error.empty()) return Refuse(message, request.error);
    if (FirstEmptyRow(ws_) == 0)
        return Refuse(message, request.name + ": every row is full, so the spectrum was not loaded.");
    if (!downloads_.isValid()) return Refuse(message, request.name + ": no temporary folder for downloads.");
    auto* fetch = new SampFetch(*network_, limits_, this);
    const QString shown = QString::fromStdString(request.name);
    connect(fetch, &SampFetch::progress, this, [this, shown](qint64 received, qint64 total) {
        emit activity(total > 0 ? QString("Receiving %1: %2 of %3 kB").arg(shown).arg(received / 1024).arg(total / 1024)
                                : QString("Receiving %1: %2 kB").arg(shown).arg(received / 1024));
    });
    connect(fetch, &SampFetch::finished, this,
            [this, fetch, message, name = request.name](const std::filesystem::path& file, const std::string& error) {
                fetch->deleteLater();
                Loaded(message, name, file, error);
            });
    emit activity("Receiving " + shown + " ...");
    // Each download gets a folder of its own, so that two files of one name do not meet.
    const std::filesystem::path folder = std::filesystem::path(downloads_.path().toStdString()) /
                                         std::to_string(reinterpret_cast<uintptr_t>(fetch));
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    // The address's own file name keeps its ending, which tells a text spectrum.
    const std::string fileName = request.url.fileName().toStdString();
    fetch->Start(request.url, folder, fileName.empty() ? request.name : fileName);
}

void SampReceiver::Loaded(const SampMessage& message, const std::string& name, const std::filesystem::path& file,
                          const std::string& error) {
    if (!error.empty()) return Refuse(message, name + ": " + error + ".");
    const int row = FirstEmptyRow(ws_);
    if (row == 0) return Refuse(message, name + ": every row is full, so the spectrum was not loaded.");
    HeldMessagesUi held(ui_);
    if (!LoadIntoSlot(ws_, row, file, held)) {
        client_.Reply(message.msgId, false, name + ": the file holds no spectrum Wendrel reads.");
        emit activity(QString::fromStdString(name + " was refused."));
        ui_.ShowMessage(held.held.empty() ? name + ": the file holds no spectrum the program reads." : held.held);
        return;
    }
    // The row names the spectrum as the sender did, not by the temporary file it came in.
    auto named = std::make_shared<Spectrum>(ws_.slot(row).spectrum());
    named->FileName = name;
    ws_.slot(row).Data = std::move(named);
    ui_.ShowLoadedRow(row);
    client_.Reply(message.msgId, true);
    emit activity(QString::fromStdString(name + " was received into row " + std::to_string(row) + "."));
    if (!held.held.empty()) ui_.ShowMessage(held.held);
}

void SampReceiver::Refuse(const SampMessage& message, const std::string& reason) {
    client_.Reply(message.msgId, false, reason);
    emit activity(QString::fromStdString(reason));
    ui_.ShowMessage(reason);
}

}  // namespace wendrel
