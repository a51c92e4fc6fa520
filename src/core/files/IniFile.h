#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QList>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

// An INI document bound to one file: the only place that talks to SimpleIni.
//
// Sections and keys are found without regard to ASCII letter case, but keep
// the text they were first written with; untouched sections, keys and
// comments survive a save, and new keys go to the end of their section.
// Lines are written "KEY=value" without blanks and without a byte-order mark;
// a UTF-8 byte-order mark on reading is accepted.
//
// Section and key names are raw bytes (the file is UTF-8), so a name read
// with keys() can always be passed back unchanged.
class IniFile
{
public:
    IniFile();
    ~IniFile();
    IniFile(const IniFile &) = delete;
    IniFile &operator=(const IniFile &) = delete;

    // Files larger than this are refused: an INI file of ours is a few
    // hundred bytes, and a wrongly chosen huge file must not be slurped.
    static constexpr qint64 MaxFileSize = 4 * 1024 * 1024;

    // Binds the document to path and reads it. A missing file is not an
    // error (the document is empty and the file is created by save()). A
    // file that exists but cannot be read, is no regular file or holds more
    // than MaxIniEntries sections or keys leaves the document empty and
    // returns false with errorString() naming it; save() then refuses to
    // replace it until it has been read.
    bool open(const QString &path);
    QString fileName() const { return m_path; }

    // Re-reads the bound file when its size or time stamps differ from
    // what was last read or written. Returns true when it was re-read.
    bool reloadIfChanged();

    // Replaces the content with parsed text; the bound file is not touched.
    // UTF-16 text with a byte-order mark is read as the text it is.
    void loadFromData(const QByteArray &data);
    // The text as UTF-8, decoding UTF-16 with a byte-order mark (LE or BE);
    // other text is shared, not copied.
    static QByteArray textAsUtf8(const QByteArray &data);

    bool hasSection(const QByteArray &section) const;
    bool contains(const QByteArray &section, const QByteArray &key) const;
    std::optional<QByteArray> value(const QByteArray &section, const QByteArray &key) const;

    QString readString(const QByteArray &section, const QByteArray &key,
                       const QString &defaultValue = {}) const;
    int readInt(const QByteArray &section, const QByteArray &key, int defaultValue) const;
    bool readBool(const QByteArray &section, const QByteArray &key, bool defaultValue) const;

    // Keys of a section in the order of the file (new keys last), with the
    // text they carry in the file.
    QList<QByteArray> keys(const QByteArray &section) const;

    // Setters refuse names and values that would break the line structure
    // of the file (line breaks, NUL, '=' in a key, ...) and return false.
    bool writeString(const QByteArray &section, const QByteArray &key, const QString &value);
    bool writeRaw(const QByteArray &section, const QByteArray &key, const QByteArray &value);
    bool writeInt(const QByteArray &section, const QByteArray &key, qint64 value);
    bool writeBool(const QByteArray &section, const QByteArray &key, bool value);
    bool removeKey(const QByteArray &section, const QByteArray &key);

    // The document as it would be saved.
    QByteArray toByteArray() const;

    // Replaces the bound file atomically (see writeFileAtomically), so a
    // failed write leaves the previous file as it was. A file that held
    // what the reader could not keep (lines that are no INI lines, a key or
    // section given twice, a NUL byte) is not overwritten. On failure
    // errorString() holds the reason.
    bool save();

    QString errorString() const { return m_error; }

    // Value conventions shared by our INI files.
    // Booleans: TRUE/YES/Y and FALSE/NO/N in any case, else a decimal
    // integer where non-zero means true; anything else has no value.
    static std::optional<bool> parseBool(QByteArrayView text);
    // A decimal integer with optional sign and surrounding blanks that fits
    // into 32 signed bits. No hexadecimal, no empty text.
    static std::optional<int32_t> parseInt32(QByteArrayView text);

    static bool isValidName(QByteArrayView name);
    static bool isValidValue(QByteArrayView value);

private:
    struct Stamp
    {
        bool exists = false;
        qint64 size = -1;
        QDateTime modified;
        QDateTime metadataChanged;
        bool operator==(const Stamp &) const = default;
    };
    static Stamp stampOf(const QString &path);
    bool readFile();
    bool readFailed(const QString &error);

    struct Doc;
    std::unique_ptr<Doc> m_doc;
    QString m_path;
    QString m_error;
    // Why saving would lose part of the file last read, or empty.
    QString m_unkeepable;
    Stamp m_stamp;
};
