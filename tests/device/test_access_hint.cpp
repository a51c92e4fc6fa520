// The permission hint: the facts that decide access, and only the steps
// that apply to them.
#include "device/AccessHint.h"

#include <gtest/gtest.h>

namespace {

struct HintCase {
    const char *rule;
    const char *group;
    bool groupMayWrite;
    QStringList userGroups;
    QStringList says;
    QStringList never;
};

TEST(AccessHint, NamesTheFactsAndOnlyTheStepsThatApply)
{
    const QString install = "is not installed. Install it";
    const QString reload = "replug it, or run";
    const QString join = "usermod -aG";
    const HintCase cases[] = {
        {"", "root", false, {"staff"}, {install}, {reload, join, "is installed"}},
        {"/usr/lib/udev/rules.d/70-corvane.rules", "root", false, {"staff"},
         {"is installed: /usr/lib/udev/rules.d/70-corvane.rules.", reload, "group line"}, {install, join}},
        // The group line in force, the user outside the group.
        {"/etc/udev/rules.d/70-corvane.rules", "plugdev", true, {"staff"},
         {"usermod -aG plugdev ledservice"}, {install, reload}},
        // Inside it, or a group without write access: the rule has not reached the node.
        {"/etc/udev/rules.d/70-corvane.rules", "plugdev", true, {"staff", "plugdev"}, {reload}, {join}},
        {"/etc/udev/rules.d/70-corvane.rules", "plugdev", false, {"staff"}, {reload}, {join}},
    };
    for (const HintCase &c : cases) {
        NodeAccess a{"/dev/hidraw0", "root", c.group, "crw-------", c.groupMayWrite, c.rule, "ledservice", c.userGroups};
        const QString text = noPermissionText(a);
        EXPECT_TRUE(text.startsWith("No permission to open the CORVANE at /dev/hidraw0.\nThe node is crw-------, owner root, group "))
            << text.toStdString();
        EXPECT_TRUE(text.contains("You are ledservice, in the groups " + c.userGroups.join(", ") + "."));
        for (const QString &s : c.says)
            EXPECT_TRUE(text.contains(s)) << s.toStdString() << "\n" << text.toStdString();
        for (const QString &s : c.never)
            EXPECT_FALSE(text.contains(s)) << s.toStdString() << "\n" << text.toStdString();
    }
}

} // namespace
