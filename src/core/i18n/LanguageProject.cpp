#include "core/i18n/LanguageProject.h"

#include <QBuffer>

TProject::TProject(const QString &name, const QList<TLanguage *> &languages)
    : Name(name)
{
    for (TLanguage *language : languages)
        this->Languages.add(language);
}

TProject::TProject(const QByteArray &stream, const TLanguageList &catalogue)
    : FileType(TFileTypes::ftProject)
{
    read(stream, catalogue);
}

QByteArray TProject::saveToBytes(bool saveMeta)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    Save(buffer, saveMeta);
    return bytes;
}

void TProject::AddLanguage(TLanguage *lang)
{
    if (!Languages.contains(lang)) {
        Languages.add(lang);
        for (const auto &entry : Entries)
            entry->Translations.append(TTranslation(lang, QString()));
    }
    m_changed = true;
}

void TProject::RemoveLanguage(TLanguage *lang)
{
    for (const auto &entry : Entries) {
        for (qsizetype i = entry->Translations.size() - 1; i >= 0; --i) {
            if (entry->Translations.at(i).Language == lang)
                entry->Translations.removeAt(i);
        }
    }
    Languages.remove(lang);
    m_changed = true;
}

void TProject::setChanged(bool value)
{
    m_changed = value;
    if (value && OnChanged)
        OnChanged(this);
}
