#pragma once
#include "core/protocol/BiosInfo.h"
#include "core/protocol/DeviceCrypto.h"

#include <QString>

class TComHid;

// The five firmware read-outs of the device group, "---" until filled.
struct DeviceReadouts {
    QString version = QStringLiteral("---");
    QString code = QStringLiteral("---");
    QString info = QStringLiteral("---");
    QString date = QStringLiteral("---");
    QString config = QStringLiteral("---");
};

// What identifying a device produced.
struct IdentifyResult {
    bool result = false;   // the device may be opened
    QString error;         // message for the error box; empty when nothing failed
    uint16_t status = 0;   // the exchange's result when an exchange failed
};

// The configuration version this tool serves (1.1).
constexpr int kToolVersion = 11;

// Identifies the device selected in `hid`: reads the firmware information
// (0xE3) into BiosInfo and the read-outs, checks the configuration version,
// reads the CPU information (0xE5) and derives the access words into Crypt.
// On a failure the fields keep what the failed step found, as the window shows.
IdentifyResult identifyDevice(TComHid &hid, TBiosInfo &biosInfo, CryptWords &crypt, DeviceReadouts &readouts);
