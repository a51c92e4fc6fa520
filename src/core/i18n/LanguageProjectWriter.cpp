// Writer of the language project text (TProject::Save): UTF-16LE, no
// byte-order mark, every line ended by CR LF.

#include "core/i18n/LanguageProject.h"

#include "core/i18n/LanguageError.h"
#include "core/i18n/LanguageText.h"

#include <QIODevice>
#include <QtEndian>

namespace {

using namespace Qt::Literals::StringLiterals;

class TLineWriter
{
public:
    void Line(const QString &Text = QString())
    {
        const qsizetype Start = Bytes.size();
        Bytes.resize(Start + 2 * (Text.size() + 2));
        char *Out = Bytes.data() + Start;
        qToLittleEndian<char16_t>(Text.utf16(), Text.size(), Out);
        Out += 2 * Text.size();
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

} // namespace

void TProject::Save(QIODevice &Stream, bool SaveMeta)
{
    CheckWritable(*this, SaveMeta);
    TLineWriter W;
    W.Line(u"[settings]"_s);
    W.Line(u"version=1"_s);
    W.Line(u"name="_s + Name);
    W.Line(u"primarylanguage="_s + PrimaryLanguage->ID);
    W.Line();
    if (SaveMeta) {
        W.Line(u"[options]"_s);
        if (!ImportDir.isEmpty())
            W.Line(u"importdir="_s + ImportDir);
        W.Line(u"importopts="_s + QString::number(ImportOpts));
        W.Line();
        if (!IgnoreStrings.isEmpty()) {
            W.Line(u"[ignorestrings]"_s);
            for (const QString &S : std::as_const(IgnoreStrings))
                W.Line(u"name="_s + EscapeText(S));
            W.Line();
        }
        if (!IgnoreFiles.isEmpty()) {
            W.Line(u"[ignorefiles]"_s);
            for (const QString &F : std::as_const(IgnoreFiles))
                W.Line(u"name="_s + F);
            W.Line();
        }
    }
    W.Line(u"[languages]"_s);
    for (const TLanguage *Language : Languages)
        W.Line(u"id="_s + Language->ID);
    W.Line();
    W.Line(u"[entries]"_s);
    for (const auto &Entry : Entries) {
        W.Line(u"text_id="_s + EscapeText(Entry->Name));
        if (SaveMeta) {
            for (const TOccurence &O : std::as_const(Entry->Occurences))
                W.Line(u"occurence="_s + O.GetString());
        }
        for (const TTranslation &T : std::as_const(Entry->Translations))
            W.Line(u"text_"_s + T.Language->ID + u'=' + EscapeText(T.Translation));
        W.Line();
    }
    if (Stream.write(W.Bytes) != W.Bytes.size())
        throw TLanguageError(u"Error writing language project"_s);
    FChanged = false;
}
