#include "cli/CliOutput.h"

#include "cli/CliOptions.h"

#include <QJsonDocument>

CliOutput::CliOutput(QTextStream &out, QTextStream &err, bool json)
    : m_out(out)
    , m_err(err)
    , m_json(json)
{
}

void CliOutput::Line(const QString &text)
{
    if (!m_json)
        m_out << text << '\n';
}

void CliOutput::Set(const QString &key, const QJsonValue &value)
{
    if (m_json)
        m_doc.insert(key, value);
}

void CliOutput::Warn(const QString &text)
{
    m_err << text << '\n';
    m_err.flush();
}

int CliOutput::Finish(const QString &command, const CliStatus &status)
{
    if (!status.ok()) {
        m_err << (status.code == ExitUsage ? QStringLiteral("corvane-cli: ") : QString()) << status.message << '\n';
        if (status.code == ExitUsage)
            m_err << CliUsageText();
    }
    if (m_json) {
        m_doc.insert(QStringLiteral("command"), command);
        m_doc.insert(QStringLiteral("ok"), status.ok());
        m_doc.insert(QStringLiteral("exitCode"), status.code);
        if (!status.ok())
            m_doc.insert(QStringLiteral("error"), status.message);
        m_out << QJsonDocument(m_doc).toJson(QJsonDocument::Indented);
    }
    m_out.flush();
    m_err.flush();
    return status.code;
}
