// Command-line syntax: values, tag lists and usage errors, which are all
// refused before any controller is touched.
#include "CliTestSupport.h"

#include "cli/CliExit.h"
#include "cli/CliFieldArgs.h"
#include "device/SimUnit.h"

#include <gtest/gtest.h>

TEST(CliParamValue, AcceptsDecimalAndHexUpTo32Bits)
{
    uint32_t v = 0;
    EXPECT_TRUE(parseParamValue(QStringLiteral("150"), &v));
    EXPECT_EQ(v, 150u);
    EXPECT_TRUE(parseParamValue(QStringLiteral("0xFF000000"), &v));
    EXPECT_EQ(v, 0xFF000000u);
    EXPECT_TRUE(parseParamValue(QStringLiteral("0X1f"), &v));
    EXPECT_EQ(v, 0x1Fu);
    EXPECT_TRUE(parseParamValue(QStringLiteral("4294967295"), &v));
    EXPECT_EQ(v, 0xFFFFFFFFu);
}

TEST(CliParamValue, RefusesWhatIsNotAnUnsigned32BitNumber)
{
    uint32_t v = 7;
    for (const char *bad : {"4294967296", "0x100000000", "-1", "+5", " 5", "5 ", "", "0x", "12a", "0xG1", "1e3",
                            "0x-1", "0x 1", "1\u00b9"})
        EXPECT_FALSE(parseParamValue(QString::fromUtf8(bad), &v)) << bad;
    EXPECT_EQ(v, 7u);
}

// Every usage error exits 2 with one line of reason and a pointer to the
// help, and sends nothing to the controller.
class CliUsage : public ::testing::TestWithParam<QStringList> {};

TEST_P(CliUsage, ExitsTwoWithoutTouchingTheController)
{
    SimBus bus;
    bus.addSane(1);
    const CliRunResult r = RunCliArgs(GetParam(), &bus);
    EXPECT_EQ(r.code, 2);
    const QStringList lines = r.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << r.err.toStdString();
    EXPECT_TRUE(lines[0].startsWith(QLatin1String("corvane-cli: "))) << r.err.toStdString();
    EXPECT_EQ(lines[1], QStringLiteral("Try 'corvane-cli --help' for more information."));
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(bus.units().first()->received().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Errors, CliUsage,
    ::testing::Values(QStringList{}, QStringList{QStringLiteral("frobnicate")},
                      QStringList{QStringLiteral("--bogus"), QStringLiteral("list")},
                      QStringList{QStringLiteral("--device")},
                      QStringList{QStringLiteral("--simulate=0"), QStringLiteral("list")},
                      QStringList{QStringLiteral("get"), QStringLiteral("brgt")},
                      QStringList{QStringLiteral("-v"), QStringLiteral("set"), QStringLiteral("BRIG=10")},
                      QStringList{QStringLiteral("--version"), QStringLiteral("list")},
                      QStringList{QStringLiteral("--dry-run"), QStringLiteral("restart")},
                      QStringList{QStringLiteral("set"), QStringLiteral("BRIG=4294967296")},
                      QStringList{QStringLiteral("set"), QStringLiteral("LMAX=1")},
                      QStringList{QStringLiteral("set")},
                      QStringList{QStringLiteral("set"), QStringLiteral("BRIG")},
                      QStringList{QStringLiteral("set"), QStringLiteral("BRIG=1"), QStringLiteral("BRIG=2")},
                      QStringList{QStringLiteral("save-profile")},
                      QStringList{QStringLiteral("load-profile"), QStringLiteral("a"), QStringLiteral("b")},
                      QStringList{QStringLiteral("restart"), QStringLiteral("now")},
                      QStringList{QStringLiteral("set"), QStringLiteral("brightness_percent=201")},
                      QStringList{QStringLiteral("set"), QStringLiteral("led.protocol=ws2812")},
                      QStringList{QStringLiteral("set"), QStringLiteral("SCFG=0x1080200")},
                      QStringList{QStringLiteral("set"), QStringLiteral("SCFG=1"), QStringLiteral("stripe.channels=2")},
                      QStringList{QStringLiteral("set"), QStringLiteral("capacity=1")},
                      QStringList{QStringLiteral("--raw"), QStringLiteral("get")},
                      QStringList{QStringLiteral("--all"), QStringLiteral("save-profile"), QStringLiteral("x")},
                      QStringList{QStringLiteral("--all"), QStringLiteral("--device"), QStringLiteral("SIM0001"), QStringLiteral("info")},
                      QStringList{QStringLiteral("--simulate-faults=SIM0009:never-ready"), QStringLiteral("list")},
                      QStringList{QStringLiteral("--simulate-faults=SIM0001:explode"), QStringLiteral("list")}),
    [](const ::testing::TestParamInfo<QStringList> &info) {
        // Readable names: the arguments with everything but letters and digits as '_'.
        std::string name = "n" + std::to_string(info.index);
        for (const QChar c : info.param.join(QLatin1Char(' ')))
            name += c.isLetterOrNumber() && c.unicode() < 128 ? char(c.unicode()) : '_';
        return name;
    });

TEST(CliUsageText, UnknownTagNamesAllValidTags)
{
    SimBus bus;
    bus.addSane(1);
    const CliRunResult r = RunCliArgs({QStringLiteral("set"), QStringLiteral("BRGT=1")}, &bus);
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.contains(QLatin1String(
        "valid tags: LMAX KTIM STUP CPRO LPRO LAYO BRIG COL0 COL1 MIRR SCFG MCHN MCNT MXOR MBEG "
        "1CFG 2CFG 3CFG 4CFG 5CFG 6CFG")))
        << r.err.toStdString();
}

