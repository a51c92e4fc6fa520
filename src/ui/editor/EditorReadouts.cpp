#include "ui/editor/EditorReadouts.h"
#include "ui_ConfigEditor.h"

#include "core/params/ProtocolLimits.h"
#include "core/params/TimingReadouts.h"
#include "ui/editor/ConfigEditorForm.h"

#include <QLocale>

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

namespace {
// One WS2811/12 or APA106 group: its three codes and four read-outs.
void showPulseTiming(const std::array<QSpinBox *, 3> &codes, const std::array<QLabel *, 4> &readouts)
{
    const PulseTimingTexts t = pulseTimingTexts(codes[0]->value(), codes[1]->value(), codes[2]->value(),
                                                QLocale::system());
    for (const auto &[label, text] : {std::pair{readouts[0], t.period}, {readouts[1], t.t0h}, {readouts[2], t.t1h},
                                      {readouts[3], t.frequency}})
        label->setText(text);
}
} // namespace

void EditorReadouts::ShowWS2812Timing()
{
    showPulseTiming({ui.edWS2812per, ui.edWS2812t0h, ui.edWS2812t1h},
                    {ui.labWS2812per, ui.labWS2812t0h, ui.labWS2812t1h, ui.labWS2812freq});
}

void EditorReadouts::ShowAPA106Timing()
{
    showPulseTiming({ui.edAPA106per, ui.edAPA106t0h, ui.edAPA106t1h},
                    {ui.labAPA106per, ui.labAPA106t0h, ui.labAPA106t1h, ui.labAPA106freq});
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
    // Drawn by the image itself, at the screen's pixel ratio and on the
    // colour of the panel it sits on.
    ui.panImg->showLayout(LastMatrixX, LastMatrixY, ui.cbFirstLed->currentIndex(), ui.cbLedOrder->currentIndex());
}

void EditorReadouts::clear()
{
    for (QLabel *label : {ui.labWS2812per, ui.labWS2812t0h, ui.labWS2812t1h, ui.labWS2812freq, ui.labAPA106per,
                          ui.labAPA106t0h, ui.labAPA106t1h, ui.labAPA106freq, ui.labWS2821bw, ui.labWS2821freq})
        label->setText(kNoValue);
    ui.panImg->showBlank();
}
