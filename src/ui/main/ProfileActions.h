#pragma once
#include "session/FieldChanges.h"

#include <QList>
#include <QString>

class ConfigEditor;
class ControllerSession;
class QStatusBar;
class QWidget;
class TDebug;

// What saving and loading profiles needs of the main window.
struct TProfileContext {
    QWidget *Window = nullptr;
    QStatusBar *StatusBar = nullptr;
    TDebug *Debug = nullptr;
    ControllerSession *Session = nullptr;
    ConfigEditor *Editor = nullptr;
};

// Saving the open device's configuration to a profile file and loading one
// back into the device, through the file dialogs.
class TProfileActions {
public:
    explicit TProfileActions(const TProfileContext &context);

    void butSaveProfileClick();
    void butLoadProfileClick();
    // Reads and applies one profile file; true when it was applied. Errors
    // are shown.
    bool LoadProfile(const QString &fileName);

private:
    TProfileContext m;
    // What the protocol limits lowered in the last profile applied.
    QList<FieldAdjustment> m_adjusted;
};
