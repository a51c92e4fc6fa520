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
class TLineWriter
{
public:
    void Line(std::initializer_list<QStringView> Parts = {})
    {
        qsizetype Units = 2;
        for (const QStringView Part : Parts)
            Units += Part.size();
        const qsizetype Start = Bytes.size();
        Bytes.resize(Start + 2 * Units);
        char *Out = Bytes.data() + Start;
        for (const QStringView Part : Parts) {
            if (Part.isEmpty())
                continue; // an empty view may carry no data pointer at all
            qToLittleEndian<char16_t>(Part.utf16(), Part.size(), Out);
            Out += 2 * Part.size();
        }
        const char End[] = {'\x0D', '\x00', '\x0A', '\x00'};
        std::copy(std::begin(End), std::end(End), Out);
    }
    QByteArray Bytes;
};

bool HasLineBreak(const QString &Text)
{
    return Text.contains(u'\r') || Text.contains(u'\n');
}

// The format stores some values without escapes: refuse to write a line break
// there instead of corrupting the file. (A language coded "id" is written as
// the format always wrote it, although its lines read back as new entries.)
void CheckWritable(const TProject &P, bool SaveMeta)
{
    if (!P.PrimaryLanguage)
        throw TLanguageError(u"No primary language could be found"_s);
    if (!P.Languages.Contains(P.PrimaryLanguage))
        throw TLanguageError(u"The primary language is not a language of the project"_s);
    bool Broken = HasLineBreak(P.Name);
    if (SaveMeta) {
        Broken = Broken || HasLineBreak(P.ImportDir);
        for (const QString &File : P.IgnoreFiles)
            Broken = Broken || HasLineBreak(File);
    }
    if (Broken)
        throw TLanguageError(u"A project setting contains a line break and cannot be stored"_s);
}

// Room for the whole text at once, so it is not copied while it grows:
// every text with its key and line end, occurrences at a typical length.
qsizetype EstimatedBytes(const TProject &P, bool SaveMeta)
{
    constexpr qsizetype PerLine = 24;
    qsizetype Units = 512 + P.Name.size() + 8 * P.Languages.Count();
    for (const auto &Entry : P.Entries) {
        Units += Entry->Name.size() + 2 * PerLine;
        for (const TTranslation &T : std::as_const(Entry->Translations))
            Units += T.Translation.size() + PerLine;
        if (SaveMeta)
            Units += Entry->Occurences.size() * 3 * PerLine;
    }
    if (SaveMeta) {
        for (const QStringList *List : {&P.IgnoreStrings, &P.IgnoreFiles}) {
            for (const QString &S : *List)
                Units += S.size() + PerLine;
        }
        Units += P.ImportDir.size();
    }
    return 2 * Units;
}

} // namespace

void TProject::Save(QIODevice &Stream, bool SaveMeta)
{
    CheckWritable(*this, SaveMeta);
    TLineWriter W;
    W.Bytes.reserve(EstimatedBytes(*this, SaveMeta));
    W.Line({u"[settings]"});
    W.Line({u"version=1"});
    W.Line({u"name=", Name});
    W.Line({u"primarylanguage=", PrimaryLanguage->ID});
    W.Line();
    if (SaveMeta) {
        W.Line({u"[options]"});
        if (!ImportDir.isEmpty())
            W.Line({u"importdir=", ImportDir});
        W.Line({u"importopts=", QString::number(ImportOpts)});
        W.Line();
        if (!IgnoreStrings.isEmpty()) {
            W.Line({u"[ignorestrings]"});
            for (const QString &S : std::as_const(IgnoreStrings))
                W.Line({u"name=", EscapeText(S)});
            W.Line();
        }
        if (!IgnoreFiles.isEmpty()) {
            W.Line({u"[ignorefiles]"});
            for (const QString &F : std::as_const(IgnoreFiles))
                W.Line({u"name=", F});
            W.Line();
        }
    }
    W.Line({u"[languages]"});
    for (const TLanguage *Language : Languages)
        W.Line({u"id=", Language->ID});
    W.Line();
    W.Line({u"[entries]"});
    for (const auto &Entry : Entries) {
        W.Line({u"text_id=", EscapeText(Entry->Name)});
        if (SaveMeta) {
            for (const TOccurence &O : std::as_const(Entry->Occurences))
                W.Line({u"occurence=", O.GetString()});
        }
        for (const TTranslation &T : std::as_const(Entry->Translations))
            W.Line({u"text_", T.Language->ID, u"=", EscapeText(T.Translation)});
        W.Line();
    }
    if (Stream.write(W.Bytes) != W.Bytes.size())
        throw TLanguageError(u"Error writing language project"_s);
    FChanged = false;
}
