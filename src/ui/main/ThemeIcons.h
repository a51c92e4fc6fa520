#pragma once
#include <QIcon>
#include <QStyle>

class QWidget;

// Icons that follow the desktop's theme and palette.
namespace ThemeIcons {

// The program's icon: the installed icon theme's "corvane-config", else the
// pictures compiled into the program.
QIcon applicationIcon();

// A tool bar icon: the icon theme's `themeName` where the theme has it, else
// the style's `fallback`. A fallback that is a plain grey glyph (Fusion's
// close cross, say) is drawn in the palette's button text colour, so that it
// stays visible on a dark tool bar; coloured pictures are left as they are.
QIcon toolIcon(const char *themeName, QStyle::StandardPixmap fallback, const QWidget *widget);

} // namespace ThemeIcons
