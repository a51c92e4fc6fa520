#include "ui/main/ProfileActions.h"

#include "ui/main/ProfileDialogs.h"
#include "core/files/ProfileFile.h"
#include "ui/editor/uConfig.h"
#include "core/protocol/BiosInfo.h"
#include "core/i18n/TranslateText.h"
#include "ui/dialogs/uDebug.h"
#include "ui/dialogs/uMessageBox.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStatusBar>

TProfileActions::TProfileActions(const TProfileContext &context)
    : m(context)
{
}

void TProfileActions::butSaveProfileClick()
{
    const QString title = TranslateText(QStringLiteral("Save configuration"));
    // Let the window repaint before the dialog opens over it.
    QCoreApplication::processEvents();
    const QString fileName = ProfileDialogs::Ask(ProfileDialogs::Kind::Save, m.Window, title);
    if (fileName.isEmpty())
        return;
    if (m.Debug)
        m.Debug->S(fileName);

    QList<ProfileParam> params;
    for (const TCfgData &d : std::as_const(m.Cfg->CfgData))
        params.append({d.Code, d.Value});
    QString error;
    if (!ProfileFile::writeProfileFile(fileName, m.BiosInfo->SysId, m.BiosInfo->ToolVers, params, &error))
        ShowError(error);
}

void TProfileActions::butLoadProfileClick()
{
    const QString title = TranslateText(QStringLiteral("Open configuration"));
    QCoreApplication::processEvents();
    const QString fileName = ProfileDialogs::Ask(ProfileDialogs::Kind::Open, m.Window, title);
    if (fileName.isEmpty())
        return;
    if (LoadProfile(fileName) && m.StatusBar)
        m.StatusBar->showMessage(QFileInfo(fileName).fileName());
}

bool TProfileActions::LoadProfile(const QString &fileName)
{
    // The whole file is checked before anything is applied, so a bad value
    // never leaves the editor and the parameter set half changed.
    const ParsedProfile profile = ProfileFile::readProfileFile(fileName);
    const QString error = profile.loadError(m.BiosInfo->SysId);
    if (!error.isEmpty()) {
        ShowError(error);
        return false;
    }
    for (const ProfileParam &p : profile.params)
        m.Cfg->SetConfig(p.code, p.value); // tags that name no parameter are skipped
    // The send reports its own errors; the device is read back in any case.
    m.Cfg->SendConfig();
    *m.CfgLoaded = false;
    m.Cfg->DoInit();
    return true;
}
