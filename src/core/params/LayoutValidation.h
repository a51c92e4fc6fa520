#pragma once
#include "core/params/CfgData.h"

#include <QList>
#include <QLocale>
#include <QString>
#include <optional>

// Checks that the LED arrangement fits the device before anything is sent.
// Returns the message to show, or nullopt when the arrangement fits. A total
// equal to its limit fits.
//
// layoutIndex 1 (matrix): LEDs per module against stripeCountMax (the
// protocol's LEDs per channel), then all modules' LEDs against ledMaxCnt.
// Any other index (stripe, or none selected): LEDs per channel times
// channels against ledMaxCnt.
//
// Products are formed in 64 bits: the device counts never come near 2^31,
// but values from a profile or the command line could, and a wrapped 32-bit
// product would let an oversized arrangement pass.
std::optional<QString> validateLayout(int layoutIndex, int stripeCount, int stripeChannels,
                                      int matrixX, int matrixY, int matrixLedX, int matrixLedY,
                                      int stripeCountMax, int ledMaxCnt,
                                      const QLocale &locale = QLocale());

// The same rules on parameter values, for callers without an editor (the
// command-line tool). Counts are taken as the editor would load them; the
// capacity is LMAX of the list (0 when absent, so nothing passes) and the
// per-module limit comes from LPRO. With an LPRO outside the protocol list
// there is no per-module limit to check and only the capacity is checked.
std::optional<QString> validateParams(const QList<TCfgData> &params,
                                      const QLocale &locale = QLocale());
