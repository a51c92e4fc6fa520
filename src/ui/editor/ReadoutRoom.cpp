#include "ui/editor/ReadoutRoom.h"
#include "ui_ConfigEditor.h"

#include "core/params/ProtocolLimits.h"
#include "core/params/TimingReadouts.h"

#include <QFontMetrics>
#include <QLocale>

#include <algorithm>
#include <functional>

namespace {

// Measured as a label measures its text: the advance alone can fall a
// pixel short of it at some font sizes.
int textWidth(const QFontMetrics &fm, const QString &text)
{
    return fm.size(0, text).width();
}

// The widest text `textOf` gives for any value of the spin edit.
int widestOver(const QSpinBox *spin, const QFontMetrics &fm, const std::function<QString(int)> &textOf)
{
    int widest = 0;
    for (int v = spin->minimum(); v <= spin->maximum(); ++v)
        widest = std::max(widest, textWidth(fm, textOf(v)));
    return widest;
}

void reserve(QLabel *label, int width)
{
    label->setMinimumWidth(std::max(width, textWidth(label->fontMetrics(), label->text())));
}

void reservePulseGroup(QSpinBox *period, QSpinBox *t0h, QLabel *labPer, QLabel *labFreq, QLabel *labT0h,
                       QLabel *labT1h, const QLocale &locale)
{
    const QFontMetrics fm = labPer->fontMetrics();
    reserve(labPer, widestOver(period, fm, [&](int v) { return pulseTimingTexts(v, 20, 20, locale).period; }));
    reserve(labFreq, widestOver(period, fm, [&](int v) { return pulseTimingTexts(v, 20, 20, locale).frequency; }));
    const int high = widestOver(t0h, fm, [&](int v) { return pulseTimingTexts(100, v, v, locale).t0h; });
    reserve(labT0h, high);
    reserve(labT1h, high);
}

} // namespace

void reserveReadoutRoom(Ui::ConfigEditorForm &ui)
{
    // The read-outs use the user's number format, whatever the language.
    const QLocale locale = QLocale::system();
    reservePulseGroup(ui.edWS2812per, ui.edWS2812t0h, ui.labWS2812per, ui.labWS2812freq, ui.labWS2812t0h,
                      ui.labWS2812t1h, locale);
    reservePulseGroup(ui.edAPA106per, ui.edAPA106t0h, ui.labAPA106per, ui.labAPA106freq, ui.labAPA106t0h,
                      ui.labAPA106t1h, locale);
    const QFontMetrics fm = ui.labWS2821bw->fontMetrics();
    reserve(ui.labWS2821bw, widestOver(ui.edWS2821bw, fm, [&](int v) { return bitWidthTexts(v, locale).bitWidth; }));
    reserve(ui.labWS2821freq,
            widestOver(ui.edWS2821bw, fm, [&](int v) { return bitWidthTexts(v, locale).frequency; }));

    int stripe = 0, channels = 0;
    for (int proto = 0; const auto limits = protocolLimits(proto); ++proto) {
        stripe = std::max(stripe, textWidth(ui.labStripeLeds->fontMetrics(), limits->stripeLabel));
        channels = std::max(channels, textWidth(ui.labChannels->fontMetrics(), limits->channelLabel));
    }
    reserve(ui.labStripeLeds, stripe);
    reserve(ui.labChannels, channels);
}
