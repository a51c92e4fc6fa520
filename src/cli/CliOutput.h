#pragma once
#include "cli/CliReport.h"

#include <QList>
#include <QTextStream>

// Writes what a run produced. In text mode lines go to standard output and
// messages to standard error; with --json exactly one document goes to
// standard output (watch: one per line), failures included, and messages
// still go to standard error. Text that came from a file, a device or an
// argument reaches the terminal with its control characters made visible.
class CliOutput {
public:
    // The same for what the libraries log to standard error.
    static void makeLogMessagesVisible();

    CliOutput(QTextStream &out, QTextStream &err, bool json);

    bool json() const { return m_json; }
    void warn(const QString &text);
    // A usage error: one line, and where to find the rest.
    int usage(const QString &command, const QString &message);
    // The run on one controller (or none); returns its exit code.
    int finish(const QString &command, const CliReport &report);
    // A run on every controller: a block per serial number; returns the
    // worst exit code.
    int finishAll(const QString &command, const QList<std::pair<QString, CliReport>> &reports);
    // One event of a watch, written at once.
    void event(const QString &text, Json data);

private:
    void writeDocument(Json doc);

    QTextStream &m_out;
    QTextStream &m_err;
    bool m_json;
};
