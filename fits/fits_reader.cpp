#include "fits/fits_reader.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <filesystem>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

#include <unistd.h>

#include "fits/continuum_level.h"
#include "fits/dispersion.h"
#include "fits/header_cards.h"
#include "fits/input_file.h"
#include "fits/large_pages.h"
#include "fits/percent_values.h"
#include "fits/pixel_decoding.h"
#include "fits/spectral_axis.h"

namespace wendrel {

namespace {

constexpr double kBlank = std::numeric_limits<double>::quiet_NaN();
// Pixels per read, decode and percent pass: small enough to stay in the cache,
// and whole level blocks, so that the block maxima can be taken pass by pass.
constexpr int64_t kPixelsPerPass = 8000;
static_assert(kPixelsPerPass % kLevelBlockLength == 0);

// The Flux and FluxPct buffers that the last commit replaced in its slot (or
// that a refused load filled). The next load writes into them instead of into
// new memory: a spectrum of a million pixels takes 16 MB, and every new page
// costs a kernel fault on its first write, which made up much of a load's
// time. Only their capacity is reused; each load writes every value anew.
struct SpareBuffers {
    std::vector<double> flux, pct;
};

SpareBuffers& Spares() {
    thread_local SpareBuffers spares;  // loads on separate threads never share buffers
    return spares;
}

std::string Quoted(const std::string& name) { return "\"" + name + "\""; }

// The wavelength keyword CRVALn has its reference pixel in CRPIXn.
std::optional<std::string> ReferencePixelKey(const std::string& lambda0Key) {
    const std::string prefix = "CRVAL";
    if (lambda0Key.size() <= prefix.size() || !lambda0Key.starts_with(prefix)) return std::nullopt;
    const std::string axis = lambda0Key.substr(prefix.size());
    if (axis.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
    return "CRPIX" + axis;
}

// One load: reads into a fresh slot and hands it over only when all went well.
class Loader {
public:
    Loader(const std::filesystem::path& file, const Settings& keys)
        : file_(file), keys_(keys), name_(file.filename().string()) {
        SpareBuffers& spares = Spares();
        fresh_.Flux = std::move(spares.flux);
        fresh_.FluxPct = std::move(spares.pct);
    }
    Loader(const Loader&) = delete;
    Loader& operator=(const Loader&) = delete;

    LoadResult Run();

private:
    bool Refuse(const std::string& text) {
        messages_.push_back(text);
        return false;
    }
    void Warn(const std::string& text) { messages_.push_back(text); }

    bool Read();
    bool ReadHeader(InputFile& file);
    bool ReadKeywordValues();
    bool ReadPixels(InputFile& file);
    bool TakePixelScale();
    bool ComputeLevelAndPercent();
    void ToAngstromsRising();

    const std::filesystem::path& file_;
    const Settings& keys_;
    const std::string name_;

    Slot fresh_;
    std::vector<std::string> messages_;
    KeywordScan scan_;
    int64_t dataStart_ = 0;
    PixelType type_ = PixelType::Float32;
    PixelScaling scaling_;
    DispersionCards dispersionCards_;
    double angstromsPerUnit_ = 1;
    std::vector<double> blockMax_;  // maxima of the level blocks, taken while the pixels are read
};

LoadResult Loader::Run() {
    LoadResult result;
    if (Read()) {
        fresh_.FileName = name_;
        result.spectrum = std::move(fresh_);
    } else {
        KeepSpareBuffers(std::move(fresh_.Flux), std::move(fresh_.FluxPct));
    }
    result.messages = std::move(messages_);
    return result;
}

bool Loader::Read() {
    if (file_.parent_path().empty() || name_.empty()) return false;

    std::string problem;
    const std::unique_ptr<InputFile> file = InputFile::Open(file_, name_, problem);
    if (!file) return Refuse(problem);
    if (FirstKeyword(*file) != "SIMPLE") return Refuse(kNotFitsMessage);

    if (!(ReadHeader(*file) && ReadKeywordValues() && ReadPixels(*file) && TakePixelScale() &&
          ComputeLevelAndPercent()))
        return false;
    ToAngstromsRising();
    return true;
}

bool Loader::ReadHeader(InputFile& file) {
    int64_t endCard = 0;  // 0: the header line holds no END card
    const WalkResult found = WalkHeaderCards(file, [&](int64_t number, std::string_view card) {
        if (!IsEndKeyword(CardKeyword(card))) return true;
        endCard = number;
        return false;
    });
    if (found == WalkResult::ReadError) return Refuse("Cannot read " + Quoted(name_) + ".");

    const int64_t numCards = endCard > 0 ? endCard - 1 : 0;
    if (numCards > INT_MAX) return Refuse(Quoted(name_) + " has too many header cards to show.");
    fresh_.NumCards = static_cast<int>(numCards);
    dataStart_ = DataStartFor(numCards);

    for (const std::string key :
         {"BITPIX", "NAXIS", "NAXIS1", "NAXIS2", "BZERO", "BSCALE", "OBJECT", "CDELT1", "CTYPE1", "CUNIT1"})
        scan_.Watch(key);
    scan_.Watch(keys_.Lambda0Key);
    scan_.Watch(keys_.DLambdaKey);
    if (const auto crpix = ReferencePixelKey(keys_.Lambda0Key)) scan_.Watch(*crpix);

    // Without an END card the values come from every card of the header line
    // and no card is kept.
    const WalkResult scanned = WalkHeaderCards(file, [&](int64_t number, std::string_view card) {
        if (number == endCard) return false;
        const std::string key = CardKeyword(card);
        scan_.Take(key, CardValueText(card));
        dispersionCards_.Take(key, card);
        if (endCard > 0) fresh_.HdrCard.emplace_back(card);
        return true;
    });
    if (scanned == WalkResult::ReadError) return Refuse("Cannot read " + Quoted(name_) + ".");
    return true;
}

bool Loader::ReadKeywordValues() {
    fresh_.Bitpix = scan_.Number("BITPIX");
    if (fresh_.Bitpix == 8) return Refuse(kEightBitMessage);
    if (!scan_.Has("BITPIX"))
        return Refuse(Quoted(name_) + " has no BITPIX keyword, so its pixels cannot be read.");
    const double bitpix = fresh_.Bitpix;
    if (bitpix != 16 && bitpix != 32 && bitpix != -32 && bitpix != -64)
        return Refuse(Quoted(name_) + " has BITPIX = " + scan_.LastText("BITPIX") +
                      "; only 16, 32, -32 and -64 can be read.");

    fresh_.Naxis1 = scan_.Number("NAXIS1");
    if (!scan_.Has("NAXIS1"))
        return Refuse(Quoted(name_) + " has no NAXIS1 keyword, so it holds no spectrum.");
    if (!(fresh_.Naxis1 >= 1))
        return Refuse(Quoted(name_) + " has NAXIS1 = " + scan_.LastText("NAXIS1") +
                      "; a spectrum needs at least one pixel.");
    if (fresh_.Naxis1 != std::floor(fresh_.Naxis1))
        return Refuse(Quoted(name_) + " has NAXIS1 = " + scan_.LastText("NAXIS1") +
                      ", which is not a whole number of pixels.");
    if (const std::string axis = NonWavelengthAxis(UnquotedValue(scan_.LastText("CTYPE1"))); !axis.empty())
        return Refuse(Quoted(name_) + " has CTYPE1 = " + scan_.LastText("CTYPE1") + ": its first axis is " + axis +
                      ", not a wavelength, so it holds no spectrum.");
    const std::string unit =
        scan_.Has("CUNIT1") ? UnquotedValue(scan_.LastText("CUNIT1")) : dispersionCards_.WavelengthUnit();
    if (const std::optional<double> angstroms = AngstromsPerUnit(unit)) {
        angstromsPerUnit_ = *angstroms;
    } else {
        return Refuse(Quoted(name_) + " gives its wavelengths in \"" + unit +
                      "\", a unit this program does not know (it knows Angstrom, nm, um, micron, mm, cm and m).");
    }
    if (scan_.Number("NAXIS") >= 2 && scan_.Number("NAXIS2") > 1)
        Warn(Quoted(name_) + " holds " + scan_.LastText("NAXIS2") +
             " rows of pixels (NAXIS2); only the first row is shown.");

    fresh_.Bzero = scan_.Number("BZERO");
    scaling_.zero = fresh_.Bzero;
    scaling_.scale = scan_.Has("BSCALE") ? scan_.Number("BSCALE") : 1;
    if (bitpix == 16 && std::abs(fresh_.Bzero) < 0.00001) {
        // 16-bit data without BZERO are read unsigned, as most spectra of this
        // kind were written, and the user is told.
        type_ = PixelType::UInt16;
        scaling_.zero = 0;
        if (fresh_.Bzero == 0) Warn(kSignedDataMessage);
    } else {
        type_ = bitpix == 16 ? PixelType::Int16
                : bitpix == 32 ? PixelType::Int32
                : bitpix == -32 ? PixelType::Float32
                                : PixelType::Float64;
    }

    const std::string object = scan_.FirstText("OBJECT");  // the first OBJECT card counts
    fresh_.ObjectName = object.size() >= 2 ? object.substr(1, object.size() - 2) : std::string();

    const double lambda0Value = scan_.Number(keys_.Lambda0Key);
    fresh_.DLambda = scan_.Number(keys_.DLambdaKey);
    if (keys_.DLambdaKey == "CD1_1" && !scan_.Has("CD1_1") && scan_.Has("CDELT1"))
        fresh_.DLambda = scan_.Number("CDELT1");
    fresh_.Lambda0 = lambda0Value;
    if (const auto crpix = ReferencePixelKey(keys_.Lambda0Key); crpix && scan_.Has(*crpix)) {
        const double referencePixel = scan_.Number(*crpix);
        if (referencePixel != 1) fresh_.Lambda0 = lambda0Value - (referencePixel - 1) * fresh_.DLambda;
    }

    fresh_.LambdaStart = fresh_.Lambda0 - fresh_.DLambda / 2;
    fresh_.LambdaEnd = fresh_.Lambda0 + (fresh_.Naxis1 - 0.5) * fresh_.DLambda;
    // A scale that is not linear is evaluated once the pixels are known to be
    // there; the checks of the linear keywords do not apply to it.
    if (dispersionCards_.Kind() != kLinearScale) return true;
    if (!std::isfinite(fresh_.LambdaStart) || !std::isfinite(fresh_.LambdaEnd))
        return Refuse(Quoted(name_) + " has wavelengths beyond the range of numbers; check its " + keys_.Lambda0Key +
                      " and " + keys_.DLambdaKey + " keywords.");
    if (std::abs(lambda0Value) < 0.001) Warn(kLambda0Message);
    if (std::abs((fresh_.Naxis1 - 1) * fresh_.DLambda) < 0.001) Warn(kDLambdaMessage);
    return true;
}

bool Loader::ReadPixels(InputFile& file) {
    const int bytesPerPixel = BytesPerPixel(type_);
    const int64_t room = std::max<int64_t>(0, file.Size() - dataStart_) / bytesPerPixel;
    const auto tooShort = [&] {
        return Refuse(Quoted(name_) + " is too short: its header promises " + scan_.LastText("NAXIS1") +
                      " pixels of " + std::to_string(bytesPerPixel) + " bytes from byte " +
                      std::to_string(dataStart_) + " on, but the file ends after " +
                      std::to_string(file.Size()) + " bytes.");
    };
    // Compared before anything is allocated, so that a huge NAXIS1 costs nothing.
    if (fresh_.Naxis1 > static_cast<double>(room)) return tooShort();
    // A file that does hold that many pixels may still be too large: each is
    // kept twice, as its value and in percent.
    const double memory = static_cast<double>(::sysconf(_SC_PHYS_PAGES)) * static_cast<double>(::sysconf(_SC_PAGE_SIZE));
    if (memory > 0 && fresh_.Naxis1 * 2 * sizeof(double) > memory)
        return Refuse(Quoted(name_) + " has " + scan_.LastText("NAXIS1") +
                      " pixels, more than the memory of this computer can hold.");
    const auto pixels = static_cast<int64_t>(fresh_.Naxis1);

    // Pixels pass through small buffers and are read, decoded and measured
    // for the level in one pass while they are in the cache. Flux grows by
    // appending, so that its memory is written once.
    const int64_t perRead = std::min(kPixelsPerPass, pixels);
    // Not cleared first: each pass writes what it then reads.
    const auto bytes = std::make_unique_for_overwrite<char[]>(static_cast<size_t>(perRead * bytesPerPixel));
    const auto decoded = std::make_unique_for_overwrite<double[]>(static_cast<size_t>(perRead));
    ReserveOnLargePages(fresh_.Flux, static_cast<size_t>(pixels));
    blockMax_.reserve(static_cast<size_t>(pixels / kLevelBlockLength + 1));
    for (int64_t done = 0; done < pixels; done += perRead) {
        const auto count = static_cast<size_t>(std::min(perRead, pixels - done));
        const std::span<char> chunk(bytes.get(), count * static_cast<size_t>(bytesPerPixel));
        const int64_t got = file.ReadAt(dataStart_ + done * bytesPerPixel, chunk);
        if (got < 0) return Refuse("Cannot read the pixels of " + Quoted(name_) + ".");
        if (got < std::ssize(chunk)) return tooShort();
        const std::span<double> values(decoded.get(), count);
        DecodePixels(type_, std::as_bytes(chunk), scaling_, values);
        AppendBlockMaxima(values, blockMax_);
        fresh_.Flux.insert(fresh_.Flux.end(), values.begin(), values.end());
    }
    return true;
}

// The wavelengths of the pixel centres and edges on a scale that is not
// linear; the wavelength range becomes their outer edges, DLambda their mean
// step.
bool Loader::TakePixelScale() {
    PixelScale scale = PixelScale::Evaluate(dispersionCards_, static_cast<int64_t>(fresh_.Naxis1), fresh_.Lambda0,
                                            fresh_.DLambda);
    if (!scale.problem.empty()) return Refuse(Quoted(name_) + " " + scale.problem);
    fresh_.Dispersion = scale.kind;
    if (scale.edges.empty()) return true;
    if (scale.kind == kLogLinearScale && std::abs(scan_.Number(keys_.Lambda0Key)) < 0.001) Warn(kLambda0Message);
    fresh_.PixelCentre = std::move(scale.centres);
    fresh_.PixelEdge = std::move(scale.edges);
    fresh_.Lambda0 = fresh_.PixelCentre.front();
    fresh_.LambdaStart = fresh_.PixelEdge.front();
    fresh_.LambdaEnd = fresh_.PixelEdge.back();
    fresh_.DLambda = (fresh_.LambdaEnd - fresh_.LambdaStart) / fresh_.Naxis1;
    return true;
}

// Wavelengths in Angstroms, rising with the pixel number: the pixels of a
// file whose wavelengths fall are turned round. The continuum level stays
// the one of the file's order.
void Loader::ToAngstromsRising() {
    if (angstromsPerUnit_ != 1) {
        for (double* w : {&fresh_.Lambda0, &fresh_.DLambda, &fresh_.LambdaStart, &fresh_.LambdaEnd}) *w *= angstromsPerUnit_;
        for (std::vector<double>* list : {&fresh_.PixelCentre, &fresh_.PixelEdge})
            for (double& w : *list) w *= angstromsPerUnit_;
    }
    if (!(fresh_.LambdaEnd < fresh_.LambdaStart)) return;
    std::reverse(fresh_.Flux.begin(), fresh_.Flux.end());
    std::reverse(fresh_.FluxPct.begin(), fresh_.FluxPct.end());
    std::reverse(fresh_.PixelCentre.begin(), fresh_.PixelCentre.end());
    std::reverse(fresh_.PixelEdge.begin(), fresh_.PixelEdge.end());
    std::swap(fresh_.LambdaStart, fresh_.LambdaEnd);
    fresh_.DLambda = -fresh_.DLambda;
    fresh_.Lambda0 = fresh_.PixelCentre.empty() ? fresh_.LambdaStart + fresh_.DLambda / 2 : fresh_.PixelCentre.front();
}

bool Loader::ComputeLevelAndPercent() {
    fresh_.Level = MedianOf(blockMax_);  // what FindLevel(fresh_) gives, from the maxima taken while reading
    if (!(fresh_.Level > 0)) {
        const bool anyValue =
            std::any_of(fresh_.Flux.begin(), fresh_.Flux.end(), [](double v) { return !std::isnan(v); });
        if (!anyValue) return Refuse(Quoted(name_) + " holds only blank pixels (NaN or infinite values).");
        return Refuse(Quoted(name_) +
                      " has no positive pixel value in any block of 50 pixels, so its continuum level is 0 "
                      "and it cannot be shown in percent of that level.");
    }
    const std::vector<double>& flux = fresh_.Flux;
    std::vector<double>& pct = fresh_.FluxPct;
    ReserveOnLargePages(pct, flux.size());
    const double level = fresh_.Level;
    double largest = -9999;
    bool anyInfinite = false;
    const size_t perPass = std::min(static_cast<size_t>(kPixelsPerPass), flux.size());
    const auto values = std::make_unique_for_overwrite<double[]>(perPass);  // written before it is read
    for (size_t start = 0; start < flux.size(); start += perPass) {
        const std::span<double> chunk(values.get(), std::min(perPass, flux.size() - start));
        anyInfinite |= PercentOfLevel(std::span(flux).subspan(start, chunk.size()), level, chunk);
        largest = LargestOf(chunk, largest);
        pct.insert(pct.end(), chunk.begin(), chunk.end());
    }
    if (anyInfinite) {
        // A percent value beyond the double range is blank too.
        std::replace_if(pct.begin(), pct.end(), [](double v) { return std::isinf(v); }, kBlank);
        largest = LargestOf(pct, -9999);
    }
    fresh_.PctMax = largest;
    return true;
}

}  // namespace

void KeepSpareBuffers(std::vector<double>&& flux, std::vector<double>&& pct) {
    SpareBuffers& spares = Spares();
    spares.flux = std::move(flux);
    spares.pct = std::move(pct);
    spares.flux.clear();
    spares.pct.clear();
}

LoadResult LoadFitsFile(const std::filesystem::path& file, const Settings& keys) { return Loader(file, keys).Run(); }

}  // namespace wendrel
