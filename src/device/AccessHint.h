#pragma once
#include <QString>
#include <QStringList>

// Where the udev rule that gives users access to the controller is
// installed, or an empty text when it is in none of `folders` (by default
// the local rules folder, the package's rules folders, and the one beside
// this program's installation prefix).
QString installedUdevRule(const QStringList &folders = {});

// What decides whether this user may open a device node.
struct NodeAccess {
    QString node;
    QString owner;       // user and group names, numbers where there is no name
    QString group;
    QString mode;        // as ls shows it: "crw-rw----"
    bool groupMayWrite = false;
    QString rule;        // where the udev rule is installed; empty: nowhere
    QString user;
    QStringList userGroups;
};

// The facts for `node` as this process sees them.
NodeAccess nodeAccess(const QString &node, const QString &installedRule);

// Why the controller cannot be opened for lack of permission, the facts
// that decide it, and only the steps that apply: installing the rule,
// letting it reach the controller, or joining the group the rule's
// headless line gives access to. The first line names the node alone.
QString noPermissionText(const NodeAccess &access);
