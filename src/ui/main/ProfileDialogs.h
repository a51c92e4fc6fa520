#pragma once
#include <QString>

#include <functional>

class QWidget;

// The two profile file dialogs. Tests answer them through a responder
// instead of showing a modal dialog.
namespace ProfileDialogs {

enum class Kind { Save, Open };

// The chosen file name (".cvn" appended on save when no suffix was typed),
// or an empty text when the user cancelled.
QString ask(Kind kind, QWidget *parent, const QString &title);

using Responder = std::function<QString(Kind kind, const QString &title)>;
void setTestResponder(Responder responder);
void resetTestResponder();

inline const QString kFilter = QStringLiteral("CORVANE configuration (*.cvn)");

} // namespace ProfileDialogs
