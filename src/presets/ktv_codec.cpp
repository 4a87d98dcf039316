#include "presets/ktv_codec.h"

#include "core/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace korvanex::ktv {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// --- Numbers, in bytes and independent of the locale ---

struct Number {
    std::size_t length = 0; // bytes taken; 0 when the text starts with no number
    double value = 0.0;     // +-inf beyond the range of double, 0 below it
};

// Exponent digits saturate: anything this large is out of every range already.
long exponentValue(std::string_view digits) {
    long e = 0;
    for (char c : digits) {
        e = std::min(e * 10 + (c - '0'), 100000L);
    }
    return e;
}

// Power of ten of the first non-zero digit of `mantissa` (digits around one '.') times
// 10^exponent; tells an overflow from an underflow when a conversion is out of range.
long magnitude(std::string_view mantissa, long exponent) {
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    for (std::size_t k = 0; k < mantissa.size(); ++k) {
        if (mantissa[k] >= '1' && mantissa[k] <= '9') {
            const long place = k < point ? long(point - k) - 1 : -long(k - point);
            return exponent + place;
        }
    }
    return 0;
}

// The decimal number at the start of `text`: optional sign, digits with at most one decimal
// point ('.', or also ',' when `comma`), optional exponent. Reading stops at the first
// character that cannot continue it.
Number scanNumber(std::string_view text, bool comma) {
    const std::size_t n = text.size();
    std::size_t i = 0;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::string mantissa;
    while (i < n && isDigit(text[i])) {
        mantissa += text[i++];
    }
    if (i < n && (text[i] == '.' || (comma && text[i] == ','))) {
        std::size_t j = i + 1;
        while (j < n && isDigit(text[j])) {
            ++j;
        }
        if (!mantissa.empty() || j > i + 1) {
            mantissa += '.';
            mantissa.append(text.substr(i + 1, j - i - 1));
            i = j;
        }
    }
    if (mantissa.empty()) {
        return {};
    }
    long exponent = 0;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        const bool minus = j < n && text[j] == '-';
        if (j < n && (text[j] == '+' || text[j] == '-')) {
            ++j;
        }
        const std::size_t digitsFrom = j;
        while (j < n && isDigit(text[j])) {
            ++j;
        }
        if (j > digitsFrom) {
            const long e = exponentValue(text.substr(digitsFrom, j - digitsFrom));
            exponent = minus ? -e : e;
            i = j;
        }
    }
    const std::string plain = mantissa + 'e' + std::to_string(exponent);
    double value = 0.0;
    const auto result = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        value = magnitude(mantissa, exponent) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return {i, negative ? -value : value};
}

// The leading number of a slider or field line; 0 when there is none.
double leadingValue(std::string_view line) {
    std::size_t start = 0;
    while (start < line.size() && isBlank(line[start])) {
        ++start;
    }
    return scanNumber(line.substr(start), false).value;
}

// A band line: the whole line one number, finite in single precision.
std::optional<float> bandValue(std::string_view line) {
    while (!line.empty() && isBlank(line.front())) {
        line.remove_prefix(1);
    }
    while (!line.empty() && isBlank(line.back())) {
        line.remove_suffix(1);
    }
    const Number number = scanNumber(line, true);
    if (number.length == 0 || number.length != line.size() ||
        !(std::fabs(number.value) <= std::numeric_limits<float>::max())) {
        return std::nullopt;
    }
    return static_cast<float>(number.value);
}

// Slider values go to sliders that clamp them; this only keeps the conversion defined.
int sliderValue(std::string_view line) {
    return static_cast<int>(std::clamp(roundHalfEven(leadingValue(line)), -1e9, 1e9));
}

// --- Writing ---

QByteArray bandText(float value, DecimalPoint point) {
    if (!std::isfinite(value) || value == 0.0f) {
        return QByteArrayLiteral("0"); // also for -0
    }
    char buffer[32];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, double(value), std::chars_format::general, 7)
            .ptr;
    QByteArray text(buffer, end - buffer);
    text.replace("+", "");
    if (point == DecimalPoint::Comma) {
        text.replace('.', ',');
    }
    return text;
}

