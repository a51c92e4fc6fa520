#include "cli/CliOutput.h"

#include "core/text/VisibleText.h"

#include <QIODevice>

#include <cstdio>

namespace {

// 2: snake_case keys, the error as an object with a code.
constexpr int kFormat = 2;

Json header(const QString &command, const CliOutcome &outcome, const QString &serial)
{
    Json doc = Json::object();
    doc["format"] = kFormat;
    doc["command"] = toJson(command);
    doc.update(outcomeJson(outcome, serial));
    return doc;
}

} // namespace

Json toJson(const QString &text)
{
    return Json(text.toStdString());
}

QString CliReport::serial() const
{
    const auto it = data.find("serial");
    return it != data.end() && it->is_string() ? QString::fromStdString(it->get<std::string>()) : QString();
}

Json outcomeJson(const CliOutcome &outcome, const QString &serial)
{
    Json doc = {{"ok", outcome.ok()}, {"exit_code", outcome.exit()}};
    if (outcome.ok())
        return doc;
    Json error = {{"code", errorCode(outcome.error)}, {"message", toJson(outcome.message())}};
    if (!outcome.field.isEmpty())
        error["field"] = toJson(outcome.field);
    if (!outcome.result.tag.isEmpty())
        error["tag"] = toJson(outcome.result.tag);
    if (!serial.isEmpty())
        error["serial"] = toJson(serial);
    doc["error"] = error;
    return doc;
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

int CliOutput::usage(const QString &command, const CliOutcome &outcome)
{
    m_err << "corvane-cli: " << visibleText(outcome.message()) << "\nTry 'corvane-cli --help' for more information.\n";
    m_err.flush();
    if (m_json)
        writeDocument(header(command, outcome, {}));
    return outcome.exit();
}

int CliOutput::finish(const QString &command, const CliReport &report)
{
    for (const QString &t : report.trace + report.notes)
        m_err << visibleText(t) << '\n';
    if (!report.status.ok())
        m_err << visibleText(report.status.message()) << '\n';
    m_err.flush();
    if (m_json) {
        Json doc = header(command, report.status, report.serial());
        doc.update(report.data);
        writeDocument(doc);
    } else {
        for (const QString &l : report.lines)
            m_out << visibleText(l) << '\n';
        m_out.flush();
        // Bytes as they are (a profile asked for on standard output): a
        // text stream would recode them.
        if (QIODevice *device = m_out.device(); device && !report.raw.isEmpty())
            device->write(report.raw);
        else if (QString *text = m_out.string(); text && !report.raw.isEmpty())
            text->append(QString::fromUtf8(report.raw));
    }
    m_out.flush();
    return report.status.exit();
}

int CliOutput::finishAll(const QString &command, const QList<std::pair<QString, CliReport>> &reports)
{
    const std::pair<QString, CliReport> *worst = nullptr;
    Json controllers = Json::array();
    for (const auto &entry : reports) {
        const auto &[serial, report] = entry;
        if (!worst || report.status.exit() > worst->second.status.exit())
            worst = &entry;
        const QString shownSerial = visibleText(serial);
        for (const QString &t : report.trace + report.notes)
            m_err << shownSerial << ": " << visibleText(t) << '\n';
        if (!report.status.ok())
            m_err << shownSerial << ": " << visibleText(report.status.message()) << '\n';
        if (m_json) {
            Json block = {{"serial", toJson(serial)}};
            block.update(outcomeJson(report.status, serial));
            block.update(report.data);
            controllers.push_back(block);
        } else {
            m_out << "[" << shownSerial << "]\n";
            for (const QString &l : report.lines)
                m_out << visibleText(l) << '\n';
        }
    }
    m_err.flush();
    const CliOutcome outcome = worst ? worst->second.status : CliOutcome();
    if (m_json) {
        // The run's own error is the worst controller's, naming its serial.
        Json doc = header(command, outcome, worst && !outcome.ok() ? worst->first : QString());
        doc["controllers"] = controllers;
        writeDocument(doc);
    }
    m_out.flush();
    return outcome.exit();
}

void CliOutput::event(const QString &text, Json data)
{
    if (m_json) {
        Json doc = {{"format", kFormat}};
        doc.update(data);
        writeDocument(doc);
    } else {
        m_out << visibleText(text) << '\n';
        m_out.flush();
    }
}

void CliOutput::writeDocument(const Json &doc)
{
    const int indent = m_stream ? -1 : 2;
    m_out << QString::fromStdString(doc.dump(indent, ' ', false, Json::error_handler_t::replace)) << '\n';
    m_out.flush();
}

void CliOutput::makeLogMessagesVisible()
{
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &message) {
        std::fputs(qPrintable(visibleText(qFormatLogMessage(type, context, message)) + u'\n'), stderr);
    });
}
