#pragma once
#include "core/params/uConfig.h"
#include "core/protocol/BiosInfo.h"
#include "core/protocol/DeviceCrypto.h"
#include "device/DeviceIdentity.h"
#include "device/ParamIo.h"
#include "device/uComHid.h"
#include "session/FieldChanges.h"
#include "session/SessionResult.h"

#include <QList>
#include <QObject>
#include <QString>

#include <array>
#include <bitset>
#include <functional>
#include <memory>

class ControllerLock;
struct ParsedProfile;

// Which controller an operation was started for: its serial number and the
// open device object. An operation that waits (a question, pending events,
// the auto-send countdown) shows its ticket before it writes; once another
// controller is open, or the same one came back as a new device, the ticket
// no longer holds and nothing is written.
struct SessionTicket {
    QString serial;
    std::weak_ptr<HidDevice> device;
};

// A controller listed on the bus, to open in a session of its own.
using ControllerHandle = DevListEntry;

// A controller on the bus as a list shows it.
struct ControllerInfo {
    QString serial;
    uint16_t release = 0;
    QString accessProblem; // why it cannot be opened; empty when it can
};

// What applying a profile did beside its result.
struct ProfileApplied {
    bool reached = false;            // the file's values were good and went to the controller
    QList<TCfgData> written;         // in write order
    QList<FieldAdjustment> adjusted; // lowered by the protocol's limits
};

// Where a parameter's value came from.
enum class ValueSource {
    None, // never read from this controller: not to be saved, sent or shown
    Read, // read from the open controller in this session
    User, // set by the user (an edit, a command line, a profile)
};

// The controller session both front ends drive: it follows the bus, opens a
// controller by serial number, identifies it, keeps its parameters with
// where each value came from, judges every change by one rule (setFields),
// writes what changed, applies and saves profiles and runs the controller's
// functions. Nothing here shows anything; every operation returns its
// result with the message the user is to see.
//
// Threads: a session and its transport belong to the thread that made
// them. The session that follows the bus lives on the main thread; a
// session for one controller of that bus (the second constructor) may be
// made on a thread of its own, one per controller, so the protocol waits of
// several controllers overlap while each controller's exchanges stay one
// sequence on one thread.
class ControllerSession : public QObject {
    Q_OBJECT
public:
    explicit ControllerSession(QObject *parent = nullptr);
    // A session for one controller listed by a session that follows the
    // bus; it is selected at once and never follows the bus itself.
    explicit ControllerSession(const ControllerHandle &controller, QObject *parent = nullptr);
    ~ControllerSession() override;

    // --- the bus
    // Starts following the bus through the controller `factory` makes. The
    // first scan, and its controllersChanged, happen before this returns.
    void start(HidControllerFactory factory, TComHid::TraceSink trace = {});
    bool started() const { return bool(m_hid); }
    // Every report exchanged from now on goes to `sink` too.
    void setTrace(TComHid::TraceSink sink)
    {
        if (m_hid)
            m_hid->setTrace(std::move(sink));
    }
    // Why no controller can be reached at all; empty when the bus works.
    QString startError() const;
    QList<ControllerInfo> controllers() const;
    // The listed controllers, to open in sessions of their own.
    QList<ControllerHandle> controllerHandles() const;

    // --- choosing
    // Opens entry `index` of the list; the values of any earlier controller
    // are dropped.
    void select(int index);
    // Selects by serial number (any letter case) or, with an empty serial,
    // the only controller present.
    SessionResult selectSerial(const QString &serial);
    QString serial() const { return m_serial; }
    // The controller chosen is still on the bus (as the same device).
    bool selectedPresent() const { return m_hid && m_hid->device(); }
    SessionTicket ticket() const;
    bool holds(const SessionTicket &ticket) const;

    // --- identifying: firmware and CPU information, version check, access
    // words. A controller that cannot be opened says why, before any exchange.
    SessionResult identify(DeviceReadouts &readouts, bool *identified = nullptr);
    const TBiosInfo &biosInfo() const { return BiosInfo; }

    // --- values
    // Reads every parameter unless they were read since the controller was
    // chosen. Stops at the first failure with "Error reading Config = ".
    SessionResult readAll();
    bool loaded() const { return CfgLoaded; }
    // Reads the parameters at `indexes` (read order) without keeping them.
    SessionResult read(const QList<int> &indexes, QList<TCfgData> *params);
    // The parameters as the session holds them, in read order; only those
    // the last load reached.
    QList<TCfgData> params() const { return m_cfg.CfgData; }
    FieldValues fieldValues() const { return loadParams(m_cfg.CfgData); }
    ValueSource source(ParamTag tag) const { return m_source[std::size_t(tagIndexOf(tag))]; }
    // Every parameter came from this controller (or from the user on top).
    bool allRead() const;
    int capacity() const { return m_cfg.LedMaxCnt; }
    // Some value differs from what the controller holds.
    bool changed() const { return m_cfg.changed(); }

