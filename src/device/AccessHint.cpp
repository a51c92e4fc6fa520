#include "device/AccessHint.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace {
const QString kRuleName = QStringLiteral("70-corvane.rules");
const QString kReload = QStringLiteral("\"udevadm control --reload-rules && udevadm trigger\"");

QString userName(uid_t uid)
{
    const passwd *pw = ::getpwuid(uid);
    return pw ? QString::fromLocal8Bit(pw->pw_name) : QString::number(uid);
}

QString groupName(gid_t gid)
{
    const group *gr = ::getgrgid(gid);
    return gr ? QString::fromLocal8Bit(gr->gr_name) : QString::number(gid);
}

QString modeText(mode_t mode)
{
    QString text = S_ISCHR(mode) ? QStringLiteral("c") : QStringLiteral("-");
    const char *letters = "rwx";
    for (int bit = 8; bit >= 0; --bit)
        text += (mode & (1u << bit)) ? QLatin1Char(letters[(8 - bit) % 3]) : QLatin1Char('-');
    return text;
}

QStringList userGroups()
{
    QStringList names{groupName(::getegid())};
    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> ids(std::size_t(count > 0 ? count : 0));
    if (count > 0 && ::getgroups(count, ids.data()) == count) {
        for (gid_t id : ids) {
            if (!names.contains(groupName(id)))
                names << groupName(id);
        }
    }
    return names;
}

} // namespace

QString installedUdevRule(const QStringList &folders)
{
    QStringList search = folders;
    if (search.isEmpty()) {
        search << QStringLiteral("/etc/udev/rules.d") << QStringLiteral("/usr/lib/udev/rules.d")
               << QStringLiteral("/lib/udev/rules.d");
        // An installation under another prefix: <prefix>/bin/program.
        if (QCoreApplication::instance())
            search << QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("../lib/udev/rules.d"));
    }
    for (const QString &folder : search) {
        const QFileInfo rule(QDir(folder), kRuleName);
        if (rule.isFile())
            return QDir::cleanPath(rule.absoluteFilePath());
    }
    return {};
}

NodeAccess nodeAccess(const QString &node, const QString &installedRule)
{
    NodeAccess a;
    a.node = node;
    a.rule = installedRule;
    a.user = userName(::geteuid());
    a.userGroups = userGroups();
    struct stat st{};
    if (::stat(QFile::encodeName(node).constData(), &st) == 0) {
        a.owner = userName(st.st_uid);
        a.group = groupName(st.st_gid);
        a.mode = modeText(st.st_mode);
        a.groupMayWrite = (st.st_mode & S_IRGRP) && (st.st_mode & S_IWGRP);
    }
    return a;
}

QString noPermissionText(const NodeAccess &a)
{
    QStringList lines{QStringLiteral("No permission to open the CORVANE at %1.").arg(a.node)};
    if (!a.mode.isEmpty())
        lines << QStringLiteral("The node is %1, owner %2, group %3.").arg(a.mode, a.owner, a.group);
    lines << QStringLiteral("You are %1, in the groups %2.").arg(a.user, a.userGroups.join(QStringLiteral(", ")));
    if (a.rule.isEmpty()) {
        lines << QStringLiteral("The udev rule %1 is not installed. Install it (the package does; from the sources copy")
                     .arg(kRuleName)
              << QStringLiteral("resources/linux/%1 into /etc/udev/rules.d/), then run %2 as root or replug the controller.")
                     .arg(kRuleName, kReload);
        return lines.join(QLatin1Char('\n'));
    }
    lines << QStringLiteral("The udev rule is installed: %1.").arg(a.rule);
    if (a.groupMayWrite && a.group != QLatin1String("root") && !a.userGroups.contains(a.group)) {
        // The rule's group line is in force: the group is the way in.
        lines << QStringLiteral("Its group line gives the group %1 access: add %2 to it (\"usermod -aG %1 %2\" as root),")
                     .arg(a.group, a.user)
              << QStringLiteral("then log in again.");
    } else {
        lines << QStringLiteral("It has not reached this controller yet: replug it, or run %1 as root.").arg(kReload)
              << QStringLiteral("It serves the user logged in at the seat; without a desktop session (headless or a service),")
              << QStringLiteral("enable the rule's group line and add the account to that group.");
    }
    return lines.join(QLatin1Char('\n'));
}
