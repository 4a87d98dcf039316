#pragma once
// How the pages write a slider's value into its read-out box. Plain functions: every writer
// of a read-out (the user's move, a received block, a loaded file) goes through these.
// Numbers are written with '.' as the decimal point whatever the locale, so that a read-out
// read back by its leading number gives the value again; only the reverb times, which
// nothing reads back, use the system's decimal point.

#include <QChar>
#include <QString>
#include <optional>

class QLocale;

namespace korvanex {

// Cut-off slider value (the unit's frequency code, 0..472) as "NNNHz": v + 20 up to 130,
// then 2 Hz per step up to 305, then 3 Hz per step (0 -> "20Hz", 131 -> "152Hz",
// 306 -> "503Hz", 472 -> "1001Hz").
int filterFreqHz(int v);
QString FilterFreqText(int v);

// High-cut slider value (400..1800) as kHz in the shortest decimal form with '.', followed by
// "KHz": 400 -> "4KHz", 455 -> "4.55KHz", 1230 -> "12.3KHz".
QString CutoffKHzText(int v);

// Echo delay step 0..15 in milliseconds (a fixed table, no formula); no value for any other
// step.
std::optional<int> Echo_delay(int step);
// The delay read-out: the milliseconds and "ms"; "ms" alone outside the table.
QString EchoDelayText(int step);

// Output limit of the music output, 0..6: "OFF", "0.775V", "1V", "1.2V", "1.5V", "1.75V",
// "2V". Any other value has no text, so the read-out keeps what it shows.
std::optional<QString> OutputLimitText(int v);

// The decimal point of the reverb times under a locale: ',' where the locale writes ',',
// '.' everywhere else.
QChar timeDecimalPoint(const QLocale& locale);
// The same for the system's locale.
QChar systemTimeDecimalPoint();

// The reverb times: tenths of a second with one decimal and the given point, then "s":
// 50 -> "5.0s" (or "5,0s"), 0 -> "0.0s".
QString TenthsSecondsText(int v, QChar point = systemTimeDecimalPoint());

// The whole number with a unit directly after it (unit may be empty): 40 -> "40", "90%".
QString ValueText(int v, const char* unit = "");

// Read-outs of the echo group (index 0..7) and of the reverb group (index 0..9).
QString EchoGroupText(int index, int v);
QString ReverbGroupText(int index, int v);

// Which effect controls the effect program allows: programs 4 and up use the reverb group
// (and its cut filters), the others the echo group; programs 2, 3, 6 and 7 lock both groups.
struct EffectPanels {
    bool echoShown = true;
    bool echoEnabled = true;
    bool reverbShown = false;
    bool reverbEnabled = true;
    bool reverbCutEnabled = false;
};
EffectPanels effectPanelsFor(int program);

} // namespace korvanex
