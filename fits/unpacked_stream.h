// Judges the bytes of an unpacked gzip stream while they arrive, so that a
// stream that holds no spectrum is refused after its first block, and one
// that does is unpacked only as far as its FITS units reach.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace wendrel {

// The most bytes a gzip stream may unpack to, and the most data one FITS
// header may declare.
constexpr int64_t kMaxUnpackedBytes = int64_t{4} << 30;

class UnpackedStreamCheck {
public:
    enum class Verdict {
        More,    // go on unpacking
        Enough,  // the bytes up to End() hold all that can be read
        Refuse,  // Problem() says why
    };

    // Looks at all the bytes unpacked so far; `ended` when the stream holds no more.
    Verdict Look(std::string_view bytes, bool ended);

    const std::string& Problem() const { return problem_; }
    int64_t End() const { return end_; }
    // The bytes the stream is known to hold at least: the end of the data
    // of the last header read (0 while none is known).
    int64_t Expected() const { return dataEnd_ > 0 ? dataEnd_ : 0; }

private:
    Verdict Refuse(std::string text);
    Verdict Stop(int64_t end);
    // Reads the cards of the header at unitStart_ that have arrived; true
    // once its END card is read and the unit's data end is known.
    bool ReadHeader(std::string_view bytes, Verdict& verdict);

    bool started_ = false;  // the first block has been judged
    bool text_ = false;     // the stream is a text spectrum: only its size is watched
    int64_t unitStart_ = 0;  // where the header being read starts
    int64_t cardsRead_ = 0;  // of that header
    int64_t dataEnd_ = -1;   // where that unit's padded data end; -1 while its header is read
    std::map<std::string, double, std::less<>> sizeKeys_;  // BITPIX, NAXISn, PCOUNT, GCOUNT of that header
    std::string problem_;
    int64_t end_ = 0;
};

}  // namespace wendrel
