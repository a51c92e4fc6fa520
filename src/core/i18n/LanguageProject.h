#pragma once
#include "core/i18n/LanguageCatalogue.h"
#include "core/i18n/LanguageEntry.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class QIODevice;

enum class TFileTypes { ftProject, ftExe, ftRes, ftUnknown };

// A language project: entries with one translation per project language.
// Stored as UTF-16LE text with CR LF line ends (see LanguageProjectReader.cpp
// and LanguageProjectWriter.cpp).
class TProject
{
public:
    using TChangedEvent = std::function<void(TProject *)>;

    TProject(const QString &Name, const QList<TLanguage *> &Languages);
    // Reads a project from its whole text. Language codes are resolved in
    // Catalogue. Throws TLanguageError ("No primary language could be found").
    TProject(const QByteArray &Stream, const TLanguageList &Catalogue);
    TProject(const TProject &) = delete;
    TProject &operator=(const TProject &) = delete;

    // Writes the text form; SaveMeta adds options, ignore lists and occurrences.
    // Throws TLanguageError when the project cannot be written so that it reads
    // back, or when the stream refuses the data.
    void Save(QIODevice &Stream, bool SaveMeta);
    QByteArray SaveToBytes(bool SaveMeta);

    void AddLanguage(TLanguage *Lang);
    void RemoveLanguage(TLanguage *Lang);

    bool Changed() const { return FChanged; }
    // Marks the project changed (or clean) and tells OnChanged about a change.
    void SetChanged(bool Value = true);

    QString Name;
    TFileTypes FileType = TFileTypes::ftUnknown;
    TLanguageList Languages;          // catalogue languages, not owned
    TLanguage *PrimaryLanguage = nullptr;
    TEntryList Entries;
    QString Filename;
    QStringList IgnoreStrings;
    QStringList IgnoreFiles;
    QString ImportDir;
    qint32 ImportOpts = 0;
    TChangedEvent OnChanged;

private:
    void Read(const QByteArray &Stream, const TLanguageList &Catalogue);

    bool FChanged = false;
};
