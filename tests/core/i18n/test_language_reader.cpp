#include "LanguageTestSupport.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

QString Codes(const TProject &P)
{
    QStringList Ids;
    for (const TLanguage *L : P.Languages)
        Ids << L->ID;
    return Ids.join(u',');
}

// Everything a project holds, one item per line, so each case states all it
// reads: a wrong name, language, translation or order shows.
QString Summary(const TProject &P)
{
    QStringList Out{u"name="_s + P.Name, u"primary="_s + (P.PrimaryLanguage ? P.PrimaryLanguage->ID : u"-"_s),
                    u"languages="_s + Codes(P)};
    if (!P.ImportDir.isEmpty() || P.ImportOpts != 0)
        Out << u"import="_s + P.ImportDir + u'|' + QString::number(P.ImportOpts);
    if (!P.IgnoreStrings.isEmpty() || !P.IgnoreFiles.isEmpty())
        Out << u"ignore="_s + P.IgnoreStrings.join(u'|') + u" files="_s + P.IgnoreFiles.join(u'|');
    for (int i = 0; i < P.Entries.count(); ++i) {
        const TEntry *E = P.Entries.Items(i);
        QStringList T;
        for (const TTranslation &Tr : E->Translations)
            T << Tr.Language->ID + u':' + Tr.Translation;
        QString Line = u"entry="_s + E->Name + u" {"_s + T.join(u',') + u'}';
        if (!E->Occurences.isEmpty())
            Line += u" at "_s + E->Occurences.GetText().replace(u"\r\n"_s, u";"_s);
        Out << Line;
    }
    return Out.join(u'\n');
}

QString ReadSummary(const QByteArray &Bytes)
{
    TLanguageList Catalogue{true};
    try {
        return Summary(TProject(Bytes, Catalogue));
    } catch (const LanguageError &E) {
        return u"error: "_s + E.message();
    }
}

QByteArray L(const QStringList &Lines) { return ProjectText(Lines); }
QByteArray M(const QStringList &EntryLines) { return ProjectText(MinimalProject(EntryLines)); }

const QString NoPrimary = u"error: No primary language could be found"_s;
const QString Minimal = u"name=Test\nprimary=en\nlanguages=en,de\n"_s;
const QByteArray CrLf("\x0D\x00\x0A\x00", 4);
const QByteArray Bom("\xFF\xFE", 2);

} // namespace

TEST(LanguageReader, ReadsTheDocumentedExample)
{
    TLanguageList Catalogue{true};
    const TProject P(L({u"[settings]"_s, u"version=1"_s, u"name=Neues Projekt"_s, u"primarylanguage=en"_s, u""_s,
                        u"[languages]"_s, u"id=en"_s, u"id=de"_s, u""_s, u"[entries]"_s, u"text_id=Close"_s,
                        u"text_en="_s, u"text_de=Schliessen"_s, u""_s}),
                     Catalogue);
    EXPECT_EQ(Summary(P), u"name=Neues Projekt\nprimary=en\nlanguages=en,de\nentry=Close {en:,de:Schliessen}"_s);
    EXPECT_EQ(P.FileType, TFileTypes::ftProject);
    EXPECT_FALSE(P.Changed());
    EXPECT_EQ(P.PrimaryLanguage, Catalogue.FindLanguage(u"en"_s));
    const TEntry *E = P.Entries.Items(0);
    EXPECT_EQ(E->Hash, entryHash(u"Close"_s));
    EXPECT_EQ(E->FProject, &P);
}

