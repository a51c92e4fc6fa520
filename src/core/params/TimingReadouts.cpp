#include "core/params/TimingReadouts.h"

#include <limits>

namespace {

const QString kMicroseconds = QStringLiteral(" µs");

// Codes outside the spin edits' ranges can only come from a caller that
// skipped them; a zero divisor then reads as infinity instead of trapping.
double ratio(double numerator, double denominator)
{
    if (denominator == 0.0)
        return numerator < 0 ? -std::numeric_limits<double>::infinity()
                             : std::numeric_limits<double>::infinity();
    return numerator / denominator;
}

} // namespace

QString formatGroupedNumber(double value, int decimals, const QLocale &locale)
{
    QLocale grouped = locale;
    grouped.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return grouped.toString(value, 'f', decimals);
}

PulseTimingTexts pulseTimingTexts(int period, int t0h, int t1h, const QLocale &locale)
{
    // Widen before adding so the extreme ints cannot overflow.
    const double ticks = double(period) + 1.0;
    PulseTimingTexts texts;
    texts.period = formatGroupedNumber(ticks / 96.0, 2, locale) + kMicroseconds;
    texts.t0h = formatGroupedNumber((double(t0h) - 10.0) / 96.0, 3, locale) + kMicroseconds;
    texts.t1h = formatGroupedNumber((double(t1h) - 10.0) / 96.0, 3, locale) + kMicroseconds;
    texts.frequency = formatGroupedNumber(ratio(96000.0, ticks), 0, locale) + QStringLiteral(" kHz");
    return texts;
}

BitWidthTexts bitWidthTexts(int bitWidth, const QLocale &locale)
{
    const double ticks = double(bitWidth) + 1.0;
    BitWidthTexts texts;
    texts.bitWidth = formatGroupedNumber(ticks / 48.0, 2, locale) + kMicroseconds;
    texts.frequency = formatGroupedNumber(ratio(48000.0, ticks), 0, locale) + QStringLiteral(" kBit");
    return texts;
}
