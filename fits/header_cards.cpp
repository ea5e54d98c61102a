#include "fits/header_cards.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <span>

#include "store/numeric_text.h"

namespace wendrel {

namespace {

std::string_view TrimTrailingBlanks(std::string_view s) {
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    return TrimTrailingBlanks(s);
}

// Whole cards per read; a read returns fewer bytes only at the end of the
// file, so no card is split between two reads.
constexpr int64_t kCardsPerRead = 256;

}  // namespace

std::string CardKeyword(std::string_view card) {
    return std::string(TrimTrailingBlanks(card.substr(0, 8)));
}

std::string CardValueText(std::string_view card) {
    std::string_view value = card.size() > 9 ? card.substr(9, 71) : std::string_view();
    value = value.substr(0, value.find('/'));
    return std::string(TrimBlanks(value));
}

std::string UnquotedValue(std::string_view valueText) {
    if (!valueText.starts_with('\'')) return std::string(valueText);
    valueText.remove_prefix(1);
    valueText = valueText.substr(0, valueText.find('\''));
    return std::string(valueText.substr(0, valueText.find_last_not_of(' ') + 1));
}

bool IsEndKeyword(std::string_view keyword) {
    return keyword.size() == 3 && (keyword[0] == 'E' || keyword[0] == 'e') &&
           (keyword[1] == 'N' || keyword[1] == 'n') && (keyword[2] == 'D' || keyword[2] == 'd');
}

int64_t DataStartFor(int64_t cardsBeforeEnd) {
    return (cardsBeforeEnd / (kBlockLength / kCardLength) + 1) * kBlockLength;
}

WalkResult WalkHeaderCards(InputFile& file, const std::function<bool(int64_t, std::string_view)>& visit,
                           int64_t start) {
    constexpr auto kBufferLength = static_cast<size_t>(kCardsPerRead * kCardLength);
    const auto storage = std::make_unique_for_overwrite<char[]>(kBufferLength);  // written by each read first
    const std::span<char> buffer(storage.get(), kBufferLength);
    int64_t offset = start;
    int64_t number = 0;
    for (;;) {
        const int64_t got = file.ReadAt(offset, buffer);
        if (got < 0) return WalkResult::ReadError;
        const std::string_view chunk(buffer.data(), static_cast<size_t>(got));
        const size_t cr = chunk.find('\r');
        const std::string_view line = chunk.substr(0, cr);
        const bool lineEnds = cr != std::string_view::npos || got < std::ssize(buffer);

        const int64_t fullCards = std::ssize(line) / kCardLength;
        for (int64_t i = 0; i < fullCards; ++i) {
            if (!visit(++number, line.substr(static_cast<size_t>(i * kCardLength), kCardLength)))
                return WalkResult::Stopped;
        }
        if (lineEnds) {
            // A short last card counts when the line's card count rounds up to it.
            const int64_t rest = std::ssize(line) % kCardLength;
            const bool countsUp = rest > kCardLength / 2 || (rest == kCardLength / 2 && number % 2 == 1);
            if (countsUp && !visit(++number, line.substr(static_cast<size_t>(fullCards * kCardLength))))
                return WalkResult::Stopped;
            return WalkResult::Finished;
        }
        offset += got;
    }
}

std::string FirstKeyword(InputFile& file) {
    char start[8];
    const int64_t got = file.ReadAt(0, start);
    if (got <= 0) return {};
    const std::string_view text(start, static_cast<size_t>(got));
    return CardKeyword(text.substr(0, text.find('\r')));
}

void KeywordScan::Watch(const std::string& keyword) { watched_.try_emplace(keyword); }

void KeywordScan::Take(std::string_view keyword, std::string_view valueText) {
    const auto it = watched_.find(keyword);
    if (it == watched_.end()) return;
    Watched& w = it->second;
    if (!w.seen) w.first = valueText;
    w.seen = true;
    w.last = valueText;
}

const KeywordScan::Watched* KeywordScan::Find(const std::string& keyword) const {
    const auto it = watched_.find(keyword);
    return it != watched_.end() && it->second.seen ? &it->second : nullptr;
}

bool KeywordScan::Has(const std::string& keyword) const { return Find(keyword) != nullptr; }

std::string KeywordScan::FirstText(const std::string& keyword) const {
    const Watched* w = Find(keyword);
    return w ? w->first : std::string();
}

std::string KeywordScan::LastText(const std::string& keyword) const {
    const Watched* w = Find(keyword);
    return w ? w->last : std::string();
}

double KeywordScan::Number(const std::string& keyword) const {
    return NumericValue(LastText(keyword));
}

}  // namespace wendrel
