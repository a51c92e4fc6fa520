// Writer of the language project text (TProject::Save): UTF-16LE, no
// byte-order mark, every line ended by CR LF.

#include "core/i18n/LanguageProject.h"

#include "core/i18n/LanguageError.h"
#include "core/i18n/LanguageText.h"

#include <QIODevice>
#include <QStringView>
#include <QtEndian>

#include <initializer_list>

namespace {

using namespace Qt::Literals::StringLiterals;

// Lines are given in parts, so no joined copy is built just to be encoded.
class LineWriter
{
public:
    void line(std::initializer_list<QStringView> parts = {})
    {
        qsizetype units = 2;
        for (const QStringView part : parts)
            units += part.size();
        const qsizetype start = bytes.size();
        bytes.resize(start + 2 * units);
        char *out = bytes.data() + start;
        for (const QStringView part : parts) {
            if (part.isEmpty())
                continue; // an empty view may carry no data pointer at all
            qToLittleEndian<char16_t>(part.utf16(), part.size(), out);
            out += 2 * part.size();
        }
        const char end[] = {'\x0D', '\x00', '\x0A', '\x00'};
        std::copy(std::begin(end), std::end(end), out);
    }
    QByteArray bytes;
};

bool hasLineBreak(const QString &text)
{
    return text.contains(u'\r') || text.contains(u'\n');
}

// The format stores some values without escapes: refuse to write a line break
// there instead of corrupting the file. (A language coded "id" is written as
// the format always wrote it, although its lines read back as new entries.)
void checkWritable(const TProject &p, bool saveMeta)
{
    if (!p.PrimaryLanguage)
        throw LanguageError(u"No primary language could be found"_s);
    if (!p.Languages.contains(p.PrimaryLanguage))
        throw LanguageError(u"The primary language is not a language of the project"_s);
    bool broken = hasLineBreak(p.Name);
    if (saveMeta) {
        broken = broken || hasLineBreak(p.ImportDir);
        for (const QString &file : p.IgnoreFiles)
            broken = broken || hasLineBreak(file);
    }
    if (broken)
        throw LanguageError(u"A project setting contains a line break and cannot be stored"_s);
}

// Room for the whole text at once, so it is not copied while it grows:
// every text with its key and line end, occurrences at a typical length.
qsizetype estimatedBytes(const TProject &p, bool saveMeta)
{
    constexpr qsizetype perLine = 24;
    qsizetype units = 512 + p.Name.size() + 8 * p.Languages.count();
    for (const auto &entry : p.Entries) {
        units += entry->Name.size() + 2 * perLine;
        for (const TTranslation &t : std::as_const(entry->Translations))
            units += t.Translation.size() + perLine;
        if (saveMeta)
            units += entry->Occurences.size() * 3 * perLine;
    }
    if (saveMeta) {
        for (const QStringList *list : {&p.IgnoreStrings, &p.IgnoreFiles}) {
            for (const QString &s : *list)
                units += s.size() + perLine;
        }
        units += p.ImportDir.size();
    }
    return 2 * units;
}

} // namespace

void TProject::Save(QIODevice &stream, bool saveMeta)
{
    checkWritable(*this, saveMeta);
    LineWriter w;
    w.bytes.reserve(estimatedBytes(*this, saveMeta));
    w.line({u"[settings]"});
    w.line({u"version=1"});
    w.line({u"name=", Name});
    w.line({u"primarylanguage=", PrimaryLanguage->ID});
    w.line();
    if (saveMeta) {
        w.line({u"[options]"});
        if (!ImportDir.isEmpty())
            w.line({u"importdir=", ImportDir});
        w.line({u"importopts=", QString::number(ImportOpts)});
        w.line();
        if (!IgnoreStrings.isEmpty()) {
            w.line({u"[ignorestrings]"});
            for (const QString &s : std::as_const(IgnoreStrings))
                w.line({u"name=", escapeText(s)});
            w.line();
        }
        if (!IgnoreFiles.isEmpty()) {
            w.line({u"[ignorefiles]"});
            for (const QString &f : std::as_const(IgnoreFiles))
                w.line({u"name=", f});
            w.line();
        }
    }
    w.line({u"[languages]"});
    for (const TLanguage *language : Languages)
        w.line({u"id=", language->ID});
    w.line();
    w.line({u"[entries]"});
    for (const auto &entry : Entries) {
        w.line({u"text_id=", escapeText(entry->Name)});
        if (saveMeta) {
            for (const TOccurence &o : std::as_const(entry->Occurences))
                w.line({u"occurence=", o.GetString()});
        }
        for (const TTranslation &t : std::as_const(entry->Translations))
            w.line({u"text_", t.Language->ID, u"=", escapeText(t.Translation)});
        w.line();
    }
    if (stream.write(w.bytes) != w.bytes.size())
        throw LanguageError(u"Error writing language project"_s);
    m_changed = false;
}
