#pragma once
#include "cli/CliReport.h"

#include <QList>
#include <QTextStream>

// Writes what a run produced. In text mode lines go to standard output and
// messages to standard error; with --json exactly one document goes to
// standard output, failures included, and messages still go to standard
// error. A stream (watch) writes each document compact on a line of its own.
// Text that came from a file, a device or an argument reaches the terminal
// with its control characters made visible.
class CliOutput {
public:
    // The same for what the libraries log to standard error.
    static void makeLogMessagesVisible();

    CliOutput(QTextStream &out, QTextStream &err, bool json);

    bool json() const { return m_json; }
    void setStream(bool stream) { m_stream = stream; }
    void warn(const QString &text);
    // A usage error: one line, and where to find the rest.
    int usage(const QString &command, const CliOutcome &outcome);
    // The run on one controller (or none); returns its exit code.
    int finish(const QString &command, const CliReport &report);
    // A run on every controller: a block per serial number; returns the
    // worst exit code.
    int finishAll(const QString &command, const QList<std::pair<QString, CliReport>> &reports);
    // One event of a watch, written at once.
    void event(const QString &text, Json data);

private:
    void writeDocument(const Json &doc);

    QTextStream &m_out;
    QTextStream &m_err;
    bool m_json;
    bool m_stream = false;
};

// A run's outcome as its document opens: format, command, ok, exit_code and,
// for a failure, the error object.
Json outcomeJson(const CliOutcome &outcome, const QString &serial = {});
