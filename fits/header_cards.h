// The header as this program reads it: the bytes before the first carriage
// return, cut into 80-character cards, each with a keyword and a value text.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "fits/input_file.h"

namespace wendrel {

constexpr int64_t kCardLength = 80;
constexpr int64_t kBlockLength = 2880;  // header and data blocks: 36 cards

// Characters 1 to 8 of a card, trailing blanks removed.
std::string CardKeyword(std::string_view card);
// Characters 10 to 80 of a card, cut before the first "/" (quotes are not
// interpreted), leading and trailing blanks removed.
std::string CardValueText(std::string_view card);
// A value text without its quotes and the blanks that pad a quoted text
// ("'nm      '" gives "nm"); a text without quotes as it is.
std::string UnquotedValue(std::string_view valueText);
// A card ends the header when its keyword in upper case is END.
bool IsEndKeyword(std::string_view keyword);

// Offset of the first data byte when `cardsBeforeEnd` cards precede END:
// the header fills whole 2880-byte blocks.
int64_t DataStartFor(int64_t cardsBeforeEnd);

enum class WalkResult { Finished, Stopped, ReadError };

// Calls visit(number, card) for the cards of the header line in order, card 1
// first, until visit returns false (Stopped) or the line ends (Finished). The
// line ends at the first carriage return or at the end of the file. Its
// number of cards is its length divided by 80, rounded to the nearest whole
// number with a half going to the even one; so a last card may be shorter
// than 80 characters. Memory use does not grow with the length of the line.
// The walk starts at byte `start` (where an extension's header begins).
WalkResult WalkHeaderCards(InputFile& file, const std::function<bool(int64_t, std::string_view)>& visit,
                           int64_t start = 0);

// The keyword of card 1, read from the header line even when the line is too
// short to count as a card.
std::string FirstKeyword(InputFile& file);

// Collects the value texts of chosen keywords over a run of cards, keeping
// the first and the last matching card of each. Keywords match exactly.
class KeywordScan {
public:
    void Watch(const std::string& keyword);
    void Take(std::string_view keyword, std::string_view valueText);

    bool Has(const std::string& keyword) const;
    // Value texts of the first and the last matching card; empty when absent.
    std::string FirstText(const std::string& keyword) const;
    std::string LastText(const std::string& keyword) const;
    // The number at the start of the last value text; 0 when the keyword is
    // absent or its value is not a number.
    double Number(const std::string& keyword) const;

private:
    struct Watched {
        bool seen = false;
        std::string first, last;
    };
    const Watched* Find(const std::string& keyword) const;
    std::map<std::string, Watched, std::less<>> watched_;
};

}  // namespace wendrel
