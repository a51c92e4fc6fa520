// Per-protocol limits of the stripe and matrix counts, and the read-outs of
// the protocol timing page.
#include "ui/editor/uConfig.h"

#include "core/params/ProtocolLimits.h"
#include "core/params/TimingReadouts.h"

#include <QComboBox>
#include <QLabel>
#include <QLocale>
#include <QSpinBox>

void TCfg::SetProtocolLimits()
{
    QComboBox *proto = Combo("cbLedProto");
    if (!proto)
        return;
    const auto limits = protocolLimits(proto->currentIndex());
    if (!limits)
        return;
    // In this order: a clamp of a bound control runs its handler at once,
    // and MatrixCountChange checks against the channel maximum already set.
    if (QLabel *l = Label("labStripeLeds"))
        l->setText(limits->stripeLabel);
    if (QSpinBox *s = Spin("edStripeCount"))
        s->setMaximum(limits->stripeMax);
    if (QLabel *l = Label("labChannels"))
        l->setText(limits->channelLabel);
    for (const char *name : {"edStripeChannels", "edMatrixX", "edMatrixY"}) {
        if (QSpinBox *s = Spin(name))
            s->setMaximum(limits->channelMax);
    }
}

void TCfg::ShowPulseTiming(const char *prefix)
{
    const QString p = QLatin1String(prefix);
    auto value = [&](const char *what) {
        auto *s = qobject_cast<QSpinBox *>(Control(QStringLiteral("ed") + p + QLatin1String(what)));
        return s ? s->value() : 0;
    };
    const PulseTimingTexts texts =
        pulseTimingTexts(value("per"), value("t0h"), value("t1h"), QLocale::system());
    auto show = [&](const char *what, const QString &text) {
        if (auto *l = qobject_cast<QLabel *>(Control(QStringLiteral("lab") + p + QLatin1String(what))))
            l->setText(text);
    };
    show("per", texts.period);
    show("t0h", texts.t0h);
    show("t1h", texts.t1h);
    show("freq", texts.frequency);
}

void TCfg::ShowWS2812Timing()
{
    ShowPulseTiming("WS2812");
}

void TCfg::ShowAPA106Timing()
{
    ShowPulseTiming("APA106");
}

void TCfg::ShowWS2821Timing()
{
    QSpinBox *bw = Spin("edWS2821bw");
    const BitWidthTexts texts = bitWidthTexts(bw ? bw->value() : 0, QLocale::system());
    if (QLabel *l = Label("labWS2821bw"))
        l->setText(texts.bitWidth);
    if (QLabel *l = Label("labWS2821freq"))
        l->setText(texts.frequency);
}
