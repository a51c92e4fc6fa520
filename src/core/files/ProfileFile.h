#pragma once
#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>

// One device parameter as a profile stores it: the four-character tag and
// the raw 32-bit value.
struct ProfileParam
{
    QByteArray code;
    uint32_t value = 0;
    bool operator==(const ProfileParam &) const = default;
};

// What a profile file says, checked but not yet applied to anything.
struct ParsedProfile
{
    // Set when the file could not be read at all; nothing else is filled.
    QString fileError;
    // Set when the file is ambiguous (a NUL byte, a section or a key given
    // twice, in any letter case) or holds more than MaxIniEntries sections
    // or keys; nothing else is filled either.
    QString formatError;

    // "ID" of section "GLOBAL" as a 32-bit pattern. hasId is false when the
    // key is missing or its value is not a 32-bit integer.
    bool hasId = false;
    uint32_t id = 0;
    // "VERSION" is informative only; a bad one does not spoil the file.
    bool hasVersion = false;
    int version = 0;

    // Every key of section "PARAMETER", in file order and with the letter
    // case of the file: tags are matched exactly by the caller.
    QList<QByteArray> keys;
    // The first value that is not a decimal 32-bit integer, naming its key.
    QString valueError;
    // The keys with their values; filled only when every value parsed, so
    // a bad file can never be applied halfway.
    QList<ProfileParam> params;

    // The file was written for this device. Stored negatively when bit 31
    // is set, so the comparison is on the 32-bit pattern.
    bool matchesDevice(uint32_t sysId) const { return hasId && id == sysId; }

    // The message a load from this file must stop with, in the order the
    // checks are made, or an empty text when params may be applied.
    QString loadError(uint32_t sysId) const;
};

namespace ProfileFile {

inline constexpr const char *Extension = "cvn";
inline constexpr const char *InfoText = "CORVANE CONFIGURATION FILE";

ParsedProfile readProfile(const QByteArray &data);
ParsedProfile readProfileFile(const QString &fileName);

// Writes "GLOBAL" and "PARAMETER" into fileName. Sections and keys already
// in that file that this does not write are kept. On failure the previous
// file is left as it was and error receives the platform's text.
bool writeProfileFile(const QString &fileName, uint32_t sysId, int toolVers,
                      const QList<ProfileParam> &params, QString *error = nullptr);

// The text writeProfileFile would write into a new file, for a profile
// that goes elsewhere (standard output).
QByteArray profileText(uint32_t sysId, int toolVers, const QList<ProfileParam> &params);

// A 32-bit value as the file stores it: signed decimal, so FF000000 is
// "-16777216".
QByteArray formatValue(uint32_t value);

} // namespace ProfileFile
