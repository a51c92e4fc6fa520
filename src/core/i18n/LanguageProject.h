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
    using ChangedEvent = std::function<void(TProject *)>;

    TProject(const QString &name, const QList<TLanguage *> &languages);
    // Reads a project from its whole text. Language codes are resolved in
    // Catalogue. Throws LanguageError ("No primary language could be found").
    TProject(const QByteArray &stream, const TLanguageList &catalogue);
    TProject(const TProject &) = delete;
    TProject &operator=(const TProject &) = delete;

    // Writes the text form; SaveMeta adds options, ignore lists and occurrences.
    // Throws LanguageError when the project cannot be written so that it reads
    // back, or when the stream refuses the data.
    void Save(QIODevice &stream, bool saveMeta);
    QByteArray saveToBytes(bool saveMeta);

    void AddLanguage(TLanguage *lang);
    void RemoveLanguage(TLanguage *lang);

    bool Changed() const { return m_changed; }
    // Marks the project changed (or clean) and tells OnChanged about a change.
    void setChanged(bool value = true);

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
    ChangedEvent OnChanged;

private:
    void read(const QByteArray &stream, const TLanguageList &catalogue);

    bool m_changed = false;
};
