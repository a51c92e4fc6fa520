#include "ui/editor/EditorReadouts.h"
#include "ui_ConfigEditor.h"

#include "core/params/MatrixPreview.h"
#include "core/params/ProtocolLimits.h"
#include "core/params/TimingReadouts.h"
#include "ui/editor/ConfigEditorForm.h"

#include <QLocale>
#include <QPixmap>

namespace {
const QString kNoValue = QStringLiteral("---");
} // namespace

EditorReadouts::EditorReadouts(Ui::ConfigEditorForm &ui)
    : ui(ui)
{
}

void EditorReadouts::SetProtocolLimits()
{
    const auto limits = protocolLimits(ui.cbLedProto->currentIndex());
    if (!limits)
        return;
    // In this order: a clamp of a bound control runs its handler at once,
    // and the module count is checked against the channel maximum already set.
    ui.labStripeLeds->setText(limits->stripeLabel);
    ui.edStripeCount->setMaximum(limits->stripeMax);
    ui.labChannels->setText(limits->channelLabel);
    for (QSpinBox *spin : {ui.edStripeChannels, ui.edMatrixX, ui.edMatrixY})
        spin->setMaximum(limits->channelMax);
}

void EditorReadouts::ShowWS2812Timing()
{
    const PulseTimingTexts t = pulseTimingTexts(ui.edWS2812per->value(), ui.edWS2812t0h->value(),
                                                ui.edWS2812t1h->value(), QLocale::system());
    ui.labWS2812per->setText(t.period);
    ui.labWS2812t0h->setText(t.t0h);
    ui.labWS2812t1h->setText(t.t1h);
    ui.labWS2812freq->setText(t.frequency);
}

void EditorReadouts::ShowAPA106Timing()
{
    const PulseTimingTexts t = pulseTimingTexts(ui.edAPA106per->value(), ui.edAPA106t0h->value(),
                                                ui.edAPA106t1h->value(), QLocale::system());
    ui.labAPA106per->setText(t.period);
    ui.labAPA106t0h->setText(t.t0h);
    ui.labAPA106t1h->setText(t.t1h);
    ui.labAPA106freq->setText(t.frequency);
}

void EditorReadouts::ShowWS2821Timing()
{
    const BitWidthTexts t = bitWidthTexts(ui.edWS2821bw->value(), QLocale::system());
    ui.labWS2821bw->setText(t.bitWidth);
    ui.labWS2821freq->setText(t.frequency);
}

void EditorReadouts::DrawMatrixPreview()
{
    LastMatrixX = ui.edMatrixX->value();
    LastMatrixY = ui.edMatrixY->value();
    // The preview's background is the colour of the panel it sits on.
    const QColor background = ui.panBack1->palette().color(QPalette::Window);
    ui.panImg->setPixmap(QPixmap::fromImage(renderMatrixPreview(
        LastMatrixX, LastMatrixY, ui.cbFirstLed->currentIndex(), ui.cbLedOrder->currentIndex(), background)));
}

void EditorReadouts::clear()
{
    for (QLabel *label : {ui.labWS2812per, ui.labWS2812t0h, ui.labWS2812t1h, ui.labWS2812freq, ui.labAPA106per,
                          ui.labAPA106t0h, ui.labAPA106t1h, ui.labAPA106freq, ui.labWS2821bw, ui.labWS2821freq})
        label->setText(kNoValue);
    QPixmap blank(kPreviewWidth, kPreviewHeight);
    blank.fill(ui.panBack1->palette().color(QPalette::Window));
    ui.panImg->setPixmap(blank);
}
