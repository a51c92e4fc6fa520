#include "core/files/IniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSaveFile>

// Debian's SimpleIni lacks ConvertUTF.h; without conversion, char data is
// stored as the file's bytes, which is what we want for UTF-8 files.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

#include <cerrno>
#include <cstring>
#include <string>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

Q_LOGGING_CATEGORY(lcIniFile, "corvane.app.ini")

struct IniFile::Doc
{
    Doc()
    {
        ini.SetUnicode(true);
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

std::optional<QByteArray> IniFile::readAll(const QString &path, QString *error)
{
    auto fail = [&](const QString &text) -> std::optional<QByteArray> {
        if (error)
            *error = text;
        qCWarning(lcIniFile) << "cannot read" << path << text;
        return std::nullopt;
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    // read() with a cap rather than trusting size(): files under /proc report 0.
    const QByteArray data = file.read(MaxFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        return fail(file.errorString());
    if (data.size() > MaxFileSize)
        return fail(QStringLiteral("File is too large"));
    return data;
}

bool IniFile::readFile()
{
    m_doc->ini.Reset();
    m_error.clear();
    m_stamp = stampOf(m_path);
    if (m_path.isEmpty() || !m_stamp.exists)
        return true;
    const auto data = readAll(m_path, &m_error);
    if (!data)
        return false;
    loadFromData(*data);
    return true;
}

bool IniFile::reloadIfChanged()
{
    if (m_path.isEmpty() || stampOf(m_path) == m_stamp)
        return false;
    readFile();
    return true;
}

void IniFile::loadFromData(QByteArrayView data)
{
    m_doc->ini.Reset();
    if (m_doc->ini.LoadData(data.data(), size_t(data.size())) < 0) {
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
    if (m_path.isEmpty()) {
        m_error = QStringLiteral("No file name");
        return false;
    }
    const QByteArray data = toByteArray();
    QSaveFile file(m_path);
    auto fail = [&](const QString &text) {
        m_error = text;
        file.cancelWriting();
        qCWarning(lcIniFile) << "cannot write" << m_path << m_error;
        return false;
    };
    // Unbuffered: QSaveFile 6.4 commits a file whose buffered flush came up
    // short (disk full, size limit), so every byte must be accounted for
    // here, where a short write is still visible.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(file.errorString());
    // A short write is no error by itself; writing the rest again either
    // succeeds or reports the real cause (disk full, size limit).
    for (qsizetype done = 0; done < data.size();) {
        const qint64 n = file.write(data.constData() + done, data.size() - done);
        if (n <= 0)
            return fail(file.errorString());
        done += qsizetype(n);
    }
#ifdef Q_OS_UNIX
    // commit() ignores a failed sync; some file systems only report lost
    // data there.
    if (::fsync(file.handle()) != 0)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
#endif
    if (!file.commit()) {
        m_error = file.errorString();
        qCWarning(lcIniFile) << "cannot write" << m_path << m_error;
        return false;
    }
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
