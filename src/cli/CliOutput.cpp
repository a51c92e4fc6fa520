#include "cli/CliOutput.h"

#include "core/text/VisibleText.h"

#include <cstdio>

namespace {

constexpr int kFormat = 1;

Json header(const QString &command, const CliStatus &status)
{
    Json doc = Json::object();
    doc["format"] = kFormat;
    doc["command"] = toJson(command);
    doc["ok"] = status.ok();
    doc["exitCode"] = status.code;
    if (!status.ok())
        doc["error"] = toJson(status.message);
    return doc;
}

} // namespace

Json toJson(const QString &text)
{
    return Json(text.toStdString());
}

CliOutput::CliOutput(QTextStream &out, QTextStream &err, bool json)
    : m_out(out)
    , m_err(err)
    , m_json(json)
{
}

void CliOutput::warn(const QString &text)
{
    m_err << visibleText(text) << '\n';
    m_err.flush();
}

int CliOutput::usage(const QString &command, const QString &message)
{
    m_err << "corvane-cli: " << visibleText(message) << "\nTry 'corvane-cli --help' for more information.\n";
    m_err.flush();
    if (m_json)
        writeDocument(header(command, CliStatus::Usage(message)));
    return ExitUsage;
}

int CliOutput::finish(const QString &command, const CliReport &report)
{
    for (const QString &t : report.trace + report.notes)
        m_err << visibleText(t) << '\n';
    if (!report.status.ok())
        m_err << visibleText(report.status.message) << '\n';
    m_err.flush();
    if (m_json) {
        Json doc = header(command, report.status);
        doc.update(report.data);
        writeDocument(doc);
    } else {
        for (const QString &l : report.lines)
            m_out << visibleText(l) << '\n';
    }
    m_out.flush();
    return report.status.code;
}

int CliOutput::finishAll(const QString &command, const QList<std::pair<QString, CliReport>> &reports)
{
    CliStatus worst;
    Json controllers = Json::array();
    for (const auto &[serial, report] : reports) {
        if (report.status.code > worst.code)
            worst = report.status;
        const QString shownSerial = visibleText(serial);
        for (const QString &t : report.trace + report.notes)
            m_err << shownSerial << ": " << visibleText(t) << '\n';
        if (!report.status.ok())
            m_err << shownSerial << ": " << visibleText(report.status.message) << '\n';
        if (m_json) {
            Json entry = Json::object();
            entry["serial"] = toJson(serial);
            entry["ok"] = report.status.ok();
            entry["exitCode"] = report.status.code;
            if (!report.status.ok())
                entry["error"] = toJson(report.status.message);
            entry.update(report.data);
            controllers.push_back(entry);
        } else {
            m_out << "[" << shownSerial << "]\n";
            for (const QString &l : report.lines)
                m_out << visibleText(l) << '\n';
        }
    }
    m_err.flush();
    if (reports.isEmpty())
        worst = CliStatus::NoController(QStringLiteral("No CORVANE connected"));
    if (m_json) {
        // The run's own error is the worst controller's, named by its block.
        Json doc = header(command, worst);
        doc["controllers"] = controllers;
        writeDocument(doc);
    }
    m_out.flush();
    return worst.code;
}

void CliOutput::event(const QString &text, Json data)
{
    if (m_json) {
        Json doc = Json::object();
        doc["format"] = kFormat;
        doc.update(data);
        m_out << QString::fromStdString(doc.dump(-1, ' ', false, Json::error_handler_t::replace)) << '\n';
    } else {
        m_out << visibleText(text) << '\n';
    }
    m_out.flush();
}

void CliOutput::writeDocument(Json doc)
{
    m_out << QString::fromStdString(doc.dump(2, ' ', false, Json::error_handler_t::replace)) << '\n';
    m_out.flush();
}

void CliOutput::makeLogMessagesVisible()
{
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &message) {
        std::fputs(qPrintable(visibleText(qFormatLogMessage(type, context, message)) + u'\n'), stderr);
    });
}
