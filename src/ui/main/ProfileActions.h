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
struct ProfileContext {
    QWidget *window = nullptr;
    QStatusBar *statusBar = nullptr;
    TDebug *debug = nullptr;
    ControllerSession *session = nullptr;
    ConfigEditor *editor = nullptr;
};

// Saving the open device's configuration to a profile file and loading one
// back into the device, through the file dialogs.
class ProfileActions {
public:
    explicit ProfileActions(const ProfileContext &context);

    void butSaveProfileClick();
    void butLoadProfileClick();
    // Reads and applies one profile file; true when it was applied. Errors
    // are shown.
    bool LoadProfile(const QString &fileName);

private:
    ProfileContext m_m;
    // What the protocol limits lowered in the last profile applied.
    QList<FieldAdjustment> m_adjusted;
};
