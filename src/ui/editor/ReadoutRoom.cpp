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

// The widest text of a read-out of the same length and punctuation: every
// digit drawn as the font's widest digit. Fonts with digits of one width
// (most user-interface fonts) give the text's own width.
class WidestDigits
{
public:
    WidestDigits(const QFontMetrics &fm, const QLocale &locale)
        : m_fm(fm)
    {
        for (int d = 0; d < 10; ++d) {
            m_digits[d] = locale.toString(d);
            if (fm.horizontalAdvance(m_digits[d]) > fm.horizontalAdvance(m_widest))
                m_widest = m_digits[d];
        }
    }

    int width(QString text) const
    {
        for (const QString &digit : m_digits)
            text.replace(digit, m_widest);
        return textWidth(m_fm, text);
    }

private:
    const QFontMetrics &m_fm;
    QString m_digits[10];
    QString m_widest;
};

// The widest text `textOf` gives for any value of the spin edit. A read-out
// grows and shrinks with its value, so its longest texts are those at the
// ends of the range; only their length and punctuation matter.
int widestOver(const QSpinBox *spin, const WidestDigits &measure, const std::function<QString(int)> &textOf)
{
    return std::max(measure.width(textOf(spin->minimum())), measure.width(textOf(spin->maximum())));
}

void reserve(QLabel *label, int width)
{
    label->setMinimumWidth(std::max(width, textWidth(label->fontMetrics(), label->text())));
}

void reservePulseGroup(QSpinBox *period, QSpinBox *t0h, QLabel *labPer, QLabel *labFreq, QLabel *labT0h,
                       QLabel *labT1h, const QLocale &locale)
{
    const QFontMetrics fm = labPer->fontMetrics();
    const WidestDigits measure(fm, locale);
    reserve(labPer, widestOver(period, measure, [&](int v) { return pulseTimingTexts(v, v, v, locale).period; }));
    reserve(labFreq,
            widestOver(period, measure, [&](int v) { return pulseTimingTexts(v, v, v, locale).frequency; }));
    const int high = widestOver(t0h, measure, [&](int v) { return pulseTimingTexts(v, v, v, locale).t0h; });
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
    const WidestDigits measure(fm, locale);
    reserve(ui.labWS2821bw,
            widestOver(ui.edWS2821bw, measure, [&](int v) { return bitWidthTexts(v, locale).bitWidth; }));
    reserve(ui.labWS2821freq,
            widestOver(ui.edWS2821bw, measure, [&](int v) { return bitWidthTexts(v, locale).frequency; }));

    int stripe = 0, channels = 0;
    for (int proto = 0; const auto limits = protocolLimits(proto); ++proto) {
        stripe = std::max(stripe, textWidth(ui.labStripeLeds->fontMetrics(), limits->stripeLabel));
        channels = std::max(channels, textWidth(ui.labChannels->fontMetrics(), limits->channelLabel));
    }
    reserve(ui.labStripeLeds, stripe);
    reserve(ui.labChannels, channels);
}
