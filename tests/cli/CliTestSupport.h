#pragma once
#include "QtPrinters.h"
#include "cli/CliRun.h"
#include "device/SimBus.h"
#include "device/SimUnit.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <gtest/gtest.h>

// One in-process run of corvane-cli: exit code and both output streams.
struct CliRunResult {
    int code = -1;
    QString out;
    QString err;

    QStringList lines() const { return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }
    QJsonObject json() const { return QJsonDocument::fromJson(out.toUtf8()).object(); }
};

inline CliRunResult RunCliArgs(const QStringList &args, SimBus *bus = nullptr)
{
    CliRunResult r;
    QTextStream out(&r.out);
    QTextStream err(&r.err);
    r.code = runCli(QStringList{QStringLiteral("corvane-cli")} + args, out, err, bus);
    out.flush();
    err.flush();
    return r;
}

// The sim bus messages that follow a command (a restart's leave) must not
// reach the next test.
inline void DrainEvents()
{
    QCoreApplication::processEvents();
}

// One sane simulated controller, and runs of the command line against it.
class CliOneController : public ::testing::Test {
protected:
    void SetUp() override { unit = bus.add(SimControllerModel::sane(1)); }
    void TearDown() override { DrainEvents(); }
    CliRunResult run(const QStringList &args) { return RunCliArgs(args, &bus); }

    SimBus bus;
    SimUnit *unit = nullptr;
};
