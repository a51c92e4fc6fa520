#pragma once
#include <QString>
#include <QStringList>

// Where the udev rule that gives users access to the controller is
// installed, or an empty text when it is in none of `folders` (by default
// the local rules folder, the package's rules folders, and the one beside
// this program's installation prefix).
QString installedUdevRule(const QStringList &folders = {});

// Why the controller at `node` cannot be opened for lack of permission, and
// what fixes it: reloading the rule that is installed, or installing it.
QString noPermissionText(const QString &node, const QString &installedRule);
