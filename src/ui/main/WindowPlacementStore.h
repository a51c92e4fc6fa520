#pragma once

class QWidget;
class SettingsFile;

// Keeps a window's state and position in the settings file, as the main
// window's "Main" section holds them: restored once before the window first
// shows (centred on its screen when nothing usable is stored), written when
// it closes.
void restoreWindowPlacement(QWidget &window, SettingsFile &file);
void writeWindowPlacement(const QWidget &window, SettingsFile &file);
