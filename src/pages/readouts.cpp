#include "pages/readouts.h"

#include "core/numbers.h"

#include <QLocale>
#include <array>

namespace korvanex {

int filterFreqHz(int v) {
    if (v <= 130)
        return v + 20;
    if (v <= 305)
        return 2 * v - 110;
    return 3 * v - 415;
}

QString FilterFreqText(int v) {
    return QString::number(filterFreqHz(v)) + QStringLiteral("Hz");
}

QString CutoffKHzText(int v) {
    // Computed from the whole number v * 10 so that 455 gives exactly "4.55".
    const double kHz = double(v) * 10.0 / 1000.0;
    return formatGeneral(kHz) + QStringLiteral("KHz");
}

std::optional<int> Echo_delay(int step) {
    static constexpr std::array<int, 16> ms{12,  24,  36,  49,  61,  73,  86,  98,
                                            110, 122, 135, 147, 159, 172, 184, 196};
    if (step < 0 || step >= int(ms.size()))
        return std::nullopt;
    return ms[std::size_t(step)];
}

QString EchoDelayText(int step) {
    const auto ms = Echo_delay(step);
    return (ms ? QString::number(*ms) : QString()) + QStringLiteral("ms");
}

std::optional<QString> OutputLimitText(int v) {
    static const std::array<const char*, 7> texts{"OFF",  "0.775V", "1V", "1.2V",
                                                  "1.5V", "1.75V",  "2V"};
    if (v < 0 || v >= int(texts.size()))
        return std::nullopt;
    return QString::fromLatin1(texts[std::size_t(v)]);
}

QChar timeDecimalPoint(const QLocale& locale) {
    return locale.decimalPoint() == QStringLiteral(",") ? QChar(u',') : QChar(u'.');
}

QChar systemTimeDecimalPoint() {
    return timeDecimalPoint(QLocale::system());
}

QString TenthsSecondsText(int v, QChar point) {
    QString text = formatFixed(double(v) / 10.0, 1);
    text.replace(u'.', point);
    return text + QStringLiteral("s");
}

QString ValueText(int v, const char* unit) {
    return QString::number(v) + QString::fromLatin1(unit);
}

QString EchoGroupText(int index, int v) {
    switch (index) {
    case 1:
        return EchoDelayText(v);
    case 4:
        return ValueText(v, "%");
    case 7:
        return ValueText(3 * v, "ms");
    default:
        return ValueText(v);
    }
}

QString ReverbGroupText(int index, int v) {
    switch (index) {
    case 1:
        return EchoDelayText(v);
    case 4:
    case 5:
    case 6:
        return TenthsSecondsText(v);
    case 7:
        return ValueText(v, "ms");
    case 8:
    case 9:
        return ValueText(v, "%");
    default:
        return ValueText(v);
    }
}

EffectPanels effectPanelsFor(int program) {
    EffectPanels p;
    const bool reverb = program >= 4;
    const bool locked = program == 2 || program == 3 || program == 6 || program == 7;
    p.echoShown = !reverb;
    p.reverbShown = reverb;
    p.reverbCutEnabled = reverb;
    p.echoEnabled = !locked;
    p.reverbEnabled = !locked;
    return p;
}

} // namespace korvanex
