#pragma once
#include "core/protocol/BiosInfo.h"
#include "core/protocol/DeviceCrypto.h"

#include <QString>

class TComHid;

// The five firmware read-outs of the device group, "---" until filled.
struct TDeviceReadouts {
    QString Version = QStringLiteral("---");
    QString Code = QStringLiteral("---");
    QString Info = QStringLiteral("---");
    QString Date = QStringLiteral("---");
    QString Config = QStringLiteral("---");
};

// What identifying a device produced.
struct TIdentifyResult {
    bool Result = false;   // the device may be opened
    QString Error;         // message for the error box; empty when nothing failed
    uint16_t Status = 0;   // the exchange's result when an exchange failed
};

// The configuration version this tool serves (1.1).
constexpr int kToolVersion = 11;

// Identifies the device selected in `hid`: reads the firmware information
// (0xE3) into BiosInfo and the read-outs, checks the configuration version,
// reads the CPU information (0xE5) and derives the access words into Crypt.
// On a failure the fields keep what the failed step found, as the window shows.
TIdentifyResult IdentifyDevice(TComHid &hid, TBiosInfo &BiosInfo, TCrypt &Crypt, TDeviceReadouts &readouts);