TEST(LanguageReader, ReadsWhatEachLineSays)
{
    const QByteArray NoLineEnd = L({u"[languages]"_s, u"id=en"_s, u"[settings]"_s})
        + L({u"primarylanguage=en"_s}).chopped(4);
    const struct {
        const char *what;
        QByteArray bytes;
        QString summary;
    } Cases[] = {
        {"escaped line breaks", M({u"text_id=a\\r\\nb"_s, u"text_de=c\\nd"_s}), Minimal + u"entry=a\r\nb {de:c\nd,en:}"_s},
        {"no primary language", L({u"[languages]"_s, u"id=en"_s}), NoPrimary},
        {"primary not listed", L({u"[settings]"_s, u"primarylanguage=fr"_s, u"[languages]"_s, u"id=en"_s}), NoPrimary},
        {"last line without line end", NoLineEnd, NoPrimary},
        {"last line with line end", NoLineEnd + CrLf, u"name=\nprimary=en\nlanguages=en"_s},
        {"byte order mark hides the first header", Bom + M({u"text_id=x"_s}), NoPrimary},
        {"only settings up to the next header lost",
         Bom + L({u"[settings]"_s, u"name=Lost"_s, u"primarylanguage=fr"_s, u"[languages]"_s, u"id=de"_s,
                  u"[settings]"_s, u"primarylanguage=de"_s}),
         u"name=\nprimary=de\nlanguages=de"_s},
        {"headers and keys in any case, codes not",
         L({u"[Settings]"_s, u"NAME=Big"_s, u"PrimaryLanguage=en"_s, u"[LANGUAGES]"_s, u"ID=en"_s, u"[ENTRIES]"_s,
            u"TEXT_ID=Yes"_s, u"Text_de=Ja"_s, u"text_DE=ignored"_s}),
         u"name=Big\nprimary=en\nlanguages=en,de\nentry=Yes {de:Ja,en:}"_s},
        {"indented header",
         L({u"[settings]"_s, u"primarylanguage=en"_s, u"[languages]"_s, u"id=en"_s, u" [settings]"_s, u"id=de"_s}),
         u"name=\nprimary=en\nlanguages=en,de"_s},
        {"empty and stray lines",
         L({u"before any section"_s, u""_s, u""_s}) + M({u"junk"_s, u"text_de=no entry yet"_s, u"text_id=A"_s}),
         Minimal + u"entry=A {en:,de:}"_s},
        {"entry without translations dropped unless last",
         M({u"text_id=gone"_s, u"text_id=kept"_s, u"text_de=da"_s, u"text_id=last"_s}),
         Minimal + u"entry=kept {de:da,en:}\nentry=last {en:,de:}"_s},
        {"translation for an unlisted language adds it, file order first",
         M({u"text_id=Yes"_s, u"text_fr=Oui"_s, u"text_xx=?"_s}),
         u"name=Test\nprimary=en\nlanguages=en,de,fr\nentry=Yes {fr:Oui,en:,de:}"_s},
        {"primary code cut to two characters",
         L({u"[settings]"_s, u"primarylanguage=english"_s, u"[languages]"_s, u"id=en"_s}),
         u"name=\nprimary=en\nlanguages=en"_s},
        {"primary code of one character",
         L({u"[settings]"_s, u"primarylanguage=e"_s, u"[languages]"_s, u"id=en"_s}), NoPrimary},
        {"codes are two lower-case letters of the catalogue",
         L({u"[settings]"_s, u"primarylanguage=en"_s, u"[languages]"_s, u"id=en"_s, u"id=DE"_s, u"id=deu"_s,
            u"id=zz"_s, u"code=fr"_s}),
         u"name=\nprimary=en\nlanguages=en"_s},
        {"duplicated languages and translations kept",
         ProjectText(MinimalProject({u"text_id=x"_s, u"text_de=eins"_s, u"text_de=zwei"_s})
                     << u"[languages]"_s << u"id=de"_s),
         u"name=Test\nprimary=en\nlanguages=en,de,de\nentry=x {de:eins,de:zwei,en:}"_s},
        {"settings, options and ignore lists",
         L({u"[settings]"_s, u"name=first"_s, u"name=second"_s, u"primarylanguage=en"_s, u"[options]"_s,
            u"importdir= C:\\src "_s, u"importopts=7"_s, u"[ignorestrings]"_s, u"name=a\\nb"_s, u"name=  "_s,
            u"[ignorefiles]"_s, u"name=x.pas"_s, u"name="_s, u"[languages]"_s, u"id=en"_s}),
         u"name=second\nprimary=en\nlanguages=en\nimport= C:\\src |7\nignore=a\nb files=x.pas"_s},
        {"import options take one digit", M({u"[options]"_s, u"importopts=12"_s}), Minimal + u"import=|1"_s},
        {"import options not a digit", M({u"[options]"_s, u"importopts=x"_s}), Minimal.chopped(1)},
        {"occurences",
         M({u"occurence=orphan.pas:1"_s, u"text_id=x"_s, u"occurence=a.pas:12"_s, u"occurance=b.dfm:3:Lab"_s,
            u"occurence=c.pas:zwölf"_s, u"occurence=nocolon"_s}),
         Minimal + u"entry=x {en:,de:} at a.pas:12;b.dfm:3:Lab;:0"_s},
        {"text_id= always starts an entry, so Indonesian cannot be read back",
         M({u"text_id=x"_s, u"text_de=y"_s, u"text_id=Indonesian"_s}),
         Minimal + u"entry=x {de:y,en:}\nentry=Indonesian {en:,de:}"_s},
        {"a stray byte loses only its own line",
         L({u"[settings]"_s}) + "\x41"
             + L({u"name=lost"_s, u"primarylanguage=en"_s, u"[languages]"_s, u"id=en"_s}),
         u"name=\nprimary=en\nlanguages=en"_s},
        {"NUL ends the line's text",
         L({u"[settings]"_s}) + L({u"primarylanguage=en"_s}).chopped(4) + QByteArray("\0\0xxxx", 6) + CrLf
             + L({u"[languages]"_s, u"id=en"_s}),
         u"name=\nprimary=en\nlanguages=en"_s},
        {"empty input", QByteArray(), NoPrimary},
        {"odd length", QByteArray("\x0D\x00\x0A", 3), NoPrimary},
        {"stray byte before a line end", QByteArray("a\x0D\x00\x0A\x00", 5), NoPrimary},
    };
    for (const auto &C : Cases)
        EXPECT_EQ(ReadSummary(C.bytes), C.summary) << C.what;
}
