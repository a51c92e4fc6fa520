#pragma once
#include "cli/CliStatus.h"
#include "core/params/CfgData.h"
#include "core/protocol/BiosInfo.h"
#include "core/protocol/DeviceCrypto.h"
#include "device/DeviceIdentity.h"
#include "device/ParamIo.h"
#include "device/uComHid.h"

#include <QList>
#include <QTextStream>

// The device side of one command-line run: the transport over the bus, the
// chosen controller, its identity and access words, and parameter reads and
// writes with the window's messages.
class CliDeviceSession {
public:
    explicit CliDeviceSession(HidControllerFactory factory);

    // Writes every report exchanged to `err`, one trace line each.
    void TraceTo(QTextStream &err);

    // Scans the bus. The first scan is reported at once; events the bus has
    // queued meanwhile are delivered before this returns.
    void Start();
    const QList<TDevListEntry> &Devices() const { return m_hid.DevList; }

    // Chooses the controller by serial number (any letter case) or, with
    // an empty `serial`, the only one present.
    CliStatus Select(const QString &serial);
    QString Serial() const { return m_serial; }

    // Identifies the chosen controller; nothing else may touch it before.
    CliStatus Identify();
    const TBiosInfo &Bios() const { return m_bios; }
    const TDeviceReadouts &Readouts() const { return m_readouts; }

    // Reads the parameters at `indexes` (read order) into `params`, in that
    // order. Stops at the first failure with "Error reading Config = ".
    CliStatus Read(const QList<int> &indexes, QList<TCfgData> *params);
    CliStatus ReadAll(QList<TCfgData> *params);

    // Writes every parameter of `working` that differs from `device`, in
    // list order, and brings `device` up to date with each one written.
    // Stops at the first refusal with "Error writing Config = ".
    CliStatus WriteChanged(const QList<TCfgData> &working, QList<TCfgData> *device, QList<TCfgData> *written);

    TComHid &Hid() { return m_hid; }
    TAnswerBuf &Buf() { return m_buf; }
    uint16_t WriteWord() const { return m_crypt[kCryptWriteWord]; }

private:
    TComHid m_hid;
    TAnswerBuf m_buf{};
    TBiosInfo m_bios;
    TCrypt m_crypt{};
    TDeviceReadouts m_readouts;
    QString m_serial;
};

// All 21 parameter indexes in read order.
QList<int> AllParamIndexes();
