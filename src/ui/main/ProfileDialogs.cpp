#include "ui/main/ProfileDialogs.h"

#include <QFileDialog>

namespace ProfileDialogs {
namespace {
Responder &testResponder()
{
    static Responder responder;
    return responder;
}
} // namespace

void setTestResponder(Responder responder)
{
    testResponder() = std::move(responder);
}

void resetTestResponder()
{
    testResponder() = nullptr;
}

QString ask(Kind kind, QWidget *parent, const QString &title)
{
    if (testResponder())
        return testResponder()(kind, title);

    QFileDialog dialog(parent, title);
    dialog.setNameFilter(kFilter);
    dialog.setDefaultSuffix(QStringLiteral("cvn"));
    if (kind == Kind::Save) {
        // Replacing an existing file is asked first (the dialog's default).
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

} // namespace ProfileDialogs