TEST(CliUsageText, JsonReportsTheUsageErrorAsADocumentNamingTheField)
{
    SimBus bus;
    bus.addSane(1);
    const CliRunResult r = RunCliArgs({"--json", "set", "BRIGHTNESS_percent=999"}, &bus);
    EXPECT_EQ(r.code, 2);
    const QJsonObject doc = r.json();
    EXPECT_EQ(doc.value("exit_code").toInt(), 2);
    EXPECT_EQ(doc.value("command").toString(), "set");
    EXPECT_EQ(doc["error"].toObject().value("code").toString(), "usage");
    EXPECT_EQ(doc["error"].toObject().value("field").toString(), "brightness_percent");
}

TEST(CliUsageText, VersionAloneAsVOrCapitalV)
{
    for (const char *option : {"-v", "-V", "--version"}) {
        const CliRunResult r = RunCliArgs({option});
        EXPECT_EQ(r.code, 0);
        EXPECT_TRUE(r.out.startsWith("corvane-cli v")) << option;
    }
}

TEST(CliUsageText, HelpGoesToStandardOutput)
{
    const CliRunResult r = RunCliArgs({QStringLiteral("--help")});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.out.startsWith(QLatin1String("Usage: corvane-cli")));
}

TEST(CliErrorCodes, FollowTheResultsKindAndStatus)
{
    const auto failed = [](uint16_t status) { return SessionResult::failed("x", status); };
    const std::pair<SessionResult, const char *> cases[] = {
        {SessionResult::inUse("x"), "in_use"}, {SessionResult::invalid("x"), "refused"},
        {failed(0x80C0), "refused"},           {failed(0x80C8), "refused"},
        {failed(0x80BF), "communication"},     {failed(0x80C9), "communication"},
        {{SessionResult::Kind::LoadFailed, 0xE000, "x", {}}, "communication"},
        {failed(0), "file"}, // a failure without a status is what the caller says
    };
    for (const auto &[result, code] : cases)
        EXPECT_STREQ(errorCode(CliOutcome(result, CliError::File).error), code) << result.status;
}