    // The one way to change values: judged together by one rule (see
    // planChanges); refused changes leave every value as it was.
    FieldsResult setFields(const QList<FieldChange> &fields, const QList<WordChange> &words = {},
                           WordCheck check = WordCheck::Fields);

    // Checks the arrangement, then writes every changed parameter in list
    // order; each success counts as the controller's value at once. Writes
    // nothing unless `ticket` still holds. `written` receives what was
    // written, also when a later write fails.
    SessionResult writeChanged(const SessionTicket &ticket, QList<TCfgData> *written = nullptr);

    // --- profiles
    // Saves the identity and every parameter; refused while a parameter was
    // not read from this controller.
    SessionResult saveProfile(const QString &fileName) const;
    // Applies a profile to the open controller: checks it whole (every value
    // against its field, the arrangement), reads the parameters first if
    // needed, stores the file's values (never the capacity, the
    // controller's own), writes what changed and reads everything back,
    // whatever the writes did. The first failure is returned; `written`,
    // when given, hears how the writes ended before the read-back starts.
    SessionResult applyProfile(const ParsedProfile &profile, const SessionTicket &ticket,
                               ProfileApplied *applied = nullptr,
                               const std::function<void(const SessionResult &)> &written = {});
    // The same checks, and the file's values taken into the parameter set
    // as applyProfile would write them, but nothing is written: what a
    // dry run compares with what the controller holds.
    SessionResult planProfile(const ParsedProfile &profile, QList<FieldAdjustment> *adjusted = nullptr);

    // --- device functions; each refuses a ticket that no longer holds.
    SessionResult restart(const SessionTicket &ticket);
    SessionResult testPattern(const SessionTicket &ticket);
    // Resets to the defaults and, after the settle time, reads them back.
    SessionResult resetDefaults(const SessionTicket &ticket);

    // Holds the open controller's lock for one exchange sequence, so no
    // other program's commands come between this one's; sequences inside a
    // sequence share the lock. A controller another program keeps busy
    // longer than ControllerLock::kWaitMs fails the sequence, naming it.
    class Sequence {
    public:
        explicit Sequence(ControllerSession &session);
        ~Sequence();
        Sequence(const Sequence &) = delete;
        Sequence &operator=(const Sequence &) = delete;
        const SessionResult &result() const { return m_result; }

    private:
        ControllerSession &m_session;
        SessionResult m_result;
    };

signals:
    // The bus was scanned (also when nothing changed).
    void controllersChanged();
    // `index` is its place in the list at the moment of the signal.
    void controllerArrived(const QString &serial, int index);
    void controllerLeft(const QString &serial);
    // A load of every parameter ended (also a failed one, and the read-back
    // after a profile or a reset).
    void loadFinished(const SessionResult &result);

private:
    void busScanned();
    void forgetValues();
    // Reads into the parameter set, `from` the tag at that index on.
    SessionResult readInto(int first, int count, const std::function<void(const QByteArray &, uint32_t)> &read);
    // A step that writes: the ticket must hold and the lock be had first.
    SessionResult guarded(const SessionTicket &ticket, const char *prefix, const std::function<uint16_t()> &exchange,
                          const std::function<SessionResult()> &then = {});
    SessionResult writeAll(QList<TCfgData> *written);
    // The controller's word `held` with the fields the user set taken from `mine`.
    uint32_t mergedWord(ParamTag tag, uint32_t held, uint32_t mine) const;
    ParamWords words() const;

    std::unique_ptr<TComHid> m_hid;
    std::unique_ptr<ControllerLock> m_lock;
    int m_sequenceDepth = 0;
    QString m_serial;
    QList<DevListEntry> m_listed; // the previous scan, to tell arrivals and departures

    TBiosInfo BiosInfo;
    CryptWords Crypt{};
    AnswerBuf Buf{};
    TCfg m_cfg;
    // True while the parameter set reflects the chosen controller.
    bool CfgLoaded = false;
    std::array<ValueSource, kParamTagCount> m_source{};
    // Fields the user set since the last load: a write merges them into
    // what the controller holds at that moment.
    std::bitset<kFieldCount> m_userFields;
    // Set while the values were read within the sequence still running.
    bool m_readInSequence = false;
};
