#include "ui/editor/uConfig.h"

#include "core/params/ParamTable.h"
#include "device/uComHid.h"
#include "core/i18n/TranslateText.h"

#include <QCheckBox>
#include <QPushButton>

namespace {
constexpr int kAutoSendMs = 10000;
} // namespace

TCfg::TCfg(QWidget *mainWindow, TCfgHost &host)
    : m_main(mainWindow)
    , m_host(host)
{
    // Single shot: SendConfig stops it anyway, and only the next change may
    // arm it again.
    m_saveTimer.setSingleShot(true);
    // A coarse timer would round the countdown to its own grid, so a change
    // shortly after another might not push the send back at all.
    m_saveTimer.setTimerType(Qt::PreciseTimer);
    m_saveTimer.setInterval(kAutoSendMs);
    connect(&m_saveTimer, &QTimer::timeout, this, &TCfg::SendConfig);
}

TCfg::~TCfg()
{
    UnbindAll();
}

bool TCfg::SetConfig(const QByteArray &code, uint32_t Value)
{
    for (TCfgData &entry : CfgData) {
        if (entry.Code == code) {
            entry.Value = Value;
            return true;
        }
    }
    return false;
}

QString TCfg::ReadConfig(const QByteArray &code, TCfgData &entry)
{
    CfgData.append(TCfgData(code, 0));
    TCfgData &added = CfgData.last();
    uint32_t value = 0;
    // Without a transport the device is as unreachable as an unplugged one.
    TComHid *hid = m_host.ComHid();
    const uint16_t r = hid ? ReadParameter(*hid, Buf, added.Code, m_host.Crypt()[kCryptReadWord], value)
                           : Status::CommunicationError;
    if (r >= Status::FirstFailure)
        return QStringLiteral("Error reading Config = ") + ErrToStr(r);
    added.Value = value;
    entry = added;
    return {};
}

bool TCfg::CheckChanged()
{
    // After a failed load the lists can differ in length; only entries both
    // hold can be compared.
    bool changed = false;
    const qsizetype n = qMin(CfgData.size(), CfgOrig.size());
    for (qsizetype i = 0; i < n && !changed; ++i)
        changed = CfgData[i].Value != CfgOrig[i].Value;

    QPushButton *send = SendButton();
    if (send) {
        send->setEnabled(changed);
        connect(send, &QPushButton::clicked, this, &TCfg::SendConfig, Qt::UniqueConnection);
    }

    QCheckBox *autoSend = Check("chkAutoSend");
    if (changed && autoSend && autoSend->isChecked()) {
        m_saveTimer.setInterval(kAutoSendMs);
        m_saveTimer.start(); // restarts a running countdown
    } else {
        m_saveTimer.stop();
    }

    ShowStatus(changed ? TranslateText(QStringLiteral("Parameter changed")) : QString());
    return changed;
}
