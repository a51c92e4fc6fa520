#include "core/params/ParamCodec.h"
#include "core/params/ProtocolLimits.h"
#include "core/params/TimingReadouts.h"

#include <gtest/gtest.h>

#include <limits>

namespace {
const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);
const QLocale kGerman(QLocale::German, QLocale::Germany);
} // namespace

// Per LED protocol, index = item of the protocol list: the LEDs of one
// channel (or module) and the channels (or modules) it drives.
TEST(ProtocolLimits, EachProtocolNarrowsItsFields)
{
    const struct {
        int protocol, leds, channels;
    } kLimits[] = {{0, 1024, 8}, {1, 1024, 8}, {2, 170, 8}, {3, 2048, 1}, {4, 2048, 1}, {5, 2048, 1}};
    const struct {
        FieldId id;
        bool leds;
    } kLimited[] = {{FieldId::StripeLedsPerChannel, true}, {FieldId::StripeChannels, false},
                    {FieldId::MatrixModulesX, false}, {FieldId::MatrixModulesY, false}};
    for (const auto &l : kLimits) {
        const auto limits = protocolLimits(l.protocol);
        ASSERT_TRUE(limits) << l.protocol;
        EXPECT_EQ(limits->stripeLabel, QStringLiteral("Max. %1").arg(l.leds));
        EXPECT_EQ(limits->channelLabel, QStringLiteral("Max. %1").arg(l.channels));
        for (const auto &f : kLimited) {
            const ParamField &field = paramField(f.id);
            const int max = f.leds ? l.leds : l.channels;
            EXPECT_TRUE(fieldValueProblem(field, max, l.protocol).isEmpty()) << field.name << ' ' << l.protocol;
            EXPECT_FALSE(fieldValueProblem(field, max + 1, l.protocol).isEmpty()) << field.name << ' ' << l.protocol;
        }
    }
    EXPECT_EQ(fieldValueProblem(paramField(FieldId::StripeLedsPerChannel), 171, 2),
              QStringLiteral("stripe.leds_per_channel takes 1 to 170 with ws2821"));
    // No protocol selected: the limits stay as they were.
    EXPECT_FALSE(protocolLimits(-1));
    EXPECT_FALSE(protocolLimits(6));
}

TEST(ProtocolLimits, ModuleCountAgainstChannels)
{
    // WS2811/12 drives 8 channels: 4 x 2 modules fit, 4 x 3 do not.
    EXPECT_TRUE(matrixModulesFit(4, 2, 8));
    EXPECT_FALSE(matrixModulesFit(4, 3, 8));
    EXPECT_TRUE(matrixModulesFit(1, 1, 1));
    EXPECT_FALSE(matrixModulesFit(2, 1, 1));
    // 65536 x 65536 wraps to 0 in 32 bits.
    EXPECT_FALSE(matrixModulesFit(65536, 65536, 8));
}

// Period, frequency and high times of a pulse timing, halves rounded up,
// in the locale's decimals and with thousands separators even where the
// locale object was told to omit them.
TEST(TimingReadouts, PulseTimingTexts)
{
    QLocale quiet = kEnglish;
    quiet.setNumberOptions(QLocale::OmitGroupSeparator);
    const struct {
        int period, t0h, t1h;
        const QLocale &locale;
        const char *texts; // period, frequency, t0h, t1h
    } kCases[] = {
        {119, 34, 58, kEnglish, "1.25 µs|800 kHz|0.250 µs|0.500 µs"},
        {119, 34, 58, kGerman, "1,25 µs|800 kHz|0,250 µs|0,500 µs"},
        // 18/96 = 0.1875 and 60/96 = 0.625 are exact halves in the last digit.
        {59, 28, 20, kEnglish, "0.63 µs|1,600 kHz|0.188 µs|0.104 µs"},
        {50, 20, 20, kEnglish, "0.53 µs|1,882 kHz|0.104 µs|0.104 µs"},
        {50, 20, 20, kGerman, "0,53 µs|1.882 kHz|0,104 µs|0,104 µs"},
        {50, 20, 20, quiet, "0.53 µs|1,882 kHz|0.104 µs|0.104 µs"},
    };
    for (const auto &c : kCases) {
        const PulseTimingTexts t = pulseTimingTexts(c.period, c.t0h, c.t1h, c.locale);
        EXPECT_EQ(QStringList({t.period, t.frequency, t.t0h, t.t1h}).join('|'), QString::fromUtf8(c.texts));
    }
}

TEST(TimingReadouts, Ws2821BitWidth)
{
    const BitWidthTexts t = bitWidthTexts(191, kEnglish);
    EXPECT_EQ(t.bitWidth, QString::fromUtf8("4.00 µs"));
    EXPECT_EQ(t.frequency, QStringLiteral("250 kBit"));
    const BitWidthTexts fastest = bitWidthTexts(0, kGerman);
    EXPECT_EQ(fastest.bitWidth, QString::fromUtf8("0,02 µs"));
    EXPECT_EQ(fastest.frequency, QStringLiteral("48.000 kBit"));
}

TEST(TimingReadouts, DefaultIsTheUserLocale)
{
    // CTest runs with en_US.
    EXPECT_EQ(bitWidthTexts(191).bitWidth, bitWidthTexts(191, QLocale()).bitWidth);
    EXPECT_EQ(formatGroupedNumber(1024, 0, kEnglish), QStringLiteral("1,024"));
}

TEST(TimingReadouts, CodesOutsideTheRangesDoNotTrap)
{
    EXPECT_FALSE(bitWidthTexts(-1, kEnglish).frequency.isEmpty());
    EXPECT_FALSE(pulseTimingTexts(-1, 0, 0, kEnglish).frequency.isEmpty());
    EXPECT_FALSE(pulseTimingTexts(std::numeric_limits<int>::max(), 0, 0, kEnglish).period.isEmpty());
}
