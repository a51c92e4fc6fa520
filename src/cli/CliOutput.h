#pragma once
#include "cli/CliStatus.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QTextStream>

// Everything a run writes. In text mode commands write lines; with --json
// they fill one document that is written to standard output at the end,
// failures included, so a tool always gets exactly one document. Messages
// and warnings go to standard error in both modes.
class CliOutput {
public:
    CliOutput(QTextStream &out, QTextStream &err, bool json);

    bool Json() const { return m_json; }
    void Line(const QString &text);                     // text mode only
    void Set(const QString &key, const QJsonValue &value); // JSON mode only
    void Warn(const QString &text);

    // Reports how the run ended and returns its exit code. Usage errors
    // add the short usage text.
    int Finish(const QString &command, const CliStatus &status);

private:
    QTextStream &m_out;
    QTextStream &m_err;
    bool m_json;
    QJsonObject m_doc;
};
