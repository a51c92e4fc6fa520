#include "session/ControllerHints.h"

#include "device/AccessHint.h"

QString NoControllerMessage()
{
    return QStringLiteral("No CORVANE connected");
}

QString NoControllerHint()
{
    const QString rule = installedUdevRule();
    return QStringLiteral("Plug in a CORVANE: it is found the moment it is connected. Access to it needs the "
                          "udev rule 70-corvane.rules (%1). To try the program without a controller, start it "
                          "with --simulate.")
        .arg(rule.isEmpty() ? QStringLiteral("not installed yet") : QStringLiteral("installed as %1").arg(rule));
}
