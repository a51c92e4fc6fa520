#include "core/files/IniFile.h"

#include "core/files/IniTextCheck.h"
#include "core/files/SafeFileRead.h"
#include "core/files/SafeFileWrite.h"

#include <QFileInfo>
#include <QLoggingCategory>
#include <QtEndian>

// Debian's SimpleIni lacks ConvertUTF.h; without conversion, char data is
// stored as the file's bytes, which is what we want for UTF-8 files.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

#include <string>

Q_LOGGING_CATEGORY(lcIniFile, "corvane.app.ini")

struct IniFile::Doc
{
    Doc()
    {
        ini.SetSpaces(false);
    }
    CSimpleIniA ini;
};

namespace {

// SimpleIni wants NUL-terminated names; QByteArray always is.
const char *cstr(const QByteArray &a)
{
    return a.constData();
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

} // namespace

IniFile::IniFile() : m_doc(std::make_unique<Doc>()) {}

IniFile::~IniFile() = default;

IniFile::Stamp IniFile::stampOf(const QString &path)
{
    QFileInfo info(path);
    Stamp s;
    s.exists = info.exists();
    if (s.exists) {
        s.size = info.size();
        s.modified = info.lastModified();
        // A rename into place (another QSaveFile) changes this even when
        // size and modification time happen to match.
        s.metadataChanged = info.metadataChangeTime();
    }
    return s;
}

bool IniFile::open(const QString &path)
{
    m_path = path;
    return readFile();
}

bool IniFile::readFile()
{
    m_doc->ini.Reset();
    m_error.clear();
    m_unkeepable.clear();
    m_stamp = stampOf(m_path);
    if (m_path.isEmpty())
        return true;
    const FileRead file = readRegularFile(m_path, MaxFileSize);
    if (file.missing())
        return true;
    if (!file.ok())
        return readFailed(file.error);
    const QByteArray text = textAsUtf8(file.data);
    const IniTextCheck check = checkIniText(text);
    if (!check.tooMany.isEmpty())
        return readFailed(QStringLiteral("Cannot read %1: %2").arg(m_path, check.tooMany));
    loadFromData(text);
    m_unkeepable = check.ambiguity.isEmpty() ? check.dropped : check.ambiguity;
    return true;
}

// A file that exists but was not read is never replaced by what little the
// program knows of it.
bool IniFile::readFailed(const QString &error)
{
    m_error = error;
    m_unkeepable = QStringLiteral("it could not be read");
    qCWarning(lcIniFile).noquote() << m_error;
    return false;
}

bool IniFile::reloadIfChanged()
{
    if (m_path.isEmpty() || stampOf(m_path) == m_stamp)
        return false;
    readFile();
    return true;
}

QByteArray IniFile::textAsUtf8(const QByteArray &data)
{
    // What a Windows editor saves as "Unicode": UTF-16 with a byte-order mark.
    const bool le = data.startsWith("\xFF\xFE");
    const bool be = data.startsWith("\xFE\xFF");
    if (!le && !be)
        return data;
    const QByteArrayView body = QByteArrayView(data).sliced(2);
    // An odd last byte cannot be a character and is dropped.
    QString text(body.size() / 2, Qt::Uninitialized);
    if (text.isEmpty())
        return {};
    if (le)
        qFromLittleEndian<char16_t>(body.data(), text.size(), text.data());
    else
        qFromBigEndian<char16_t>(body.data(), text.size(), text.data());
    return text.toUtf8();
}

void IniFile::loadFromData(const QByteArray &data)
{
    m_doc->ini.Reset();
    m_unkeepable.clear();
    const QByteArray text = textAsUtf8(data);
    if (m_doc->ini.LoadData(text.constData(), size_t(text.size())) < 0) {
        // Only an allocation failure gets here; SimpleIni skips what it cannot parse.
        m_doc->ini.Reset();
        qCWarning(lcIniFile) << "cannot parse" << m_path;
    }
}

bool IniFile::hasSection(const QByteArray &section) const
{
    return m_doc->ini.SectionExists(cstr(section));
}

bool IniFile::contains(const QByteArray &section, const QByteArray &key) const
{
    return m_doc->ini.KeyExists(cstr(section), cstr(key));
}

std::optional<QByteArray> IniFile::value(const QByteArray &section, const QByteArray &key) const
{
    const char *v = m_doc->ini.GetValue(cstr(section), cstr(key), nullptr);
    if (!v)
        return std::nullopt;
    return QByteArray(v);
}

QString IniFile::readString(const QByteArray &section, const QByteArray &key,
                            const QString &defaultValue) const
{
    const auto v = value(section, key);
    return v ? QString::fromUtf8(*v) : defaultValue;
}

int IniFile::readInt(const QByteArray &section, const QByteArray &key, int defaultValue) const
{
    const auto v = value(section, key);
    if (!v)
        return defaultValue;
    return parseInt32(*v).value_or(defaultValue);
}

bool IniFile::readBool(const QByteArray &section, const QByteArray &key, bool defaultValue) const
{
    const auto v = value(section, key);
    if (!v)
        return defaultValue;
    return parseBool(*v).value_or(defaultValue);
}

QList<QByteArray> IniFile::keys(const QByteArray &section) const
{
    CSimpleIniA::TNamesDepend names;
    m_doc->ini.GetAllKeys(cstr(section), names);
    names.sort(CSimpleIniA::Entry::LoadOrder());
    QList<QByteArray> result;
    result.reserve(qsizetype(names.size()));
    for (const auto &entry : names)
        result.append(QByteArray(entry.pItem));
    return result;
}

bool IniFile::writeString(const QByteArray &section, const QByteArray &key, const QString &value)
{
    return writeRaw(section, key, value.toUtf8());
}

bool IniFile::writeRaw(const QByteArray &section, const QByteArray &key, const QByteArray &value)
{
    if (!isValidName(section) || !isValidName(key) || !isValidValue(value)) {
        qCWarning(lcIniFile) << "refusing to store" << section << key << value;
        return false;
    }
    return m_doc->ini.SetValue(cstr(section), cstr(key), cstr(value)) >= 0;
}

bool IniFile::writeInt(const QByteArray &section, const QByteArray &key, qint64 value)
{
    return writeRaw(section, key, QByteArray::number(value));
}

bool IniFile::writeBool(const QByteArray &section, const QByteArray &key, bool value)
{
    return writeRaw(section, key, value ? QByteArrayLiteral("TRUE") : QByteArrayLiteral("FALSE"));
}

bool IniFile::removeKey(const QByteArray &section, const QByteArray &key)
{
    return m_doc->ini.Delete(cstr(section), cstr(key));
}

QByteArray IniFile::toByteArray() const
{
    std::string out;
    // No byte-order mark: other tools and older versions of ours expect plain text.
    if (m_doc->ini.Save(out, false) < 0)
        return {};
    // SimpleIni separates sections by two empty lines; one is the usual look.
    QByteArray text(out.data(), qsizetype(out.size()));
    while (text.contains("\n\n\n"))
        text.replace("\n\n\n", "\n\n");
    return text;
}

bool IniFile::save()
{
    m_error.clear();
    // The reader skipped or merged part of the file: writing back what it
    // read would lose that part without a trace.
    // The caller reports the text.
    if (!m_unkeepable.isEmpty()) {
        m_error = QStringLiteral("%1 is not overwritten: %2").arg(m_path, m_unkeepable);
        return false;
    }
    if (!writeFileAtomically(m_path, toByteArray(), &m_error))
        return false;
    // Our own write is not a change from outside.
    m_stamp = stampOf(m_path);
    return true;
}

std::optional<bool> IniFile::parseBool(QByteArrayView text)
{
    const QByteArrayView t = text.trimmed();
    for (const char *word : {"TRUE", "YES", "Y"}) {
        if (t.compare(word, Qt::CaseInsensitive) == 0)
            return true;
    }
    for (const char *word : {"FALSE", "NO", "N"}) {
        if (t.compare(word, Qt::CaseInsensitive) == 0)
            return false;
    }
    if (const auto n = parseInt32(t))
        return *n != 0;
    return std::nullopt;
}

std::optional<int32_t> IniFile::parseInt32(QByteArrayView text)
{
    qsizetype i = 0;
    qsizetype end = text.size();
    while (i < end && isBlank(text[i]))
        ++i;
    while (end > i && isBlank(text[end - 1]))
        --end;

    bool negative = false;
    if (i < end && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == end)
        return std::nullopt;

    // Accumulate in 64 bits and stop as soon as the 32-bit range is left,
    // so any number of digits is safe.
    const int64_t limit = negative ? int64_t(INT32_MAX) + 1 : int64_t(INT32_MAX);
    int64_t n = 0;
    for (; i < end; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        n = n * 10 + (c - '0');
        if (n > limit)
            return std::nullopt;
    }
    return int32_t(negative ? -n : n);
}

bool IniFile::isValidName(QByteArrayView name)
{
    if (name.isEmpty() || isBlank(name.front()) || isBlank(name.back()))
        return false;
    // These would start a comment or a section header when read back.
    if (name.front() == ';' || name.front() == '#')
        return false;
    for (const char c : name) {
        if (c == '=' || c == '[' || c == ']' || (c >= 0 && c < 0x20 && c != '\t'))
            return false;
    }
    return true;
}

bool IniFile::isValidValue(QByteArrayView value)
{
    for (const char c : value) {
        if (c == '\n' || c == '\r' || c == '\0')
            return false;
    }
    return true;
}
