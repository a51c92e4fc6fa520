#include "cli/CliLogRoute.h"

#include "core/text/VisibleText.h"

#include <QMutex>
#include <QTextStream>

namespace {

// Log lines come from the controllers' threads too.
QMutex g_mutex;
QTextStream *g_err = nullptr;
QtMessageHandler g_previous = nullptr;

void route(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    const bool ours = context.category && qstrncmp(context.category, "corvane.", 8) == 0;
    if (!ours) {
        if (g_previous)
            g_previous(type, context, text);
        return;
    }
    const QMutexLocker lock(&g_mutex);
    if (g_err) {
        *g_err << context.category << ": " << visibleText(text) << '\n';
        g_err->flush();
    }
}

} // namespace

LogRoute::LogRoute(QTextStream *err)
{
    const QMutexLocker lock(&g_mutex);
    g_err = err;
    m_previous = qInstallMessageHandler(route);
    g_previous = m_previous;
}

LogRoute::~LogRoute()
{
    qInstallMessageHandler(m_previous);
    const QMutexLocker lock(&g_mutex);
    g_err = nullptr;
}
