#pragma once
#include "cli/CliExit.h"

#include <QString>
#include <QStringList>

#include <nlohmann/json.hpp>

using Json = nlohmann::ordered_json;

Json toJson(const QString &text);

// What a command produced for one controller: lines for the text output,
// data for the JSON document (keys in the order they are set), messages for
// standard error, and how it ended.
struct CliReport {
    QStringList lines;
    QStringList trace; // reports exchanged, when traced
    QStringList notes; // what the session adjusted, for standard error
    Json data = Json::object();
    QByteArray raw; // bytes for standard output instead of lines (a profile saved to "-")
    CliOutcome status;

    static CliReport failed(const CliOutcome &status)
    {
        CliReport report;
        report.status = status;
        return report;
    }
    void line(const QString &text) { lines << text; }
    void set(const char *key, Json value) { data[key] = std::move(value); }
    // The serial number this report is about, where it names one.
    QString serial() const;
};
