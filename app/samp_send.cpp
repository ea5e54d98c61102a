#include "app/samp_send.h"

#include "app/samp_fetch.h"
#include "app/spectrum_export.h"

namespace wendrel {

SampOutbox::SampOutbox() : folder_(QDir::tempPath() + "/wendrel-samp-XXXXXX") {}

std::filesystem::path SampOutbox::Write(const Workspace& ws, int row, std::string& error) {
    if (!folder_.isValid()) {
        error = "No temporary folder can be made for the spectra to send.";
        return {};
    }
    std::string stem = SafeFileName(SentName(ws, row));
    if (const size_t dot = stem.find('.'); dot != std::string::npos && dot > 0) stem.resize(dot);
    const std::filesystem::path file = std::filesystem::path(folder_.path().toStdString()) /
                                       (std::to_string(++written_) + "-" + stem + ".fits");
    error = ExportRow(ws, row, file);
    return error.empty() ? file : std::filesystem::path();
}

std::string SentName(const Workspace& ws, int row) {
    if (row < 1 || row > kMaxSlots) return "row " + std::to_string(row);
    const std::string& name = ws.slot(row)->FileName;
    return name.empty() ? "row " + std::to_string(row) : name;
}

}  // namespace wendrel
