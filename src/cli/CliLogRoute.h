#pragma once
#include <QtMessageHandler>

class QTextStream;

// While it lives, the programs' own log lines (categories "corvane.*") go
// to `err` as "category: text", or nowhere without one: what a command
// line says on standard error is its messages, each once. Other messages
// (Qt's own) go where they went before.
class LogRoute {
public:
    explicit LogRoute(QTextStream *err);
    ~LogRoute();
    LogRoute(const LogRoute &) = delete;
    LogRoute &operator=(const LogRoute &) = delete;

private:
    QtMessageHandler m_previous;
};
