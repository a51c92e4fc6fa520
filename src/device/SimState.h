#pragma once
#include <QHash>
#include <QMap>
#include <QJsonObject>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QString>

#include <functional>

class SimBus;
class SimUnit;

// Keeps the parameters of simulated controllers across runs, as a real
// controller keeps its configuration across power cycles.
//
// One JSON file (see SimStateFile.h) holds the parameters per serial number.
// Entries of controllers that are not on the bus stay in the file, so runs
// with different numbers of controllers share one file, and the window and
// the command line may use it at the same time: each save takes a lock,
// reads the file again and writes only the parameters this process changed.
//
// A missing file means factory settings. A file that cannot be read or does
// not have that form also means factory settings, with a warning; it is left
// in place until the next change, which first moves it aside under a new
// name, so nothing is lost without a trace. A name that is no regular file
// (a folder, a device, a FIFO) is never read, written or moved: changes are
// then not kept, and every save says so.
class SimState : public QObject {
    Q_OBJECT
public:
    // Lives as long as the bus (its parent).
    SimState(SimBus &bus, QString path);

    // The per-user default: <data folder>/corvane/corvane-config/simulated-controllers.json,
    // the same for the window and the command line whatever names they run under.
    static QString defaultPath();

    QString path() const { return m_path; }

    // Gives every controller on the bus the parameters stored for its serial
    // number (its capacity LMAX stays its own). A file that exists but is
    // unusable leaves factory settings and its reason in `warning`.
    void load(QString *warning);

    // Stores the parameters of `unit` that changed since they were last
    // loaded or saved, atomically and under the lock; the unit then holds
    // what the file holds (another process's changes included). On failure
    // the previous file is left as it was and `error` names the file.
    bool save(SimUnit &unit, QString *error);

    // From now on, saves after every accepted write or reset. A change made
    // in this object's thread is saved at once, so a command that checks
    // SaveError right after sees the outcome. Changes made in controllers'
    // own threads (--all) are gathered and saved together, with one read
    // and one write of the file, when this thread next handles its events.
    void follow();

    // Empty while the file holds every accepted change (of the controller
    // with this serial number, or of all); otherwise why its latest save
    // failed. A front end that reports success checks it.
    QString saveError(const QString &serial = {}) const
    {
        return serial.isEmpty() ? m_failed.value(m_failed.isEmpty() ? QString() : m_failed.firstKey())
                                : m_failed.value(serial);
    }

    // Called with the message when saving starts failing (not again for
    // every further failure until a save succeeds).
    std::function<void(const QString &)> onWarning;

    // Creates the state of `bus` at `pathOrEmpty` (empty: DefaultPath()),
    // loads it and follows the bus. Problems go to `warning` and OnWarning.
    static SimState *attach(SimBus &bus, const QString &pathOrEmpty, QString *warning);

signals:
    // As OnWarning, for receivers that show it later (the window).
    void saveFailed(const QString &message);

private:
    bool saveUnits(const QList<SimUnit *> &units, QString *error);
    // The unit takes what the file holds for it now (another program's
    // changes), as the controller a session has just taken.
    void refresh(SimUnit *unit);
    void changed(SimUnit *unit);
    void savePending();
    void noteSaveResult(const QString &serial, bool ok, const QString &error);

    SimBus &m_bus;
    QString m_path;
    QMap<QString, QString> m_failed; // serial number -> why its latest save failed
    // Per serial number: the values the file held when this process last
    // read or wrote them; whatever differs from these was changed here.
    QHash<QString, QJsonObject> m_known;
    QMutex m_knownMutex; // guards m_known: controllers' threads refresh their entries
    QMutex m_pendingMutex; // guards m_pending, which controllers' threads fill
    QList<SimUnit *> m_pending;
};
