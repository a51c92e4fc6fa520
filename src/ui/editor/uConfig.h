#pragma once
#include "core/params/CfgData.h"
#include "core/protocol/DeviceCrypto.h"
#include "device/ParamIo.h"

#include <QHash>
#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QTimer>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QWidget;
class TComHid;
struct EditorValues;

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

private:
    using Handler = void (TCfg::*)();

    // --- parameter list and change tracking (uConfigParams.cpp)
    // Appends `code` to CfgData and reads its value from the device; returns
    // the error text, empty on success.
    QString ReadConfig(const QByteArray &code, TCfgData &entry);
    bool CheckChanged();

    // --- loading (uConfigLoad.cpp)
    bool LoadTag(int tagIndex, EditorValues &values);
    void ShowTag(int tagIndex, const EditorValues &values);

    // --- control access and binding (uConfigControls.cpp)
    QObject *Control(const QString &name) const;
    QSpinBox *Spin(const char *name) const;
    QComboBox *Combo(const char *name) const;
    QCheckBox *Check(const char *name) const;
    QLabel *Label(const char *name) const;
    QPushButton *SendButton() const;
    void ShowStatus(const QString &text) const;
    EditorValues ReadEditor() const;
    void Bind(QObject *control, Handler handler);
    void Unbind(QObject *control);
    void BindTag(int tagIndex);
    void UnbindAll();
    void StoreTag(int tagIndex);

    // --- handlers (uConfigHandlers.cpp)
    void KeyTimingChange();
    void StartupChange();
    void ComProtoChange();
    void LedProtoChange();
    void LayoutChange();
    void BrightChange();
    void LedColChange();
    void MirrorClick();
    void StripeChange();
    void MatrixCountChange();
    void MatrixLedChange();
    void LedOrderChange();
    void FirstLedChange();
    void WS2812Change();
    void APA106Change();
    void WS2821Change();
    void WS2801ClkChange();
    void APA102ClkChange();
    void LPD8803ClkChange();
    static Handler HandlerOf(int tagIndex);

    // --- protocol limits and timing read-outs (uConfigTiming.cpp)
    void SetProtocolLimits();
    void ShowWS2812Timing();
    void ShowAPA106Timing();
    void ShowWS2821Timing();
    void ShowPulseTiming(const char *prefix);

    // --- sending (uConfigSend.cpp)
    QString ValidateEditor() const;
    QString WriteChanged();

    // --- preview (uConfigPreview.cpp)
    void DrawMatrixPreview();

    QPointer<QWidget> m_main;
    TCfgHost &m_host;
    int LastMatrixX = 0;
    int LastMatrixY = 0;
    QTimer m_saveTimer;
    // The one connection each editor control has to its handler.
    QHash<QObject *, QMetaObject::Connection> m_bindings;
};
