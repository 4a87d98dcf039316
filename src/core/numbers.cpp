#include "core/numbers.h"

#include <cmath>

namespace korvanex {

double roundHalfEven(double x) {
    if (!std::isfinite(x)) {
        return x;
    }
    const double floorValue = std::floor(x);
    const double diff = x - floorValue;
    if (diff < 0.5) {
        return floorValue;
    }
    if (diff > 0.5) {
        return floorValue + 1.0;
    }
    return std::fmod(floorValue, 2.0) == 0.0 ? floorValue : floorValue + 1.0;
}

std::uint8_t valueByte(double x) {
    if (std::isnan(x)) {
        return 0;
    }
    const double r = roundHalfEven(x);
    if (r <= 0.0) {
        return 0;
    }
    if (r >= 255.0) {
        return 255;
    }
    return static_cast<std::uint8_t>(r);
}

BytePair wordBytes(double x) {
    int word = 0;
    if (!std::isnan(x)) {
        const double r = roundHalfEven(x);
        word = r <= 0.0 ? 0 : (r >= 65535.0 ? 65535 : static_cast<int>(r));
    }
    return {static_cast<std::uint8_t>(word / 256), static_cast<std::uint8_t>(word % 256)};
}

namespace {

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Length of the decimal number starting at `from` (sign, digits, '.', exponent), 0 if none.
qsizetype numberLength(QStringView text, qsizetype from) {
    qsizetype i = from;
    const qsizetype n = text.size();
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        ++i;
    }
    qsizetype digits = 0;
    while (i < n && isDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < n && text[i] == u'.') {
        qsizetype j = i + 1;
        qsizetype fraction = 0;
        while (j < n && isDigit(text[j])) {
            ++j;
            ++fraction;
        }
        if (digits + fraction > 0) {
            i = j;
            digits += fraction;
        }
    }
    if (digits == 0) {
        return 0;
    }
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype j = i + 1;
        if (j < n && (text[j] == u'+' || text[j] == u'-')) {
            ++j;
        }
        const qsizetype expStart = j;
        while (j < n && isDigit(text[j])) {
            ++j;
        }
        if (j > expStart) {
            i = j;
        }
    }
    return i - from;
}

double toDouble(QStringView number) {
    // The span holds only ASCII sign, digits, '.', and exponent: the C locale parse is exact.
    bool ok = false;
    const double value = number.toString().toDouble(&ok);
    if (!ok || !std::isfinite(value)) {
        return 0.0;
    }
    return value;
}

} // namespace

double leadingNumber(QStringView text) {
    qsizetype start = 0;
    while (start < text.size() && (text[start] == u' ' || text[start] == u'\t')) {
        ++start;
    }
    const qsizetype length = numberLength(text, start);
    if (length == 0) {
        return 0.0;
    }
    return toDouble(text.mid(start, length));
}

std::optional<double> parseStrictDecimal(QStringView text) {
    const QStringView trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        return std::nullopt;
    }
    if (numberLength(trimmed, 0) != trimmed.size()) {
        return std::nullopt;
    }
    bool ok = false;
    const double value = trimmed.toString().toDouble(&ok);
    if (!ok || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

QString formatFixed(double x, int decimals) {
    if (!std::isfinite(x)) {
        return QStringLiteral("0");
    }
    QString text = QString::number(x, 'f', decimals);
    // A negative value that rounds to zero is written without its sign ("-0.0" -> "0.0").
    if (text.startsWith(u'-') && text.mid(1).toDouble() == 0.0) {
        text.remove(0, 1);
    }
    return text;
}

QString formatGeneral(double x) {
    if (!std::isfinite(x)) {
        return QStringLiteral("0");
    }
    if (x == 0.0) {
        return QStringLiteral("0");
    }
    return QString::number(x, 'g', 15);
}

} // namespace korvanex
