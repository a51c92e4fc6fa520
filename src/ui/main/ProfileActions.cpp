#include "ui/main/ProfileActions.h"

#include "core/files/ProfileFile.h"
#include "core/i18n/TranslateText.h"
#include "session/ControllerSession.h"
#include "ui/dialogs/uDebug.h"
#include "ui/dialogs/uMessageBox.h"
#include "ui/editor/ConfigEditor.h"
#include "ui/main/ProfileDialogs.h"

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
    if (const SessionResult r = m.Session->saveProfile(fileName); !r.ok())
        ShowError(r.message);
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
    // The editor sends (reporting its own errors) and shows the
    // controller's values afterwards. The check is on the values about to be
    // written: the editor's controls still show the controller's old
    // arrangement, and a profile that does not fit must not pass on them.
    bool sent = false;
    bool reloaded = false;
    const SessionResult r = m.Session->applyProfile(
        ProfileFile::readProfileFile(fileName),
        [&] {
            sent = true;
            return m.Editor->SendConfig(m.Session->ticket(), m.Session->paramArrangement());
        },
        [&] {
            reloaded = true;
            m.Session->CfgLoaded = false;
            return m.Editor->DoInit();
        });
    // A load reports its own failure; the file's does not.
    if (!r.ok() && !reloaded)
        ShowError(r.message);
    return r.ok() || sent;
}
