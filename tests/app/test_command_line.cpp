// What the window program takes from its arguments, both sides of each rule.
#include "app/CommandLine.h"

#include <gtest/gtest.h>

TEST(CommandLine, DeveloperCodeAloneAndSimulatedCountsInRange)
{
    const struct {
        QStringList args;
        bool developer;
        int simulate;
        bool error;
    } cases[] = {
        {{kDeveloperCode}, true, 0, false},
        {{kDeveloperCode, "--trace"}, false, 0, false},
        {{"--trace"}, false, 0, false},
        {{}, false, 0, false},
        {{"--simulate"}, false, 1, false},
        {{"--simulate=16"}, false, 16, false},
        {{"--simulate=17"}, false, 0, true},
        {{"--simulate=0"}, false, 0, true},
        {{"--simulate-faults", "SIM0001:never-ready"}, false, 0, true},
    };
    for (const auto &c : cases) {
        const CommandLine parsed = CommandLine::parse(QStringList{"corvane-config"} + c.args);
        const std::string shown = c.args.join(' ').toStdString();
        EXPECT_EQ(parsed.developerMode, c.developer) << shown;
        EXPECT_EQ(parsed.simulate, c.simulate) << shown;
        EXPECT_EQ(!parsed.error.isEmpty(), c.error) << shown;
    }
}
