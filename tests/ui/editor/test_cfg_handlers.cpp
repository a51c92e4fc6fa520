// Edits in the editor: packing, protocol limits, the matrix-count undo,
// timing read-outs, change tracking and the auto-send countdown.
#include "CfgTestHost.h"

#include "core/params/MatrixPreview.h"

#include <QTest>

namespace {

class CfgEditTest : public CfgFixture {
protected:
    void SetUp() override
    {
        CfgFixture::SetUp();
        loadSane();
    }
};

// Each edit, made in turn on one load, and the word it leaves.
TEST_F(CfgEditTest, EditsPackIntoTheirWords)
{
    const struct {
        const char *control;
        int to;
        const char *tag;
        uint32_t word;
    } edits[] = {
        {"edKeyBoot", 510, "KTIM", 25u | 150u << 8}, // steps of 20 ms
        {"edKeyMSC", 320, "KTIM", 25u | 16u << 8},
        {"edStartupTime", 5000, "STUP", 0xFF202020u}, // stops at the byte's end
        {"edStartupR", 1, "STUP", 0xFF202001u},
        {"edStartupG", 2, "STUP", 0xFF200201u},
        {"edStartupB", 3, "STUP", 0xFF030201u},
        {"cbLedOrder", 3, "MXOR", 0x33333333u}, // every nibble
        {"cbLedOrder", 1, "MXOR", 0x11111111u},
        {"cbFirstLed", 2, "MBEG", 0x22222222u},
        {"chkMirrorX", 1, "MIRR", 0x100u},
        {"chkStripeMirror", 1, "MIRR", 0x101u},
        {"chkMirrorY", 1, "MIRR", 0x10101u},
        {"cbComProto", 1, "CPRO", 1u},
        {"cbLayout", 1, "LAYO", 1u},
        {"edStripeCount", 300, "SCFG", 300u | 8u << 16},
        {"edMatrixLedX", 255, "MCNT", 255u | 16u << 16},
        {"cbLPD8803clk", 7, "6CFG", 7u},
    };
    for (const auto &e : edits) {
        edit(e.control, e.to);
        EXPECT_EQ(value(e.tag), e.word) << e.control << "=" << e.to;
    }
}

TEST_F(CfgEditTest, ClampedDisplayIsWrittenOnlyAfterAnEdit)
{
    unit->firmware().setParam("BRIG", 250);
    load();
    EXPECT_FALSE(win.send->isEnabled());
    spin("edBright")->setValue(199);
    spin("edBright")->setValue(200);
    EXPECT_EQ(value("BRIG"), 200u);
    EXPECT_TRUE(win.send->isEnabled());
}

TEST_F(CfgEditTest, RangesStopWhereTheDeviceFieldsEnd)
{
    EXPECT_EQ(spin("edStartupTime")->maximum(), 2550);
    EXPECT_EQ(spin("edStartupTime")->singleStep(), 10);
    EXPECT_EQ(spin("edWS2821bw")->maximum(), 255);
    EXPECT_EQ(spin("edMatrixLedX")->maximum(), 255);
    EXPECT_EQ(spin("edMatrixLedY")->maximum(), 255);
}

TEST_F(CfgEditTest, SwitchingToDmxClampsTheStripeCount)
{
    spin("edStripeCount")->setValue(300);
    combo("cbLedProto")->setCurrentIndex(2);
    EXPECT_EQ(spin("edStripeCount")->value(), 170);
    EXPECT_EQ(label("labStripeLeds")->text(), "Max. 170");
    EXPECT_EQ(label("labChannels")->text(), "Max. 8");
}

TEST_F(CfgEditTest, SingleChannelProtocolRewritesStripeAndMatrix)
{
    combo("cbLedProto")->setCurrentIndex(3);
    EXPECT_EQ(label("labStripeLeds")->text(), "Max. 2048");
    EXPECT_EQ(label("labChannels")->text(), "Max. 1");
    EXPECT_EQ(spin("edMatrixX")->maximum(), 1);
}

TEST_F(CfgEditTest, TooManyModulesAreUndoneSilently)
{
    spin("edMatrixX")->setValue(4); // 4 x 2 = 8 channels
    ASSERT_EQ(value("MCHN"), 4u | 2u << 16);
    spin("edMatrixY")->setValue(3);
    EXPECT_EQ(spin("edMatrixY")->value(), 2);
    EXPECT_EQ(spin("edMatrixX")->value(), 4);
    EXPECT_EQ(value("MCHN"), 4u | 2u << 16);
    EXPECT_TRUE(boxes().isEmpty());
}

TEST_F(CfgEditTest, TimingReadoutsFollowTheSpinEdits)
{
    EXPECT_EQ(label("labWS2812per")->text(), "1.25 µs");
    EXPECT_EQ(label("labWS2812freq")->text(), "800 kHz");
    EXPECT_EQ(label("labWS2821bw")->text(), "4.00 µs");
    EXPECT_EQ(label("labWS2821freq")->text(), "250 kBit");
    EXPECT_EQ(label("labAPA106per")->text(), "1.71 µs");

    spin("edWS2812t0h")->setValue(58); // 48 ticks
    EXPECT_EQ(label("labWS2812t0h")->text(), "0.500 µs");
    EXPECT_EQ(value("1CFG"), 119u | 58u << 8 | 77u << 16);
    spin("edWS2821bw")->setValue(95);
    EXPECT_EQ(label("labWS2821bw")->text(), "2.00 µs");
    EXPECT_EQ(label("labWS2821freq")->text(), "500 kBit");
    EXPECT_TRUE(win.send->isEnabled());
}

TEST_F(CfgEditTest, ChangingBackClearsTheChangeAndStopsTheCountdown)
{
    win.autoSend->setChecked(true);
    spin("edBright")->setValue(120);
    EXPECT_TRUE(win.send->isEnabled());
    EXPECT_EQ(win.bar->currentMessage(), "Parameter changed");
    spin("edBright")->setValue(100);
    EXPECT_FALSE(win.send->isEnabled());
    EXPECT_TRUE(win.bar->currentMessage().isEmpty());
    EXPECT_FALSE(cfg.SaveTimer().isActive());
}

TEST_F(CfgEditTest, AutoSendCountdownRestartsAtEveryChange)
{
    win.autoSend->setChecked(true);
    spin("edBright")->setValue(120);
    ASSERT_TRUE(cfg.SaveTimer().isActive());
    EXPECT_EQ(cfg.SaveTimer().interval(), 10000);
    QTest::qWait(60);
    const int before = cfg.SaveTimer().remainingTime();
    spin("edBright")->setValue(121);
    EXPECT_GT(cfg.SaveTimer().remainingTime(), before);

    // The box is consulted only at the next change.
    win.autoSend->setChecked(false);
    EXPECT_TRUE(cfg.SaveTimer().isActive());
    spin("edBright")->setValue(122);
    EXPECT_FALSE(cfg.SaveTimer().isActive());
}

TEST_F(CfgEditTest, ExpiredCountdownSends)
{
    win.autoSend->setChecked(true);
    spin("edBright")->setValue(120);
    // Shorten the armed countdown rather than wait ten seconds.
    const_cast<QTimer &>(cfg.SaveTimer()).start(1);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !writtenTags().isEmpty(); }));
    EXPECT_EQ(writtenTags(), QStringList{"BRIG"});
    EXPECT_FALSE(cfg.SaveTimer().isActive());
    EXPECT_FALSE(win.send->isEnabled());
}

