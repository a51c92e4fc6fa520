#pragma once

class QWidget;
class TDebug;

// Developer mode: the debug window beside the main window, and the program's
// distribution name (the configuration version and build inserted before
// its extension) logged there. The copy into "dist/" exists only in debug
// builds; a build for users never writes beside the working directory.
void showDeveloperMode(TDebug &debug, const QWidget &main, int configVersion, int build);
