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

// The option descriptions start in one column, continuation lines included.
TEST(CommandLine, HelpDescriptionsShareOneColumn)
{
    const auto textFrom = [](const QString &line, qsizetype from) {
        while (from < line.size() && line.at(from) == u' ')
            ++from;
        return from;
    };
    for (const QString &line : usageText(QStringLiteral("corvane-config")).split(u'\n')) {
        if (!line.startsWith(QStringLiteral("  ")))
            continue;
        const qsizetype start = textFrom(line, 0);
        const qsizetype gap = line.indexOf(QStringLiteral("  "), start); // after an option
        if (line.at(start) != u'-')
            EXPECT_EQ(start, 28) << line.toStdString();
        else if (gap >= 0)
            EXPECT_EQ(textFrom(line, gap), 28) << line.toStdString();
    }
}