TEST_F(CfgEditTest, SendButtonRunsTheSendOnce)
{
    spin("edBright")->setValue(120);
    spin("edBright")->setValue(130); // a second CheckChanged must not connect again
    win.send->click();
    EXPECT_EQ(writtenTags(), QStringList{"BRIG"});
    EXPECT_EQ(unit->firmware().param("BRIG"), 130u);
    EXPECT_FALSE(win.send->isEnabled());
}

// The preview shows where each module's first LED sits.
TEST_F(CfgEditTest, PreviewMarksTheFirstLed)
{
    auto redAt = [this](const QRect &r) {
        const QImage img = label("panImg")->pixmap().toImage();
        return img.pixelColor(r.topLeft()) == QColor(Qt::red)
            && img.pixelColor(r.bottomRight()) == QColor(Qt::red);
    };
    const auto g = computeMatrixPreview(kPreviewWidth, kPreviewHeight, 2, 2, 0, 1);
    ASSERT_EQ(g.cells.size(), 4);
    EXPECT_TRUE(redAt(*g.cells[3].mark));

    combo("cbFirstLed")->setCurrentIndex(3);
    const auto moved = computeMatrixPreview(kPreviewWidth, kPreviewHeight, 2, 2, 3, 1);
    EXPECT_TRUE(redAt(*moved.cells[0].mark));
    EXPECT_FALSE(redAt(*g.cells[0].mark));

    spin("edMatrixX")->setValue(3);
    const auto wider = computeMatrixPreview(kPreviewWidth, kPreviewHeight, 3, 2, 3, 1);
    EXPECT_TRUE(redAt(*wider.cells[5].mark));
    const QImage img = label("panImg")->pixmap().toImage();
    EXPECT_EQ(img.size(), QSize(380, 236));
    EXPECT_EQ(img.pixelColor(0, 0), ConfigEditorForm::previewBackground());
}

} // namespace
