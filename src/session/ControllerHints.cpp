#include "session/ControllerHints.h"

QString noControllerMessage()
{
    return QStringLiteral("No CORVANE connected");
}

QString noControllerHint()
{
    // Lines end in CR LF: the text is also the key of its translations.
    return QStringLiteral("Plug in a CORVANE: it is found the moment it is connected.\r\n"
                          "Access to it needs the udev rule 70-corvane.rules.\r\n"
                          "To try the program without a controller, start it with --simulate.");
}
