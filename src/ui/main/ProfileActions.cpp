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
    if (!LoadProfile(fileName))
        return;
    if (m.StatusBar)
        m.StatusBar->showMessage(QFileInfo(fileName).fileName());
    if (m.Editor)
        m.Editor->announceAdjustments(m_adjusted);
}

bool TProfileActions::LoadProfile(const QString &fileName)
{
    // The session checks the file whole, writes and reads the controller
    // back; the editor shows what it then holds, and a failed read-back
    // itself. A file refused before anything was written leaves the status
    // bar as it was.
    ProfileApplied applied;
    bool writeShown = false;
    const SessionResult r = m.Session->applyProfile(
        ProfileFile::readProfileFile(fileName), m.Session->ticket(), &applied, [&](const SessionResult &sent) {
            // Said before the read-back, which may have a failure of its own to show.
            writeShown = !sent.ok();
            if (writeShown)
                ShowError(sent.message);
        });
    if (!r.ok() && !writeShown && r.kind != SessionResult::Kind::LoadFailed)
        ShowError(r.message);
    m_adjusted = applied.adjusted;
    return r.ok() || applied.reached;
}
