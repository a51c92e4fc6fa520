#pragma once
#include <QString>

// A folder for this user's sockets and locks that nobody else can write:
// <XDG_RUNTIME_DIR>/corvane when the runtime folder is really this user's,
// else ~/.cache/corvane-runtime, else <temp>/corvane-<uid> (each created
// 0700, and checked for owner, kind and mode before each use, so another
// local user cannot plant it).
// Empty, with the reason in `error`, when neither can be had.
QString userRuntimeFolder(QString *error = nullptr);

// The same checks for a given folder: a real directory (not a link) owned by
// this user that no one else may write.
bool isPrivateFolder(const QString &path, QString *why = nullptr);
