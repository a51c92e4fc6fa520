#pragma once
#include <QString>

class QStatusBar;
class QWidget;
class TCfg;
class TDebug;
struct TBiosInfo;

// What saving and loading profiles needs of the main window.
struct TProfileContext {
    QWidget *Window = nullptr;
    QStatusBar *StatusBar = nullptr;
    TDebug *Debug = nullptr;
    const TBiosInfo *BiosInfo = nullptr;
    TCfg *Cfg = nullptr;
    bool *CfgLoaded = nullptr;
};

// Saving the open device's configuration to a profile file and loading one
// back into the device.
class TProfileActions {
public:
    explicit TProfileActions(const TProfileContext &context);

    void butSaveProfileClick();
    void butLoadProfileClick();
    // Reads and applies one profile file; true on success. Errors are shown.
    bool LoadProfile(const QString &fileName);

private:
    TProfileContext m;
};
