#include "core/i18n/LanguageProject.h"

#include <QBuffer>

TProject::TProject(const QString &Name, const QList<TLanguage *> &Languages)
    : Name(Name)
{
    for (TLanguage *Language : Languages)
        this->Languages.Add(Language);
}

TProject::TProject(const QByteArray &Stream, const TLanguageList &Catalogue)
    : FileType(TFileTypes::ftProject)
{
    Read(Stream, Catalogue);
}

QByteArray TProject::SaveToBytes(bool SaveMeta)
{
    QByteArray Bytes;
    QBuffer Buffer(&Bytes);
    Buffer.open(QIODevice::WriteOnly);
    Save(Buffer, SaveMeta);
    return Bytes;
}

void TProject::AddLanguage(TLanguage *Lang)
{
    if (!Languages.Contains(Lang)) {
        Languages.Add(Lang);
        for (const auto &Entry : Entries)
            Entry->Translations.append(TTranslation(Lang, QString()));
    }
    FChanged = true;
}

void TProject::RemoveLanguage(TLanguage *Lang)
{
    for (const auto &Entry : Entries) {
        for (qsizetype i = Entry->Translations.size() - 1; i >= 0; --i) {
            if (Entry->Translations.at(i).Language == Lang)
                Entry->Translations.removeAt(i);
        }
    }
    Languages.Remove(Lang);
    FChanged = true;
}

void TProject::SetChanged(bool Value)
{
    FChanged = Value;
    if (Value && OnChanged)
        OnChanged(this);
}
