#pragma once
#include "core/params/CfgData.h"

#include <QList>
#include <QLocale>
#include <QString>
#include <optional>

// The LED arrangement a send is checked against: the editor's controls in
// the window, the parameter values on the command line.
struct LayoutArrangement {
    int layout = -1; // item index of the layout type; 1 is the matrix
    int stripeCount = 0;
    int stripeChannels = 0;
    int matrixX = 0;
    int matrixY = 0;
    int matrixLedX = 0;
    int matrixLedY = 0;
    // The protocol's LEDs per channel, also the limit of one matrix module;
    // nullopt when no protocol is known, so only the capacity is checked.
    std::optional<int> stripeCountMax;

    // The arrangement the parameter values describe, counts taken as the
    // editor would load them and the per-module limit from LPRO.
    static LayoutArrangement fromParams(const QList<TCfgData> &params);
};

// Checks that the arrangement fits a controller of `ledMaxCnt` LEDs before
// anything is sent. Returns the message to show, or nullopt when it fits. A
// total equal to its limit fits.
//
// Matrix: LEDs per module against stripeCountMax, then all modules' LEDs
// against ledMaxCnt. Otherwise (stripe, or none selected): LEDs per channel
// times channels against ledMaxCnt.
//
// Products are formed in 64 bits: the device counts never come near 2^31,
// but values from a profile or the command line could, and a wrapped 32-bit
// product would let an oversized arrangement pass.
std::optional<QString> validateLayout(const LayoutArrangement &arrangement, int ledMaxCnt,
                                      const QLocale &locale = QLocale());

// The same rules on parameter values; the capacity is LMAX of the list (0
// when absent, so nothing passes).
std::optional<QString> validateParams(const QList<TCfgData> &params,
                                      const QLocale &locale = QLocale());
