#pragma once
#include <QByteArrayView>
#include <QString>

// Replaces a file's whole content so that a reader sees either the old or
// the new file, never a part, and a failure leaves the old one as it was.
//
// A symbolic link is followed: its final target is replaced and the link
// stays. The target keeps its permission bits and, where the user may set
// them (always as root), its owner and group; a file whose owner cannot be
// kept is not replaced. Anything but a regular file under that name (a
// folder, a device, a FIFO) is refused and left alone.
//
// The new content goes to "<target>.corvane-XXXXXX.tmp" beside the target,
// is synced once and renamed into place. Such files that a killed writer
// left behind are removed by the next successful write once they are a
// minute old; one that its writer still holds is never touched.
//
// On failure, error receives the reason, a sentence naming the file.
bool writeFileAtomically(const QString &path, QByteArrayView data, QString *error);

// The call that makes the written content durable before it replaces the
// target (fdatasync). Tests put another in its place; returns the previous.
using FileSync = int (*)(int fd);
FileSync setFileSync(FileSync sync);

// Renames path to "<path>.corrupt", or "<path>.corrupt.1", ".2", ... : the
// first of these names that is free, so no existing file is ever replaced.
// Returns the new name, or an empty text with error set.
QString keepAside(const QString &path, QString *error);
