#include "device/AccessHint.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {
const QString kRuleName = QStringLiteral("70-corvane.rules");
const QString kReload = QStringLiteral("\"udevadm control --reload-rules && udevadm trigger\"");
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

QString noPermissionText(const QString &node, const QString &installedRule)
{
    if (!installedRule.isEmpty())
        return QStringLiteral("No permission to open the CORVANE at %1.\n"
                              "The udev rule %2 is installed but has not reached this controller yet:\n"
                              "replug it, or run %3 as root.\n"
                              "Without a desktop session (headless or a service), use the rule's group line instead.")
            .arg(node, installedRule, kReload);
    return QStringLiteral("No permission to open the CORVANE at %1.\n"
                          "Install the udev rule %2 (the package does; from the sources copy\n"
                          "resources/linux/%2 into /etc/udev/rules.d/), then run\n"
                          "%3 as root or replug the controller.")
        .arg(node, kRuleName, kReload);
}
