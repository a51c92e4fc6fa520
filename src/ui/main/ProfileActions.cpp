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

ProfileActions::ProfileActions(const ProfileContext &context)
    : m_m(context)
{
}

void ProfileActions::butSaveProfileClick()
{
    const QString title = TranslateText(QStringLiteral("Save configuration"));
    // Let the window repaint before the dialog opens over it.
    QCoreApplication::processEvents();
    const QString fileName = ProfileDialogs::ask(ProfileDialogs::Kind::Save, m_m.window, title);
    if (fileName.isEmpty())
        return;
    if (m_m.debug)
        m_m.debug->S(fileName);
    if (const SessionResult r = m_m.session->saveProfile(fileName); !r.ok())
        showError(r.message);
}

void ProfileActions::butLoadProfileClick()
{
    const QString title = TranslateText(QStringLiteral("Open configuration"));
    QCoreApplication::processEvents();
    const QString fileName = ProfileDialogs::ask(ProfileDialogs::Kind::Open, m_m.window, title);
    if (fileName.isEmpty())
        return;
    if (!LoadProfile(fileName))
        return;
    if (m_m.statusBar)
        m_m.statusBar->showMessage(QFileInfo(fileName).fileName());
    if (m_m.editor)
        m_m.editor->announceAdjustments(m_adjusted);
}

bool ProfileActions::LoadProfile(const QString &fileName)
{
    // The session checks the file whole, writes and reads the controller
    // back; the editor shows what it then holds, and a failed read-back
    // itself. A file refused before anything was written leaves the status
    // bar as it was.
    ProfileApplied applied;
    bool writeShown = false;
    const SessionResult r = m_m.session->applyProfile(
        ProfileFile::readProfileFile(fileName), m_m.session->ticket(), &applied, [&](const SessionResult &sent) {
            // Said before the read-back, which may have a failure of its own to show.
            writeShown = !sent.ok();
            if (writeShown)
                showError(sent.message);
        });
    if (!r.ok() && !writeShown && r.kind != SessionResult::Kind::LoadFailed)
        showError(r.message);
    m_adjusted = applied.adjusted;
    return r.ok() || applied.reached;
}
