#pragma once
#include <QColor>

// WCAG 2 contrast ratio of two colours, from 1 (same luminance) to 21.
double contrastRatio(const QColor &a, const QColor &b);

// A colour fixed by design where it stands out from the background by at
// least 4.5:1 (what normal text needs to be read); else the palette's own
// text colour, as a dark theme's light text for a designed black.
QColor readableOn(const QColor &fixed, const QColor &background, const QColor &paletteText);
