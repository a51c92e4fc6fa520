#pragma once
#include <QPixmap>

// The controller as shown in the About window: a dark box with its USB port,
// eight channel connectors and their LEDs, 93 by 200 logical pixels. Drawn
// in code so it stays sharp at any device pixel ratio.
QPixmap productPicture(qreal devicePixelRatio = 1.0);
