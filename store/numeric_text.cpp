#include "store/numeric_text.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace wendrel {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Cursor over the text that steps over blanks.
class Reader {
public:
    explicit Reader(std::string_view t) : text_(t) { SkipBlanks(); }
    bool AtEnd() const { return pos_ >= text_.size(); }
    char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
    void Next() {
        ++pos_;
        SkipBlanks();
    }
    size_t Pos() const { return pos_; }
    void Reset(size_t pos) { pos_ = pos; }

private:
    void SkipBlanks() {
        while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
    }
    std::string_view text_;
    size_t pos_ = 0;
};

}  // namespace

double NumericValue(std::string_view text) {
    Reader in(text);
    std::string number;  // the number's characters without blanks, in from_chars form
    bool negative = false;
    if (in.Peek() == '+' || in.Peek() == '-') {
        negative = in.Peek() == '-';
        in.Next();
    }
    bool anyDigit = false;
    while (IsDigit(in.Peek())) {
        number += in.Peek();
        anyDigit = true;
        in.Next();
    }
    if (in.Peek() == '.') {
        number += '.';
        in.Next();
        while (IsDigit(in.Peek())) {
            number += in.Peek();
            anyDigit = true;
            in.Next();
        }
    }
    if (!anyDigit) return 0.0;

    const char e = static_cast<char>(std::toupper(static_cast<unsigned char>(in.Peek())));
    if (e == 'E' || e == 'D') {
        const size_t beforeExponent = in.Pos();
        std::string exponent = "e";
        in.Next();
        if (in.Peek() == '+' || in.Peek() == '-') {
            exponent += in.Peek();
            in.Next();
        }
        bool exponentDigit = false;
        while (IsDigit(in.Peek())) {
            exponent += in.Peek();
            exponentDigit = true;
            in.Next();
        }
        if (exponentDigit)
            number += exponent;
        else
            in.Reset(beforeExponent);
    }

    double value = 0.0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)end;
    if (ec == std::errc::result_out_of_range) {
        // from_chars leaves the value alone here; tell overflow from underflow by the exponent.
        const size_t ePos = number.find('e');
        const bool tiny = ePos != std::string::npos && number[ePos + 1] == '-';
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    }
    return negative ? -value : value;
}

}  // namespace wendrel
