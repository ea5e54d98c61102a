#include "app/row_smoothing.h"

#include <utility>

#include "analysis/smoothing.h"
#include "app/derived_spectrum.h"
#include "plot/number_format.h"

namespace wendrel {

namespace {

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string WidthText(double width) { return WithoutLeadingBlanks(PlainNumberText(width)); }

}  // namespace

namespace {
constexpr std::pair<SmoothingKernel, std::string_view> kKernelKeys[] = {
    {SmoothingKernel::Boxcar, "boxcar"},
    {SmoothingKernel::GaussianAngstrom, "gauss"},
    {SmoothingKernel::GaussianVelocity, "gausskms"},
    {SmoothingKernel::Median, "median"}};
}  // namespace

std::string_view SmoothingKernelKey(SmoothingKernel kernel) {
    for (const auto& [k, key] : kKernelKeys)
        if (k == kernel) return key;
    return {};
}

std::optional<SmoothingKernel> SmoothingKernelOfKey(std::string_view key) {
    for (const auto& [k, name] : kKernelKeys)
        if (name == key) return k;
    return std::nullopt;
}

std::string SmoothingText(const Smoothing& how) {
    switch (how.Kernel) {
        case SmoothingKernel::Boxcar: return "boxcar " + WidthText(how.Width) + " px";
        case SmoothingKernel::GaussianAngstrom: return "FWHM " + WidthText(how.Width) + " \u00c5";
        case SmoothingKernel::GaussianVelocity: return "FWHM " + WidthText(how.Width) + " km/s";
        case SmoothingKernel::Median: return "median " + WidthText(how.Width) + " px";
    }
    return {};
}

const Spectrum& FileSpectrumOf(const Row& row) { return row.Unsmoothed ? *row.Unsmoothed : *row.Data; }

std::string SmoothRow(Workspace& ws, int slot, const std::optional<Smoothing>& how) {
    Row& row = ws.slot(slot);
    if (!row.Loaded()) return "Row " + std::to_string(slot) + " holds no spectrum to smooth.";
    std::shared_ptr<const Spectrum> file = row.Unsmoothed ? row.Unsmoothed : row.Data;
    if (!how) {
        row.Data = file;
        row.Unsmoothed.reset();
        row.Smoothed.reset();
        return {};
    }
    const RowData pixels(*file);
    SmoothedRow smoothed = Smooth(pixels.Row, *how);
    if (!smoothed.Refusal.empty()) return file->FileName + " cannot be smoothed: " + smoothed.Refusal;
    auto shown = WithPixelValues(*file, std::move(smoothed.Flux), std::move(smoothed.Sigma), file->Level);
    const std::string name = Trimmed(file->ObjectName);
    shown->ObjectName = (name.empty() ? file->FileName : name) + " (" + SmoothingText(*how) + ")";
    row.Data = std::move(shown);
    row.Unsmoothed = std::move(file);
    row.Smoothed = how;
    return {};
}

}  // namespace wendrel
