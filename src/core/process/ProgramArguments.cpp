#include "core/process/ProgramArguments.h"

#include "core/text/VisibleText.h"

#include <QFile>

bool decodeArguments(int argc, const char *const *argv, QStringList *arguments, QString *error)
{
    arguments->clear();
    for (int i = 0; i < argc; ++i) {
        const QByteArray bytes(argv[i]);
        const QString text = QFile::decodeName(bytes);
        if (QFile::encodeName(text) != bytes) {
            *error = QStringLiteral("\"%1\" is not valid UTF-8; such a name cannot be used").arg(visibleBytes(bytes));
            return false;
        }
        arguments->append(text);
    }
    return true;
}
