#pragma once
#include <QString>

struct ParsedProfile;

// Profiles as the command line names them: a file, or "-" for the standard
// streams.
inline bool isStandardStream(const QString &name)
{
    return name == QLatin1String("-");
}

// Why `name` cannot be a profile file because it is a folder, or an empty text.
QString folderProblem(const QString &name);

// Reads the profile named on the command line: a file, or standard input
// for "-". What cannot be read is in the result's fileError.
ParsedProfile readProfileArgument(const QString &name);
