#include "cli/CliProfileFiles.h"

#include "core/files/IniFile.h"
#include "core/files/ProfileFile.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>

QString folderProblem(const QString &name)
{
    return QFileInfo(name).isDir() ? QStringLiteral("%1 is a folder").arg(name) : QString();
}

ParsedProfile readProfileArgument(const QString &name)
{
    ParsedProfile refused;
    if (refused.fileError = folderProblem(name); !refused.fileError.isEmpty())
        return refused;
    if (!isStandardStream(name))
        return ProfileFile::readProfileFile(name);
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly)) {
        refused.fileError = QStringLiteral("Cannot read standard input: %1").arg(in.errorString());
        return refused;
    }
    // Bounded as a file is: a profile is a few hundred bytes.
    const QByteArray data = in.read(IniFile::MaxFileSize + 1);
    if (data.size() > IniFile::MaxFileSize) {
        refused.fileError = QStringLiteral("Cannot read standard input: more than %1 bytes").arg(IniFile::MaxFileSize);
        return refused;
    }
    return ProfileFile::readProfile(data);
}
