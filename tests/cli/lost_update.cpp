// Two programs change one controller at the same time, each a real
// corvane-cli: against a simulated controller kept in a state file, three of
// them with --all, and one emulated behind /dev/hidraw0 for the real hidapi.
// However the two interleave, each controller ends as if they had run one
// after the other.
#include "emulated/EmulatedCorvane.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

#include <unistd.h>

namespace {

// One simulated controller, one emulated, or three simulated for --all.
struct Controllers {
    const char *name;
    bool emulated;
    int fleet;
};

class LostUpdate : public ::testing::TestWithParam<Controllers> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        // More pairs for a measurement by hand.
        pairs = qEnvironmentVariableIntValue("CORVANE_LOST_UPDATE_PAIRS");
        if (pairs <= 0)
            pairs = 50;
        if (const int fleet = GetParam().fleet; !GetParam().emulated) {
            simulate = {QStringLiteral("--simulate=%1").arg(qMax(1, fleet)), "--simulate-state", dir.filePath("state.json")};
            if (fleet)
                each = {"--all"};
            return;
        }
        // The programs find the testbed through UMOCKDEV_DIR and the
        // preload this binary runs with (as CTest runs it), both inherited;
        // without it they would reach the machine's real hidraw nodes.
        if (!EmulatedCorvane::PreloadLoaded())
            GTEST_SKIP() << "run under umockdev's preload (LD_PRELOAD=libumockdev-preload.so.0)";
        emulated = std::make_unique<EmulatedCorvane>();
        emulated->Plug(SimControllerModel::sane(1));
    }

    std::unique_ptr<QProcess> start(const QStringList &args, const QByteArray &input = {})
    {
        auto p = std::make_unique<QProcess>();
        p->start(QStringLiteral(CORVANE_CLI_PATH), simulate + args);
        p->write(input);
        p->closeWriteChannel();
        return p;
    }

    // Standard output of a command that must succeed.
    static QByteArray finish(QProcess &p)
    {
        EXPECT_TRUE(p.waitForFinished(20000)) << p.errorString().toStdString();
        EXPECT_EQ(p.exitCode(), 0) << p.arguments().join(' ').toStdString() << ": "
                                   << p.readAllStandardError().constData();
        return p.readAllStandardOutput();
    }

    QByteArray run(const QStringList &args) { return finish(*start(args)); }

    // Both commands at once; each must succeed. Then the word as it ends.
    // The emulated controller's replies pass through this process's testbed
    // thread, which a loaded machine can delay past the reply timeout: such
    // a pair says nothing about lost updates and comes back empty.
    QByteArray race(const QStringList &first, const QStringList &second, const QByteArray &input = {})
    {
        const auto a = start(each + first, input);
        const auto b = start(each + second);
        if (emulated) {
            const bool done = a->waitForFinished(20000) && b->waitForFinished(20000);
            if (!done || a->exitCode() != 0 || b->exitCode() != 0) {
                ++timedOut;
                return {};
            }
        } else {
            finish(*a);
            finish(*b);
        }
        return run(each + QStringList{"get", "startup.red", "startup.green", "startup.blue"});
    }

    void TearDown() override { EXPECT_LE(timedOut, pairs / 5) << "too few pairs got through"; }

    // What get shows when every controller holds these colours.
    QByteArray rgb(int red, int green, int blue) const
    {
        const QByteArray one = QStringLiteral("startup.red=%1\nstartup.green=%2\nstartup.blue=%3\n").arg(red).arg(green).arg(blue).toLatin1();
        if (each.isEmpty())
            return one;
        QByteArray all;
        for (int i = 1; i <= GetParam().fleet; ++i)
            all += "[SIM000" + QByteArray::number(i) + "]\n" + one;
        return all;
    }

    QTemporaryDir dir;
    QStringList simulate;
    QStringList each; // --all, or nothing for the one controller
    std::unique_ptr<EmulatedCorvane> emulated;
    int pairs = 0;
    int timedOut = 0;
};

TEST_P(LostUpdate, TwoSetsOfOneWordKeepBothFields)
{
    int lost = 0;
    for (int i = 0; i < pairs; ++i) {
        const int red = i % 200, green = 255 - i % 200;
        const QByteArray word = race({"set", QStringLiteral("startup.red=%1").arg(red)},
                                     {"set", QStringLiteral("startup.green=%1").arg(green)});
        if (word.isEmpty())
            continue;
        lost += word != rgb(red, green, 32);
        EXPECT_EQ(word, rgb(red, green, 32)) << "pair " << i;
    }
    EXPECT_EQ(lost, 0) << "of " << pairs;
}

// The profile gives the whole word; the set's red is either overwritten by
// it (set first) or put on top of it (profile first), never dropped into a
// word the profile never wrote.
TEST_P(LostUpdate, ProfileRacingASetEndsInOneSerialOrder)
{
    const QByteArray saved = run({"--device", "SIM0001", "save-profile", "-"});
    const qsizetype at = saved.indexOf("\nSTUP=");
    ASSERT_GT(at, 0) << saved.constData();
    int mixed = 0;
    for (int i = 0; i < pairs; ++i) {
        const int red = i % 200, green = 100 + i % 100, blue = 200 - i % 100, set = 255 - i % 50;
        const QByteArray profile = QByteArray(saved).replace(at + 6, saved.indexOf('\n', at + 1) - at - 6,
                                                             QByteArray::number(0x32000000 | blue << 16 | green << 8 | red));
        const QByteArray word = race({"load-profile", "-"}, {"set", QStringLiteral("startup.red=%1").arg(set)}, profile);
        if (word.isEmpty())
            continue;
        mixed += word != rgb(red, green, blue) && word != rgb(set, green, blue);
        EXPECT_TRUE(word == rgb(red, green, blue) || word == rgb(set, green, blue)) << "pair " << i << ":\n" << word.constData();
    }
    EXPECT_EQ(mixed, 0) << "of " << pairs;
}

// Where every place for the locks is open to other users, commands still
// run, on any number of controllers, and say so once, --verbose or not.
TEST(ControllerLocks, WorkingWithoutThemIsSaidOnce)
{
    QTemporaryDir dir;
    for (const QString &open : {dir.filePath("home"), dir.filePath("tmp/corvane-%1").arg(::getuid())}) {
        ASSERT_TRUE(QDir().mkpath(open));
        ASSERT_TRUE(QFile::setPermissions(open, QFileDevice::Permissions(0x7777)));
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("XDG_RUNTIME_DIR");
    env.insert("HOME", dir.filePath("home"));
    env.insert("TMPDIR", dir.filePath("tmp"));
    for (const QStringList &verbose : {QStringList{}, QStringList{"--verbose"}}) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(CORVANE_CLI_PATH), verbose + QStringList{"--simulate=3", "--simulate-state", dir.filePath("s.json"),
                                                                        "--all", "set", "startup.red=7"});
        ASSERT_TRUE(p.waitForFinished(20000));
        const QByteArray err = p.readAllStandardError();
        EXPECT_EQ(p.exitCode(), 0) << err.constData();
        EXPECT_EQ(err.count("No private folder for controller locks, working without them: "), 1) << err.constData();
    }
}

INSTANTIATE_TEST_SUITE_P(Controllers, LostUpdate,
                         ::testing::Values(Controllers{"Simulated", false, 0}, Controllers{"Emulated", true, 0},
                                           Controllers{"SimulatedFleet", false, 3}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
