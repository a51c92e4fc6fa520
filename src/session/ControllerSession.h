#pragma once
#include "core/params/LayoutValidation.h"
#include "core/params/uConfig.h"
#include "core/protocol/BiosInfo.h"
#include "core/protocol/DeviceCrypto.h"
#include "device/DeviceIdentity.h"
#include "device/ParamIo.h"
#include "session/SessionResult.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>

class ControllerLock;
class HidDevice;
class TComHid;
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

// One controller session, shared by the window and the command line: choose
// a controller, identify it, read all its parameters, validate and write the
// changed ones, apply and save profiles, run its functions. Nothing here
// shows anything; every operation returns its result with the message the
// user is to see.
class ControllerSession {
public:
    explicit ControllerSession(TComHid *hid = nullptr);
    ~ControllerSession();

    // The transport, created when the device link starts; without one every
    // exchange fails as with an unplugged controller.
    void setTransport(TComHid *hid) { m_hid = hid; }
    TComHid *transport() const { return m_hid; }

    // --- choosing
    // Selects entry `index` of the transport's device list.
    void select(int index);
    // Selects by serial number (any letter case) or, with an empty serial,
    // the only controller present.
    SessionResult selectSerial(const QString &serial);
    QString serial() const { return m_serial; }
    SessionTicket ticket() const;
    bool holds(const SessionTicket &ticket) const;

    // --- identifying: firmware and CPU information, version check, access
    // words. A controller that cannot be opened says why, before any exchange.
    SessionResult identify(TDeviceReadouts &readouts, bool *identified = nullptr);
    TBiosInfo BiosInfo;
    TCrypt Crypt{};

    // --- parameters
    TCfg &cfg() { return m_cfg; }
    const TCfg &cfg() const { return m_cfg; }
    // True while the parameter set reflects the open controller; whoever
    // wants a fresh load clears it first.
    bool CfgLoaded = false;
    // Reads every parameter into the parameter set unless CfgLoaded is set.
    // Stops at the first failure with "Error reading Config = ".
    SessionResult readAll();
    // Reads the parameters at `indexes` (read order) without touching the set.
    SessionResult read(const QList<int> &indexes, QList<TCfgData> *params);
    // Checks the arrangement, then writes every changed parameter in list
    // order; each success counts as the controller's value at once. Writes
    // nothing unless `ticket` still holds.
    SessionResult writeChanged(const LayoutArrangement &arrangement, const SessionTicket &ticket);
    // The arrangement the parameter values describe (the command line's check).
    LayoutArrangement paramArrangement() const;

    // --- profiles
    // Saves the identity and every parameter; refused while the parameters
    // were not all read from this controller.
    SessionResult saveProfile(const QString &fileName) const;
    // Applies a profile: checks it whole, loads the parameters first if the
    // set does not hold them all, stores the file's values (never the
    // capacity, which belongs to the controller), runs `send` and then
    // `reload` whatever the send did. The front ends bring their own send
    // (the window checks its editor) and reload (the window shows the
    // values); `reload` is expected to clear CfgLoaded and read again.
    // Returns the failure of the check or of a load; the send reports its own.
    using Step = std::function<SessionResult()>;
    SessionResult applyProfile(const ParsedProfile &profile, const Step &send, const Step &reload);

    // --- device functions; each refuses a ticket that no longer holds.
    SessionResult restart(const SessionTicket &ticket);
    SessionResult testPattern(const SessionTicket &ticket);
    // Resets to the defaults; after the settle time CfgLoaded is cleared,
    // so the next load reads the defaults back.
    SessionResult resetDefaults(const SessionTicket &ticket);

    TAnswerBuf Buf{};

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

private:
    TComHid *m_hid;
    std::unique_ptr<ControllerLock> m_lock;
    int m_sequenceDepth = 0;
    QString m_serial;
    TCfg m_cfg;
};
