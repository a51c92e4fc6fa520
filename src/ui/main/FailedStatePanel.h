#pragma once
#include <QString>

namespace Ui {
class TMain;
}

// Why a controller that is present is not open, said in the editor's place
// rather than only in a message box: what failed and what to do, in the
// language shown, then the controller's own message (with its device node)
// and the command it asks for, both selectable. Retry (butRetry) is the
// device panel's.
class FailedStatePanel {
public:
    enum class Reason { NoAccess, NotIdentified, NotRead };

    explicit FailedStatePanel(Ui::TMain &ui);

    void show(Reason reason, const QString &message);
    void hide();

private:
    Ui::TMain &m_ui;
};
