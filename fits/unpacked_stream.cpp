#include "fits/unpacked_stream.h"

#include <algorithm>
#include <cmath>

#include "fits/header_cards.h"
#include "store/numeric_text.h"

namespace wendrel {

namespace {

// A header this long without END is no header: 800,000 cards.
constexpr int64_t kMaxHeaderBytes = int64_t{64} << 20;

bool IsSizeKeyword(std::string_view key) {
    return key == "BITPIX" || key == "PCOUNT" || key == "GCOUNT" || key.starts_with("NAXIS");
}

bool IsHeaderText(std::string_view card) {
    return std::all_of(card.begin(), card.end(), [](char c) { return c >= 32 && c <= 126; });
}

std::string GiB(double bytes) {
    const double gib = bytes / static_cast<double>(int64_t{1} << 30);
    return std::isfinite(gib) && gib < 1e6 ? std::to_string(static_cast<int64_t>(std::ceil(gib))) + " GiB"
                                           : "more than a million GiB";
}

}  // namespace

UnpackedStreamCheck::Verdict UnpackedStreamCheck::Refuse(std::string text) {
    problem_ = std::move(text);
    return Verdict::Refuse;
}

UnpackedStreamCheck::Verdict UnpackedStreamCheck::Stop(int64_t end) {
    end_ = end;
    return Verdict::Enough;
}

UnpackedStreamCheck::Verdict UnpackedStreamCheck::Look(std::string_view bytes, bool ended) {
    const auto size = static_cast<int64_t>(bytes.size());
    if (!started_) {
        if (size < kBlockLength && !ended) return Verdict::More;
        const std::string_view first = bytes.substr(0, kBlockLength);
        if (CardKeyword(first.substr(0, kCardLength)) != "SIMPLE") {
            if (first.find('\0') != std::string_view::npos)
                return Refuse("it does not unpack to a FITS file or a text spectrum.");
            text_ = true;
        }
        started_ = true;
    }
    if (text_) return ended ? Stop(size) : Verdict::More;
    for (;;) {
        Verdict verdict = Verdict::More;
        if (dataEnd_ < 0 && !ReadHeader(bytes, verdict)) return verdict == Verdict::More && ended ? Stop(size) : verdict;
        if (size < dataEnd_ + 8) return ended ? Stop(size) : Verdict::More;
        if (bytes.substr(static_cast<size_t>(dataEnd_), 8) != "XTENSION") return Stop(dataEnd_);
        unitStart_ = dataEnd_;
        cardsRead_ = 0;
        dataEnd_ = -1;
        sizeKeys_.clear();
    }
}

bool UnpackedStreamCheck::ReadHeader(std::string_view bytes, Verdict& verdict) {
    for (;;) {
        const int64_t at = unitStart_ + cardsRead_ * kCardLength;
        if (at + kCardLength > static_cast<int64_t>(bytes.size())) return false;
        const std::string_view card = bytes.substr(static_cast<size_t>(at), kCardLength);
        // A header that is no text, or never ends, is cut there: the reader
        // then sees it as the broken header it is.
        if (!IsHeaderText(card) || cardsRead_ * kCardLength > kMaxHeaderBytes) {
            verdict = Stop(at);
            return false;
        }
        const std::string key = CardKeyword(card);
        if (IsEndKeyword(key)) break;
        if (IsSizeKeyword(key)) sizeKeys_[key] = NumericValue(CardValueText(card));
        ++cardsRead_;
    }
    const auto value = [&](const std::string& key, double absent) {
        const auto found = sizeKeys_.find(key);
        return found == sizeKeys_.end() ? absent : found->second;
    };
    const double axes = value("NAXIS", 0);
    double elements = axes >= 1 ? 1 : 0;
    for (int n = 1; n <= axes && n <= 999; ++n) elements *= value("NAXIS" + std::to_string(n), 0);
    // Negative counts are the reader's to refuse; they declare no data here.
    const double dataBytes =
        std::max(0.0, std::abs(value("BITPIX", 0)) / 8 * value("GCOUNT", 1) * (value("PCOUNT", 0) + elements));
    if (!(dataBytes <= static_cast<double>(kMaxUnpackedBytes))) {
        verdict = Refuse("its header declares " + GiB(dataBytes) +
                         " of data, more than the 4 GiB this program unpacks.");
        return false;
    }
    const int64_t headerEnd = unitStart_ + DataStartFor(cardsRead_);
    dataEnd_ = headerEnd + (static_cast<int64_t>(dataBytes) + kBlockLength - 1) / kBlockLength * kBlockLength;
    return true;
}

}  // namespace wendrel
