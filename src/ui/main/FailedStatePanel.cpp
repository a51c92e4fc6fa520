#include "ui/main/FailedStatePanel.h"
#include "ui_uMain.h"

#include "core/i18n/LanguageManager.h"

#include <QRegularExpression>

namespace {

struct Explanation {
    const char *title;
    const char *advice;
};

// By Reason; the English texts are the keys of their translations.
constexpr Explanation kExplanations[] = {
    {"This CORVANE cannot be opened",
     "The udev rule 70-corvane.rules gives users access to it. The reason and the remedy are below; "
     "once it is fixed, try again."},
    {"This CORVANE could not be identified", "Check the controller and its cable, then try again."},
    {"The configuration of this CORVANE could not be read",
     "Nothing can be edited or sent before every parameter has been read. Try again, or replug the controller."},
};

// The command an access message asks the user to run, which it quotes.
QString quotedCommand(const QString &message)
{
    static const QRegularExpression quoted(QStringLiteral("\"([^\"]+)\""));
    return quoted.match(message).captured(1);
}

} // namespace

FailedStatePanel::FailedStatePanel(Ui::TMain &ui)
    : m_ui(ui)
{
}

void FailedStatePanel::show(Reason reason, const QString &message)
{
    const Explanation &e = kExplanations[int(reason)];
    m_ui.labFailedTitle->setText(QString::fromLatin1(e.title));
    m_ui.labFailedAdvice->setText(QString::fromLatin1(e.advice));
    m_ui.labFailedDetail->setText(message);
    const QString command = reason == Reason::NoAccess ? quotedCommand(message) : QString();
    m_ui.edFailedCommand->setText(command);
    m_ui.edFailedCommand->setVisible(!command.isEmpty());
    // The English texts go through the window's own translation, which
    // remembers them, so a later language switch translates them again.
    if (LanguageManager)
        LanguageManager->Translate(m_ui.panFailed);
    m_ui.panFailed->show();
}

void FailedStatePanel::hide()
{
    m_ui.panFailed->hide();
}
