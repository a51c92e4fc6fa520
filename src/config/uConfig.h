#pragma once
#include "config/CfgData.h"
#include "device/DeviceCrypto.h"
#include "device/ParamIo.h"

#include <QList>
#include <QObject>
#include <QTimer>

class QWidget;
class TComHid;

// What the parameter set needs of the main window that owns it.
class TCfgHost {
public:
    virtual ~TCfgHost() = default;
    // True while the parameter list reflects the open device.
    virtual bool &CfgLoaded() = 0;
    // The transport; null before the device link has started.
    virtual TComHid *ComHid() = 0;
    // The access words of the open device.
    virtual const TCrypt &Crypt() const = 0;
};

// The program's copy of the controller's 21 parameters, bound to the editor
// controls of the main window (found there by their object names).
class TCfg : public QObject {
    Q_OBJECT
public:
    TCfg(QWidget *mainWindow, TCfgHost &host);
    ~TCfg() override;

    // Loads all parameters from the device and fills the editor, unless
    // CfgLoaded is already set. Reports its own errors.
    void DoInit();
    // Sets the value of the parameter whose tag equals `code` exactly.
    bool SetConfig(const QByteArray &code, uint32_t Value);
    // Validates the editor and writes every changed parameter. Reports its own errors.
    void SendConfig();

    TAnswerBuf Buf{};
    uint8_t LedColors[8] = {};
    int LedMaxCnt = 0;
    QList<TCfgData> CfgData;
    QList<TCfgData> CfgOrig;

    // The auto-send timer (tests check its state).
    const QTimer &SaveTimer() const { return m_saveTimer; }

    // (private in spirit; the rest of TCfg's operations are its own business)
};
