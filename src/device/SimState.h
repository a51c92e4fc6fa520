#pragma once
#include <QJsonObject>
#include <QObject>
#include <QString>

#include <functional>

class SimBus;
class SimUnit;

// Keeps the parameters of simulated controllers across runs, as a real
// controller keeps its configuration across power cycles.
//
// One JSON file holds the parameters per serial number:
//   { "format": 1, "controllers": { "SIM0001": { "BRIG": 150, ... }, ... } }
// with all 21 tags per controller, values as unsigned 32-bit numbers.
// Entries of controllers that are not on the bus stay in the file, so runs
// with different numbers of controllers share one file.
//
// A missing file means factory settings. A file that cannot be read or does
// not have that form also means factory settings, with a warning; it is left
// in place until the next change, which first moves it aside to
// "<file>.corrupt" so nothing is lost without a trace.
class SimState : public QObject {
    Q_OBJECT
public:
    // Lives as long as the bus (its parent).
    SimState(SimBus &bus, QString path);

    // The per-user default: <data folder>/corvane/corvane-config/simulated-controllers.json,
    // the same for the window and the command line whatever names they run under.
    static QString DefaultPath();

    QString Path() const { return m_path; }

    // Gives every controller on the bus the parameters stored for its serial
    // number (its capacity LMAX stays its own). Returns false, with the
    // reason in `warning`, when the file exists but is unusable.
    bool Load(QString *warning);

    // Stores the current parameters of `unit`, atomically. On failure the
    // previous file is left as it was.
    bool Save(const SimUnit &unit, QString *error);

    // From now on, saves after every accepted write or reset; a failed save
    // is reported through OnWarning.
    void Follow();
    std::function<void(const QString &)> OnWarning;

    // Creates the state of `bus` at `pathOrEmpty` (empty: DefaultPath()),
    // loads it and follows the bus. Problems go to `warning` and OnWarning.
    static SimState *Attach(SimBus &bus, const QString &pathOrEmpty, QString *warning);

private:
    SimBus &m_bus;
    QString m_path;
};

// Loads the simulated controllers' state and keeps saving it; warnings go to
// standard error. Called once, right after the controllers are added; does
// nothing for a bus without controllers.
void AttachSimState(SimBus &bus, const QString &pathOrEmpty);
