// Every read-out label is given the width of the widest text it can show,
// over the whole range of its spin edit or every LED protocol.
#include "core/params/ProtocolLimits.h"
#include "core/params/TimingReadouts.h"
#include "ui/editor/ConfigEditorForm.h"
#include "ui_ConfigEditor.h"

#include <gtest/gtest.h>

#include <functional>

TEST(ReadoutRoom, EveryReadoutHasRoomForItsWidestText)
{
    ConfigEditorForm editor;
    const Ui::ConfigEditorForm &ui = editor.form();
    const QLocale l = QLocale::system();
    using Text = std::function<QString(int)>;
    const Text period = [&](int v) { return pulseTimingTexts(v, 20, 20, l).period; };
    const Text frequency = [&](int v) { return pulseTimingTexts(v, 20, 20, l).frequency; };
    const Text t0h = [&](int v) { return pulseTimingTexts(100, v, 20, l).t0h; };
    const Text t1h = [&](int v) { return pulseTimingTexts(100, 20, v, l).t1h; };
    int protocols = 0;
    while (protocolLimits(protocols))
        ++protocols;
    const struct {
        QLabel *label;
        int first, last;
        Text text;
    } rows[] = {
        {ui.labWS2812per, ui.edWS2812per->minimum(), ui.edWS2812per->maximum(), period},
        {ui.labWS2812freq, ui.edWS2812per->minimum(), ui.edWS2812per->maximum(), frequency},
        {ui.labWS2812t0h, ui.edWS2812t0h->minimum(), ui.edWS2812t0h->maximum(), t0h},
        {ui.labWS2812t1h, ui.edWS2812t1h->minimum(), ui.edWS2812t1h->maximum(), t1h},
        {ui.labAPA106per, ui.edAPA106per->minimum(), ui.edAPA106per->maximum(), period},
        {ui.labAPA106freq, ui.edAPA106per->minimum(), ui.edAPA106per->maximum(), frequency},
        {ui.labAPA106t0h, ui.edAPA106t0h->minimum(), ui.edAPA106t0h->maximum(), t0h},
        {ui.labAPA106t1h, ui.edAPA106t1h->minimum(), ui.edAPA106t1h->maximum(), t1h},
        {ui.labWS2821bw, ui.edWS2821bw->minimum(), ui.edWS2821bw->maximum(),
         [&](int v) { return bitWidthTexts(v, l).bitWidth; }},
        {ui.labWS2821freq, ui.edWS2821bw->minimum(), ui.edWS2821bw->maximum(),
         [&](int v) { return bitWidthTexts(v, l).frequency; }},
        {ui.labStripeLeds, 0, protocols - 1, [](int p) { return protocolLimits(p)->stripeLabel; }},
        {ui.labChannels, 0, protocols - 1, [](int p) { return protocolLimits(p)->channelLabel; }},
    };
    for (const auto &row : rows) {
        const QFontMetrics fm = row.label->fontMetrics();
        const auto width = [&](const QString &t) { return fm.size(0, t).width(); };
        int widest = width(row.label->text());
        for (int v = row.first; v <= row.last; ++v)
            widest = std::max(widest, width(row.text(v)));
        EXPECT_EQ(row.label->minimumWidth(), widest) << row.label->objectName().toStdString();
    }
}
