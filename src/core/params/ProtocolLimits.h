#pragma once
#include <QString>
#include <optional>

// Per LED protocol: LEDs per channel (the maximum of edStripeCount and the
// per-module limit of a matrix) and channels (the maximum of
// edStripeChannels, edMatrixX and edMatrixY, and of the module count).
struct ProtocolLimits {
    int stripeMax = 0;
    int channelMax = 0;
    QString stripeLabel;  // labStripeLeds, e.g. "Max. 1024"
    QString channelLabel; // labChannels, e.g. "Max. 8"
};

// nullopt for an index outside the protocol list (no selection): the editor
// then leaves its limits as they are.
std::optional<ProtocolLimits> protocolLimits(int ledProtoIndex);

// Whether a matrix of modulesX x modulesY modules fits the protocol's
// channels (one module per channel); the editor undoes a module count that
// does not. The product is formed in 64 bits so no count can wrap into range.
bool matrixModulesFit(int modulesX, int modulesY, int channelMax);
