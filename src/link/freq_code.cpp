#include "link/freq_code.h"

#include "core/numbers.h"

#include <algorithm>
#include <cmath>

namespace korvanex::link {

std::optional<int> freqCode(double hz) {
    // Each frequency range includes its upper bound, so 150, 500, 1400 and 4000 Hz encode to
    // the first code of the next range. Only the lowest range rounds; the others truncate.
    if (!(hz <= 20000.0)) {
        return std::nullopt;
    }
    if (hz <= 150.0) {
        const double code = roundHalfEven(hz - 20.0);
        return code < 0.0 ? 0 : static_cast<int>(code);
    }
    if (hz <= 500.0) {
        return static_cast<int>(std::trunc(hz / 2.0)) + 55;
    }
    if (hz <= 1400.0) {
        return static_cast<int>(std::trunc(hz / 3.0)) + 139;
    }
    if (hz <= 4000.0) {
        return static_cast<int>(std::trunc(hz / 4.0)) + 255;
    }
    return static_cast<int>(std::trunc(hz / 10.0)) + 855;
}

int codeFreq(int code) {
    if (code < 0) {
        return 20;
    }
    if (code < 130) {
        return code + 20;
    }
    if (code < 305) {
        return (code - 130) * 2 + 150;
    }
    if (code < 605) {
        return (code - 305) * 3 + 500;
    }
    if (code < 1255) {
        return (code - 605) * 4 + 1400;
    }
    if (code > kMaxFreqCode) {
        return 20000; // never sent by the unit; kept on the scale's top instead of overflowing
    }
    return (code - 1255) * 10 + 4000;
}

void FreqToCode(std::uint8_t& hi, std::uint8_t& lo, float f) {
    const std::optional<int> code = freqCode(static_cast<double>(f));
    if (!code) {
        return;
    }
    hi = valueByte(*code / 256);
    lo = valueByte(*code % 256);
}

void CodeToFreq(std::int16_t& f, QStringView text) {
    // Hex digits only; a number of any length above the scale stays on its top (a long text
    // must not overflow into a small code). Anything else reads as 0.
    int code = 0;
    for (const QChar c : text) {
        const int digit = c >= u'0' && c <= u'9'   ? c.unicode() - u'0'
                          : c >= u'A' && c <= u'F' ? c.unicode() - u'A' + 10
                          : c >= u'a' && c <= u'f' ? c.unicode() - u'a' + 10
                                                   : -1;
        if (digit < 0) {
            code = 0;
            break;
        }
        code = std::min(code * 16 + digit, kMaxFreqCode + 1);
    }
    f = static_cast<std::int16_t>(codeFreq(code));
}

} // namespace korvanex::link
