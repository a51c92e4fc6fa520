// The one rule every change goes through, whichever front end asks.
#include "SessionFixture.h"

using F = FieldId;
using T = ParamTag;

namespace {

struct Case {
    const char *name;
    QList<FieldChange> fields;
    QList<WordChange> words;
    WordCheck check;
    QList<F> refused;
    QList<std::tuple<F, int64_t, int64_t>> adjusted; // field, from, to
    QList<std::pair<T, uint32_t>> after;             // words the session then holds
    bool overCapacity = false;
};

// From factory settings: WS2811/12, stripe 512 x 8, matrix 2 x 2 modules of
// 16 x 16 LEDs, capacity 4096.
const Case kCases[] = {
    {"BrightnessAtItsMaximum", {{F::BrightnessPercent, 200}}, {}, WordCheck::Fields, {}, {}, {{T::BRIG, 200}}},
    {"BrightnessOverItsMaximum", {{F::BrightnessPercent, 201}}, {}, WordCheck::Fields, {F::BrightnessPercent}, {}, {{T::BRIG, 100}}},
    {"ListIndexEqualToItsCount", {{F::Ws2801Clock, 8}}, {}, WordCheck::Fields, {F::Ws2801Clock}, {}, {{T::CFG4, 2}}},
    {"ProtocolLowersTheCountInUse", {{F::LedProtocol, 2}}, {}, WordCheck::Fields, {},
     {{F::StripeLedsPerChannel, 512, 170}}, {{T::LPRO, 2}, {T::SCFG, 170 | 8 << 16}}},
    {"ProtocolAdjustsTheLayoutNotInUse",
     {{F::StripeLedsPerChannel, 300}, {F::StripeChannels, 1}, {F::LedProtocol, 4}}, {}, WordCheck::Fields, {},
     {{F::MatrixModulesX, 2, 1}, {F::MatrixModulesY, 2, 1}}, {{T::SCFG, 300 | 1 << 16}, {T::MCHN, 1 | 1 << 16}}},
    {"CountAtTheProtocolLimit", {{F::LedProtocol, 2}, {F::StripeLedsPerChannel, 170}}, {}, WordCheck::Fields, {}, {},
     {{T::SCFG, 170 | 8 << 16}}},
    {"CountOverTheProtocolLimit", {{F::LedProtocol, 2}, {F::StripeLedsPerChannel, 171}}, {}, WordCheck::Fields,
     {F::StripeLedsPerChannel}, {}, {{T::LPRO, 0}, {T::SCFG, 512 | 8 << 16}}},
    {"ModulesFillingTheChannels", {{F::MatrixModulesX, 4}}, {}, WordCheck::Fields, {}, {}, {{T::MCHN, 4 | 2 << 16}}},
    {"ModulesBeyondTheChannels", {{F::MatrixModulesX, 5}}, {}, WordCheck::Fields, {F::MatrixModulesX}, {},
     {{T::MCHN, 2 | 2 << 16}}},
    {"TimeBetweenTheControllersSteps", {{F::KeysBootloaderMs, 510}}, {}, WordCheck::Fields, {},
     {{F::KeysBootloaderMs, 510, 500}}, {{T::KTIM, 25 | 150 << 8}}},
    {"ColourOrderChangesItsHalfOnly", {{F::Channel6ColorOrder, 2}}, {}, WordCheck::Fields, {}, {},
     {{T::COL0, 0x05050505}, {T::COL1, 0x05050205}}},
    {"StripeEqualToTheCapacity", {{F::StripeLedsPerChannel, 1024}, {F::StripeChannels, 4}}, {}, WordCheck::Fields,
     {}, {}, {{T::SCFG, 1024 | 4 << 16}}},
    {"StripeOverTheCapacity", {{F::StripeLedsPerChannel, 1024}, {F::StripeChannels, 5}}, {}, WordCheck::Fields, {},
     {}, {{T::SCFG, 1024 | 5 << 16}}, true},
    {"WordOutsideItsFields", {}, {{T::BRIG, 0x100}}, WordCheck::Fields, {F::BrightnessPercent}, {}, {{T::BRIG, 100}}},
    {"RawWordTakenAsItIs", {}, {{T::BRIG, 0x100}}, WordCheck::Raw, {}, {}, {{T::BRIG, 0x100}}},
    {"CapacityIsTheControllers", {}, {{T::LMAX, 1}}, WordCheck::Raw, {F::Capacity}, {}, {{T::LMAX, 4096}}},
};

class SessionSetFields : public SessionTest, public ::testing::WithParamInterface<Case> {};

} // namespace

TEST_P(SessionSetFields, JudgesTheWholeChange)
{
    const Case &c = GetParam();
    open();
    const FieldsResult r = session.setFields(c.fields, c.words, c.check);
    QList<F> refused;
    for (const FieldRefusal &x : r.refused)
        refused << x.field;
    EXPECT_EQ(refused, c.refused);
    QList<std::tuple<F, int64_t, int64_t>> adjusted;
    for (const FieldAdjustment &a : r.adjusted)
        adjusted << std::tuple{a.field, a.from, a.to};
    EXPECT_EQ(adjusted, c.adjusted);
    for (const auto &[tag, expected] : c.after)
        EXPECT_EQ(word(tag), expected) << tagCode(tag);
    EXPECT_EQ(!r.arrangementProblem.isEmpty(), c.overCapacity) << r.arrangementProblem.toStdString();
    if (!r.ok()) {
        EXPECT_FALSE(session.changed()) << "a refusal leaves the session as it was";
    }
    EXPECT_TRUE(unit->received().isEmpty()) << "judging a change talks to no controller";
}

INSTANTIATE_TEST_SUITE_P(Rules, SessionSetFields, ::testing::ValuesIn(kCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(SessionTest, SessionSetFieldsInAnyOrderGiveTheSameResult)
{
    open();
    const QList<FieldChange> changes{{F::StripeLedsPerChannel, 300}, {F::StripeChannels, 1}, {F::LedProtocol, 4}};
    const FieldsResult forward = session.setFields(changes);
    const QList<TCfgData> first = session.params();
    open(SimControllerModel::sane(2));
    const FieldsResult backward = session.setFields({changes[2], changes[1], changes[0]});
    ASSERT_TRUE(forward.ok() && backward.ok());
    EXPECT_EQ(session.params(), first);
    EXPECT_EQ(forward.adjusted.size(), backward.adjusted.size());
}

TEST_F(SessionTest, SessionSetFieldsOverCapacityIsRefusedAtTheSendWithNothingWritten)
{
    open();
    session.setFields({{F::StripeLedsPerChannel, 1024}});
    const SessionResult r = session.writeChanged(session.ticket());
    EXPECT_EQ(r.message, QStringLiteral("Too many LEDs in stripe config (max. 4096)"));
    EXPECT_TRUE(writtenTags().isEmpty());
    EXPECT_TRUE(session.changed()) << "the change is still pending";
}
