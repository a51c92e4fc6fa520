#include "ui/main/DeveloperMode.h"

#include "ui/dialogs/uDebug.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QWidget>
#include <QWindow>

Q_LOGGING_CATEGORY(lcDeveloper, "corvane.ui.developer")

namespace {

// The executable's name with the version inserted before its extension
// ("x.exe" gives "x114.exe"); a name without extension, as usual on Linux,
// gets the version appended.
QString distributionName(const QString &exeFileName, int configVersion, int build)
{
    const QString tag = QStringLiteral("%1%2").arg(configVersion).arg(build);
    const qsizetype dot = exeFileName.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0)
        return exeFileName + tag;
    return exeFileName.left(dot) + tag + exeFileName.mid(dot);
}

} // namespace

void showDeveloperMode(TDebug &debug, const QWidget &main, int configVersion, int build)
{
    const QString exe = QCoreApplication::applicationFilePath();
    const QString distName = distributionName(QFileInfo(exe).fileName(), configVersion, build);

    // The frame's corner is placed, as for the main window's own position.
    const QRect frame = main.frameGeometry();
    debug.winId();
    debug.windowHandle()->setFramePosition(QPoint(frame.left() + frame.width(), frame.top()));
    debug.show();
    debug.S(distName);

#ifndef NDEBUG
    QString target = QDir::current().filePath(QStringLiteral("dist/") + distName);
    if (QFileInfo(target).isDir())
        target = QDir(target).filePath(QFileInfo(exe).fileName());
    QFile::remove(target);
    if (!QFile::copy(exe, target))
        qCDebug(lcDeveloper) << "developer copy to" << target << "failed";
#endif
}

