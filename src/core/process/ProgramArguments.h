#pragma once
#include <QString>
#include <QStringList>

// The program's arguments as text. File names on this system are bytes, and
// a text holds only those that are UTF-8: an argument that would come back
// as other bytes (and so name another file) is refused, with its bytes
// shown in `error`, never replaced by a look-alike.
bool decodeArguments(int argc, const char *const *argv, QStringList *arguments, QString *error);
