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
    : m_ui(ui)
{
}

void EditorReadouts::SetProtocolLimits()
{
    const auto limits = protocolLimits(m_ui.cbLedProto->currentIndex());
    if (!limits)
        return;
    // In this order: a clamp of a bound control runs its handler at once,
    // and the module count is checked against the channel maximum already set.
    m_ui.labStripeLeds->setText(limits->stripeLabel);
    m_ui.edStripeCount->setMaximum(limits->stripeMax);
    m_ui.labChannels->setText(limits->channelLabel);
    for (QSpinBox *spin : {m_ui.edStripeChannels, m_ui.edMatrixX, m_ui.edMatrixY})
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
    showPulseTiming({m_ui.edWS2812per, m_ui.edWS2812t0h, m_ui.edWS2812t1h},
                    {m_ui.labWS2812per, m_ui.labWS2812t0h, m_ui.labWS2812t1h, m_ui.labWS2812freq});
}

void EditorReadouts::ShowAPA106Timing()
{
    showPulseTiming({m_ui.edAPA106per, m_ui.edAPA106t0h, m_ui.edAPA106t1h},
                    {m_ui.labAPA106per, m_ui.labAPA106t0h, m_ui.labAPA106t1h, m_ui.labAPA106freq});
}

void EditorReadouts::ShowWS2821Timing()
{
    const BitWidthTexts t = bitWidthTexts(m_ui.edWS2821bw->value(), QLocale::system());
    m_ui.labWS2821bw->setText(t.bitWidth);
    m_ui.labWS2821freq->setText(t.frequency);
}

void EditorReadouts::DrawMatrixPreview()
{
    LastMatrixX = m_ui.edMatrixX->value();
    LastMatrixY = m_ui.edMatrixY->value();
    // Drawn by the image itself, at the screen's pixel ratio and on the
    // colour of the panel it sits on.
    m_ui.panImg->showLayout(LastMatrixX, LastMatrixY, m_ui.cbFirstLed->currentIndex(), m_ui.cbLedOrder->currentIndex());
}

void EditorReadouts::clear()
{
    for (QLabel *label : {m_ui.labWS2812per, m_ui.labWS2812t0h, m_ui.labWS2812t1h, m_ui.labWS2812freq, m_ui.labAPA106per,
                          m_ui.labAPA106t0h, m_ui.labAPA106t1h, m_ui.labAPA106freq, m_ui.labWS2821bw, m_ui.labWS2821freq})
        label->setText(kNoValue);
    m_ui.panImg->showBlank();
}
