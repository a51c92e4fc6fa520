// Validating the editor and writing the changed parameters to the device.
#include "ui/editor/uConfig.h"

#include "core/params/LayoutValidation.h"
#include "device/uComHid.h"
#include "ui/dialogs/uMessageBox.h"

#include <QComboBox>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>

void TCfg::SendConfig()
{
    m_saveTimer.stop();

    QString error = ValidateEditor();
    if (error.isEmpty())
        error = WriteChanged();
    if (!error.isEmpty()) {
        // The send button stays as it was, so the user can try again; only
        // the next change arms the auto-send again.
        ShowStatus(QStringLiteral("ERROR"));
        ShowError(error);
        ShowStatus(QString());
        return;
    }
    ShowStatus(QString());
    if (QPushButton *send = SendButton())
        send->setEnabled(false);
}

// The LED arrangement as the editor shows it (not the parameter values).
QString TCfg::ValidateEditor() const
{
    auto value = [this](const char *name) {
        QSpinBox *s = Spin(name);
        return s ? s->value() : 0;
    };
    QComboBox *layout = Combo("cbLayout");
    QSpinBox *stripeCount = Spin("edStripeCount");
    const auto message = validateLayout(
        layout ? layout->currentIndex() : -1, value("edStripeCount"), value("edStripeChannels"),
        value("edMatrixX"), value("edMatrixY"), value("edMatrixLedX"), value("edMatrixLedY"),
        stripeCount ? stripeCount->maximum() : 0, LedMaxCnt, QLocale::system());
    return message.value_or(QString());
}

// Writes every changed parameter in list order. Each success counts as the
// device's value at once, so a failure further on never sends it again.
QString TCfg::WriteChanged()
{
    TComHid *hid = m_host.ComHid();
    const qsizetype n = qMin(CfgData.size(), CfgOrig.size());
    for (qsizetype i = 0; i < n; ++i) {
        if (CfgData[i].Value == CfgOrig[i].Value)
            continue;
        const uint16_t r = hid ? WriteParameter(*hid, Buf, CfgData[i].Code, CfgData[i].Value,
                                                m_host.Crypt()[kCryptWriteWord])
                               : Status::CommunicationError;
        if (r != Status::Ok)
            return QStringLiteral("Error writing Config = ") + ErrToStr(r);
        CfgOrig[i].Value = CfgData[i].Value;
    }
    return {};
}
