#pragma once
#include <QLocale>
#include <QString>

// A number with `decimals` fixed decimals and the locale's thousands and
// decimal separators (the "%.Nn" format of the read-outs and messages).
// Group separators are shown even where the locale object was told to omit
// them.
QString formatGroupedNumber(double value, int decimals, const QLocale &locale = QLocale());

// Read-outs of a WS2811/12 or APA106 timing group. The codes count ticks of
// 1/96 us: period code = ticks - 1, high-time codes = ticks + 10.
struct PulseTimingTexts {
    QString period;    // labWS2812per:  "%.2n µs" of (period + 1) / 96
    QString t0h;       // labWS2812t0h:  "%.3n µs" of (t0h - 10) / 96
    QString t1h;       // labWS2812t1h:  "%.3n µs" of (t1h - 10) / 96
    QString frequency; // labWS2812freq: "%.0n kHz" of 96000 / (period + 1)
};
PulseTimingTexts pulseTimingTexts(int period, int t0h, int t1h,
                                  const QLocale &locale = QLocale());

// Read-outs of the WS2821 (DMX) group; the code counts ticks of 1/48 us
// (code = ticks - 1).
struct BitWidthTexts {
    QString bitWidth;  // labWS2821bw:   "%.2n µs" of (bw + 1) / 48
    QString frequency; // labWS2821freq: "%.0n kBit" of 48000 / (bw + 1)
};
BitWidthTexts bitWidthTexts(int bitWidth, const QLocale &locale = QLocale());