// A read-out holding a line break would shift every later line.
QByteArray readoutText(const QString& text) {
    QByteArray bytes = text.toUtf8();
    bytes.replace("\r", "");
    bytes.replace("\n", "");
    return bytes;
}

// --- Lines ---

// The file cut at CR; one LF after a CR belongs to the line end. Stops after `wanted` lines.
std::vector<std::string_view> splitLines(std::string_view bytes, std::size_t wanted) {
    std::vector<std::string_view> lines;
    std::size_t pos = 0;
    while (pos < bytes.size() && lines.size() < wanted) {
        const std::size_t cr = bytes.find('\r', pos);
        if (cr == std::string_view::npos) {
            lines.push_back(bytes.substr(pos));
            break;
        }
        lines.push_back(bytes.substr(pos, cr - pos));
        pos = cr + 1;
        if (pos < bytes.size() && bytes[pos] == '\n') {
            ++pos;
        }
    }
    return lines;
}

ReadResult refused(Refusal why, int line = 0) {
    ReadResult result;
    result.refusal = why;
    result.line = line;
    return result;
}

} // namespace

QByteArray write(const ParameterRecord& record, DecimalPoint point) {
    QByteArray out;
    out.reserve(1024);
    const auto line = [&out](const QByteArray& text) {
        out += text;
        out += "\r\n";
    };
    line(kFileTag);
    std::size_t band = 0, slider = 0, readout = 0, field = 0;
    for (const LineRun& run : kLayout) {
        for (int k = 0; k < run.count; ++k) {
            switch (run.kind) {
            case LineKind::Band: {
                const Band& b = record.bands[band++];
                line(bandText(b.dB, point));
                line(bandText(b.Q, point));
                line(bandText(b.F, point));
                break;
            }
            case LineKind::Slider:
                line(QByteArray::number(record.sliders[slider++]));
                break;
            case LineKind::Readout:
                line(readoutText(record.readouts[readout++]));
                break;
            case LineKind::Field:
                line(QByteArray::number(record.fields[field++]));
                break;
            }
        }
    }
    return out;
}

ReadResult read(const QByteArray& bytes) {
    if (bytes.size() > kMaxFileBytes) {
        return refused(Refusal::TooLarge);
    }
    const std::vector<std::string_view> lines =
        splitLines(std::string_view(bytes.constData(), std::size_t(bytes.size())), kLineCount);
    if (lines.empty() || lines[0] != kFileTag) {
        return refused(Refusal::WrongTag, 1);
    }
    if (lines.size() < std::size_t(kLineCount)) {
        return refused(Refusal::TooFewLines, int(lines.size()) + 1);
    }

    ParameterRecord record;
    std::size_t at = 1; // index of the next line
    std::size_t band = 0, slider = 0, readout = 0, field = 0;
    for (const LineRun& run : kLayout) {
        for (int k = 0; k < run.count; ++k) {
            switch (run.kind) {
            case LineKind::Band: {
                std::array<float, 3> v{};
                for (float& value : v) {
                    const auto parsed = bandValue(lines[at]);
                    if (!parsed) {
                        return refused(Refusal::BadBand, int(at) + 1);
                    }
                    value = *parsed;
                    ++at;
                }
                Band& b = record.bands[band++];
                b.dB = std::clamp(v[0], kGainMin, kGainMax);
                b.Q = std::clamp(v[1], kQMin, kQMax);
                b.F = std::clamp(v[2], kFreqMin, kFreqMax);
                break;
            }
            case LineKind::Slider:
                record.sliders[slider++] = sliderValue(lines[at++]);
                break;
            case LineKind::Readout: {
                const std::string_view text = lines[at++];
                record.readouts[readout++] = QString::fromUtf8(text.data(), qsizetype(text.size()));
                break;
            }
            case LineKind::Field: {
                const double value = roundHalfEven(leadingValue(lines[at]));
                if (!(value >= 0.0 && value <= kFieldMaximum[field])) {
                    return refused(Refusal::FieldOutOfRange, int(at) + 1);
                }
                record.fields[field++] = int(value);
                ++at;
                break;
            }
            }
        }
    }
    ReadResult result;
    result.record = std::move(record);
    return result;
}

} // namespace korvanex::ktv
