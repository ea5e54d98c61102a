#include "fits/image_reader.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <filesystem>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

#include <unistd.h>

#include <span>

#include "fits/continuum_level.h"
#include "fits/dispersion.h"
#include "fits/header_cards.h"
#include "fits/large_pages.h"
#include "fits/pixel_decoding.h"
#include "fits/spectral_axis.h"
#include "fits/spectrum_finish.h"
#include "fits/quoted_name.h"

namespace wendrel {

namespace {

// Pixels per read, decode and percent pass: small enough to stay in the cache,
// and whole level blocks, so that the block maxima can be taken pass by pass.
constexpr int64_t kPixelsPerPass = 8000;
static_assert(kPixelsPerPass % kLevelBlockLength == 0);

// The wavelength keyword CRVALn has its reference pixel in CRPIXn.
std::optional<std::string> ReferencePixelKey(const std::string& lambda0Key) {
    const std::string prefix = "CRVAL";
    if (lambda0Key.size() <= prefix.size() || !lambda0Key.starts_with(prefix)) return std::nullopt;
    const std::string axis = lambda0Key.substr(prefix.size());
    if (axis.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
    return "CRPIX" + axis;
}

// One read of an image: its header, then each line it loads, read into a
// fresh slot that is handed over only when all went well.
class Loader {
public:
    Loader(InputFile& file, int64_t hduStart, const std::string& name, const Settings& keys,
           const ErrorImageSource& errorImage)
        : file_(file), hduStart_(hduStart), keys_(keys), name_(name), errorImage_(errorImage) {}
    Loader(const Loader&) = delete;
    Loader& operator=(const Loader&) = delete;

    LoadResult Run();

private:
    bool Refuse(const std::string& text) {
        messages_.push_back(text);
        return false;
    }
    void Warn(const std::string& text) { messages_.push_back(text); }

    bool ReadHeader();
    bool ReadKeywordValues();
    int64_t LinesToLoad();
    void FindSigmaBand();
    // Each line's messages name it by `shownName`.
    bool ReadLine(int64_t line, Spectrum& fresh, const std::string& shownName);
    // Row `row` (from 0) of the data, NAXIS1 pixels, appended to `values`;
    // the maxima of its level blocks go to blockMax_ when `forLevel`.
    bool ReadRow(int64_t row, std::vector<double>& values, bool forLevel, const std::string& shownName);
    bool TakeUncertainties(int64_t line, Spectrum& fresh, const std::string& shownName);
    bool TakePixelScale(int64_t line, Spectrum& fresh, const std::string& shownName);

    InputFile& file_;
    const int64_t hduStart_;
    const Settings& keys_;
    const std::string name_;
    const ErrorImageSource& errorImage_;

    Spectrum header_;  // what every line shares: the header's cards and values
    std::vector<std::string> messages_;
    KeywordScan scan_;
    int64_t dataStart_ = 0;
    PixelType type_ = PixelType::Float32;
    PixelScaling scaling_;
    DispersionCards dispersionCards_;
    double angstromsPerUnit_ = 1;
    // IRAF's bands: the first line of the data in the band of the
    // uncertainties (0: none).
    int64_t sigmaBandStart_ = 0;
    int64_t sigmaBandNamed_ = 0;  // n of the first BANDIDn whose value starts with "sigma"
    bool bandsOnAxis2_ = false;
    bool fileFailed_ = false;  // the file ended or could not be read: no further line can be read
    std::vector<double> blockMax_;  // maxima of the level blocks, taken while the pixels are read
};

LoadResult Loader::Run() {
    LoadResult result;
    if (ReadHeader() && ReadKeywordValues()) {
        const int64_t lines = LinesToLoad();
        FindSigmaBand();
        result.spectraInFile = static_cast<size_t>(lines);
        for (int64_t line = 1; line <= lines; ++line) {
            Spectrum fresh = header_;
            fresh.FileName = lines == 1 ? name_ : SpectrumName(name_, line);
            if (ReadLine(line, fresh, fresh.FileName)) {
                result.spectra.push_back(std::move(fresh));
                result.numbers.push_back(line);
            }
            if (fileFailed_) break;
        }
    }
    result.messages = std::move(messages_);
    return result;
}

bool Loader::ReadHeader() {
    int64_t endCard = 0;  // 0: the header line holds no END card
    const WalkResult found = WalkHeaderCards(file_, [&](int64_t number, std::string_view card) {
        if (!IsEndKeyword(CardKeyword(card))) return true;
        endCard = number;
        return false;
    }, hduStart_);
    if (found == WalkResult::ReadError) return Refuse("Cannot read " + Quoted(name_) + ".");

    const int64_t numCards = endCard > 0 ? endCard - 1 : 0;
    if (numCards > INT_MAX) return Refuse(Quoted(name_) + " has too many header cards to show.");
    header_.NumCards = static_cast<int>(numCards);
    dataStart_ = hduStart_ + DataStartFor(numCards);

    for (const std::string key : {"BITPIX", "NAXIS", "NAXIS1", "NAXIS2", "NAXIS3", "BZERO", "BSCALE", "BLANK", "OBJECT", "CDELT1",
                                  "CTYPE1", "CUNIT1", "WAT0_001", "APNUM1", "APNUM2", "BANDID2", "BUNIT"})
        scan_.Watch(key);
    scan_.Watch(keys_.Lambda0Key);
    scan_.Watch(keys_.DLambdaKey);
    scan_.Watch("PC1_1");
    scan_.Watch("TARGNAME");
    if (const auto crpix = ReferencePixelKey(keys_.Lambda0Key)) scan_.Watch(*crpix);

    // Without an END card the values come from every card of the header line
    // and no card is kept.
    const WalkResult scanned = WalkHeaderCards(file_, [&](int64_t number, std::string_view card) {
        if (number == endCard) return false;
        const std::string key = CardKeyword(card);
        scan_.Take(key, CardValueText(card));
        dispersionCards_.Take(key, card);
        if (sigmaBandNamed_ == 0 && key.starts_with("BANDID") && key.size() > 6 &&
            key.find_first_not_of("0123456789", 6) == std::string::npos) {
            std::string value = UnquotedValue(CardValueText(card));
            for (char& c : value) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (value.starts_with("sigma")) sigmaBandNamed_ = std::stoll(key.substr(6));
        }
        if (endCard > 0) header_.HdrCard.emplace_back(card);
        return true;
    }, hduStart_);
    if (scanned == WalkResult::ReadError) return Refuse("Cannot read " + Quoted(name_) + ".");
    return true;
}

bool Loader::ReadKeywordValues() {
    header_.Bitpix = scan_.Number("BITPIX");
    if (header_.Bitpix == 8) return Refuse(kEightBitMessage);
    if (!scan_.Has("BITPIX"))
        return Refuse(Quoted(name_) + " has no BITPIX keyword, so its pixels cannot be read.");
    const double bitpix = header_.Bitpix;
    if (bitpix != 16 && bitpix != 32 && bitpix != -32 && bitpix != -64)
        return Refuse(Quoted(name_) + " has BITPIX = " + scan_.LastText("BITPIX") +
                      "; only 16, 32, -32 and -64 can be read.");

    header_.Naxis1 = scan_.Number("NAXIS1");
    if (!scan_.Has("NAXIS1"))
        return Refuse(Quoted(name_) + " has no NAXIS1 keyword, so it holds no spectrum.");
    if (!(header_.Naxis1 >= 1))
        return Refuse(Quoted(name_) + " has NAXIS1 = " + scan_.LastText("NAXIS1") +
                      "; a spectrum needs at least one pixel.");
    if (header_.Naxis1 != std::floor(header_.Naxis1))
        return Refuse(Quoted(name_) + " has NAXIS1 = " + scan_.LastText("NAXIS1") +
                      ", which is not a whole number of pixels.");
    if (const std::string axis = NonWavelengthAxis(UnquotedValue(scan_.LastText("CTYPE1"))); !axis.empty())
        return Refuse(Quoted(name_) + " has CTYPE1 = " + scan_.LastText("CTYPE1") + ": its first axis is " + axis +
                      ", not a wavelength, so it holds no spectrum.");
    header_.FluxUnit = UnquotedValue(scan_.LastText("BUNIT"));
    header_.Medium = dispersionCards_.Medium();
    const std::string unit =
        scan_.Has("CUNIT1") ? UnquotedValue(scan_.LastText("CUNIT1")) : dispersionCards_.WavelengthUnit();
    if (const std::optional<double> angstroms = AngstromsPerUnit(unit)) {
        angstromsPerUnit_ = *angstroms;
    } else {
        return Refuse(Quoted(name_) + " gives its wavelengths in \"" + unit +
                      "\", a unit this program does not know (it knows Angstrom, nm, um, micron, mm, cm and m).");
    }

    header_.Bzero = scan_.Number("BZERO");
    scaling_.zero = header_.Bzero;
    scaling_.scale = scan_.Has("BSCALE") ? scan_.Number("BSCALE") : 1;
    if (scan_.Has("BLANK") && bitpix > 0) {
        const double blank = scan_.Number("BLANK");
        if (blank == std::floor(blank) && std::abs(blank) <= 2147483648.0) scaling_.blank = static_cast<int64_t>(blank);
    }
    type_ = bitpix == 16 ? PixelType::Int16
            : bitpix == 32 ? PixelType::Int32
            : bitpix == -32 ? PixelType::Float32
                            : PixelType::Float64;

    // The first OBJECT card counts; without one, TARGNAME (HST).
    const std::string object = scan_.Has("OBJECT") ? scan_.FirstText("OBJECT") : scan_.FirstText("TARGNAME");
    header_.ObjectName = object.size() >= 2 ? object.substr(1, object.size() - 2) : std::string();

    const double lambda0Value = scan_.Number(keys_.Lambda0Key);
    header_.DLambda = scan_.Number(keys_.DLambdaKey);
    if (keys_.DLambdaKey == "CD1_1" && !scan_.Has("CD1_1") && scan_.Has("CDELT1"))
        header_.DLambda = scan_.Number("CDELT1") * (scan_.Has("PC1_1") ? scan_.Number("PC1_1") : 1);
    header_.Lambda0 = lambda0Value;
    if (const auto crpix = ReferencePixelKey(keys_.Lambda0Key); crpix && scan_.Has(*crpix)) {
        const double referencePixel = scan_.Number(*crpix);
        if (referencePixel != 1) header_.Lambda0 = lambda0Value - (referencePixel - 1) * header_.DLambda;
    }

    header_.LambdaStart = header_.Lambda0 - header_.DLambda / 2;
    header_.LambdaEnd = header_.Lambda0 + (header_.Naxis1 - 0.5) * header_.DLambda;
    // A scale that is not linear is evaluated once the pixels are known to be
    // there; the checks of the linear keywords do not apply to it.
    if (dispersionCards_.Kind() != kLinearScale) return true;
    if (!std::isfinite(header_.LambdaStart) || !std::isfinite(header_.LambdaEnd))
        return Refuse(Quoted(name_) + " has wavelengths beyond the range of numbers; check its " + keys_.Lambda0Key +
                      " and " + keys_.DLambdaKey + " keywords.");
    if (std::abs(lambda0Value) < 0.001) Warn(kLambda0Message);
    if (std::abs((header_.Naxis1 - 1) * header_.DLambda) < 0.001) Warn(kDLambdaMessage);
    return true;
}

// The lines of an image of several lines that its header marks as
// apertures; otherwise its first line, with a message.
int64_t Loader::LinesToLoad() {
    const double lines = scan_.Number("NAXIS") >= 2 ? scan_.Number("NAXIS2") : 1;
    if (!(lines > 1)) return 1;
    // IRAF writes the bands of a single aperture along the second axis once the
    // aperture's axis is dropped; its BANDIDn then name them.
    bandsOnAxis2_ = scan_.Number("NAXIS") == 2 && scan_.Has("BANDID2") && !scan_.Has("APNUM2");
    if (bandsOnAxis2_) return 1;
    const bool apertures = dispersionCards_.Kind() == kMultispecScale || scan_.Has("APNUM1") ||
                           UnquotedValue(scan_.LastText("WAT0_001")).find("equispec") != std::string::npos;
    if (apertures && lines == std::floor(lines)) return static_cast<int64_t>(lines);
    Warn(Quoted(name_) + " holds " + scan_.LastText("NAXIS2") + " rows of pixels (NAXIS2); only the first row is shown.");
    return 1;
}

// The band of the uncertainties, when its lines lie inside the file; a band
// past the file's end is left out with a message.
void Loader::FindSigmaBand() {
    const double naxis = scan_.Number("NAXIS");
    const double bands = bandsOnAxis2_ ? scan_.Number("NAXIS2") : naxis >= 3 ? scan_.Number("NAXIS3") : 1;
    const double linesPerBand = bandsOnAxis2_ ? 1 : scan_.Number("NAXIS2");
    if (sigmaBandNamed_ < 2 || bands != std::floor(bands) || static_cast<double>(sigmaBandNamed_) > bands ||
        !(linesPerBand >= 1) || linesPerBand != std::floor(linesPerBand))
        return;
    const double bandBytes = linesPerBand * header_.Naxis1 * BytesPerPixel(type_), size = static_cast<double>(file_.Size());
    // A file too short for the spectra themselves is refused when they are read.
    if (static_cast<double>(dataStart_) + bandBytes > size) return;
    if (static_cast<double>(dataStart_) + static_cast<double>(sigmaBandNamed_) * bandBytes > size) {
        Warn(Quoted(name_) + " ends before its band " + std::to_string(sigmaBandNamed_) +
             " (BANDID" + std::to_string(sigmaBandNamed_) + "), so the uncertainties are left out.");
        return;
    }
    sigmaBandStart_ = (sigmaBandNamed_ - 1) * static_cast<int64_t>(linesPerBand);
}

bool Loader::ReadLine(int64_t line, Spectrum& fresh, const std::string& shownName) {
    blockMax_.clear();
    if (!ReadRow(line - 1, fresh.Flux, true, shownName) || !TakePixelScale(line, fresh, shownName) ||
        !TakeUncertainties(line, fresh, shownName))
        return false;
    if (const std::string problem = TakeLevelAndPercent(fresh, blockMax_); !problem.empty())
        return Refuse(Quoted(shownName) + " " + problem);
    MakeWavelengthsRise(fresh);
    return true;
}

bool Loader::ReadRow(int64_t row, std::vector<double>& values, bool forLevel, const std::string& shownName) {
    const int bytesPerPixel = BytesPerPixel(type_);
    // Each line follows the one before. Row 0 is read first, so a line of
    // more pixels than the memory holds has been refused before a later
    // row's offset is worked out.
    const int64_t lineStart =
        row == 0 ? dataStart_ : dataStart_ + row * static_cast<int64_t>(header_.Naxis1) * bytesPerPixel;
    const int64_t room = std::max<int64_t>(0, file_.Size() - lineStart) / bytesPerPixel;
    const auto tooShort = [&] {
        fileFailed_ = true;
        return Refuse(Quoted(shownName) + " is too short: its header promises " + scan_.LastText("NAXIS1") +
                      " pixels of " + std::to_string(bytesPerPixel) + " bytes from byte " +
                      std::to_string(lineStart) + " on, but the file ends after " +
                      std::to_string(file_.Size()) + " bytes.");
    };
    // Compared before anything is allocated, so that a huge NAXIS1 costs nothing.
    if (header_.Naxis1 > static_cast<double>(room)) return tooShort();
    // A file that does hold that many pixels may still be too large: each is
    // kept twice, as its value and in percent.
    const double memory = static_cast<double>(::sysconf(_SC_PHYS_PAGES)) * static_cast<double>(::sysconf(_SC_PAGE_SIZE));
    if (memory > 0 && header_.Naxis1 * 2 * sizeof(double) > memory) {
        fileFailed_ = true;
        return Refuse(Quoted(name_) + " has " + scan_.LastText("NAXIS1") +
                      " pixels, more than the memory of this computer can hold.");
    }
    const auto pixels = static_cast<int64_t>(header_.Naxis1);

    // Pixels pass through small buffers and are read, decoded and measured
    // for the level in one pass while they are in the cache. Flux grows by
    // appending, so that its memory is written once.
    const int64_t perRead = std::min(kPixelsPerPass, pixels);
    // Not cleared first: each pass writes what it then reads.
    const auto bytes = std::make_unique_for_overwrite<char[]>(static_cast<size_t>(perRead * bytesPerPixel));
    const auto decoded = std::make_unique_for_overwrite<double[]>(static_cast<size_t>(perRead));
    ReserveOnLargePages(values, static_cast<size_t>(pixels));
    if (forLevel) blockMax_.reserve(static_cast<size_t>(pixels / kLevelBlockLength + 1));
    for (int64_t done = 0; done < pixels; done += perRead) {
        const auto count = static_cast<size_t>(std::min(perRead, pixels - done));
        const std::span<char> chunk(bytes.get(), count * static_cast<size_t>(bytesPerPixel));
        const int64_t got = file_.ReadAt(lineStart + done * bytesPerPixel, chunk);
        if (got < 0) {
            fileFailed_ = true;
            return Refuse("Cannot read the pixels of " + Quoted(shownName) + ".");
        }
        if (got < std::ssize(chunk)) return tooShort();
        const std::span<double> decodedValues(decoded.get(), count);
        DecodePixels(type_, std::as_bytes(chunk), scaling_, decodedValues);
        if (forLevel) AppendBlockMaxima(decodedValues, blockMax_);
        values.insert(values.end(), decodedValues.begin(), decodedValues.end());
    }
    return true;
}

// The uncertainties of the line from the band of the uncertainties, else,
// for a 1-D image, from an image extension.
bool Loader::TakeUncertainties(int64_t line, Spectrum& fresh, const std::string& shownName) {
    if (sigmaBandStart_ > 0) {
        if (!ReadRow(sigmaBandStart_ + line - 1, fresh.Sigma, false, shownName)) return false;
        TakeSigma("SIGMA", fresh.Sigma, fresh.Flux);
        return true;
    }
    const double naxis = scan_.Number("NAXIS");
    const bool oneDimensional = naxis == 1 || (naxis == 2 && scan_.Number("NAXIS2") == 1) ||
                                (naxis == 3 && scan_.Number("NAXIS2") == 1 && scan_.Number("NAXIS3") == 1);
    if (!errorImage_ || !oneDimensional) return true;
    std::optional<Uncertainties> read = errorImage_(static_cast<int64_t>(fresh.Naxis1), messages_);
    if (!read) return true;
    TakeSigma(read->name, read->values, fresh.Flux);
    fresh.Sigma = std::move(read->values);
    if (std::ranges::any_of(fresh.Sigma, [](double v) { return std::isnan(v); })) {
        blockMax_.clear();  // pixels may have become blank
        AppendBlockMaxima(fresh.Flux, blockMax_);
    }
    return true;
}

// The wavelengths of the pixel centres and edges on a scale that is not
// linear; the wavelength range becomes their outer edges, DLambda their mean
// step.
bool Loader::TakePixelScale(int64_t line, Spectrum& fresh, const std::string& shownName) {
    PixelScale scale = PixelScale::Evaluate(dispersionCards_, static_cast<int64_t>(fresh.Naxis1), fresh.Lambda0,
                                            fresh.DLambda, line);
    if (!scale.problem.empty()) return Refuse(Quoted(shownName) + " " + scale.problem);
    fresh.Dispersion = scale.kind;
    if (!scale.edges.empty()) {
        if (line == 1 && scale.kind == kLogLinearScale && !dispersionCards_.FromCoefficients() &&
            std::abs(scan_.Number(keys_.Lambda0Key)) < 0.001)
            Warn(kLambda0Message);
        fresh.PixelCentre = std::move(scale.centres);
        fresh.PixelEdge = std::move(scale.edges);
        fresh.Lambda0 = fresh.PixelCentre.front();
        fresh.LambdaStart = fresh.PixelEdge.front();
        fresh.LambdaEnd = fresh.PixelEdge.back();
        fresh.DLambda = (fresh.LambdaEnd - fresh.LambdaStart) / fresh.Naxis1;
    }
    if (angstromsPerUnit_ != 1) {
        for (double* w : {&fresh.Lambda0, &fresh.DLambda, &fresh.LambdaStart, &fresh.LambdaEnd}) *w *= angstromsPerUnit_;
        for (std::vector<double>* list : {&fresh.PixelCentre, &fresh.PixelEdge})
            for (double& w : *list) w *= angstromsPerUnit_;
    }
    return true;
}

}  // namespace

LoadResult ReadImageHdu(InputFile& file, int64_t hduStart, const std::string& name, const Settings& keys,
                        const ErrorImageSource& errorImage) {
    return Loader(file, hduStart, name, keys, errorImage).Run();
}

}  // namespace wendrel
