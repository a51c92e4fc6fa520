#include "session/ControllerSession.h"

#include "core/files/ProfileFile.h"
#include "core/protocol/ParamTags.h"
#include "session/ControllerHints.h"
#include "session/ControllerLock.h"
#include "device/DeviceFunctions.h"
#include "device/uComHid.h"

#include <chrono>
#include <thread>

namespace {


SessionResult exchangeFailed(const char *prefix, uint16_t status)
{
    return SessionResult::failed(QLatin1String(prefix) + ErrToStr(status), status);
}

} // namespace

ControllerSession::ControllerSession(TComHid *hid)
    : m_hid(hid)
{
}

ControllerSession::~ControllerSession() = default;

ControllerSession::Sequence::Sequence(ControllerSession &session)
    : m_session(session)
{
    // Without a controller there is nothing to keep apart; every exchange
    // fails by itself.
    if (m_session.m_sequenceDepth++ > 0 || !m_session.m_hid || !m_session.m_hid->device())
        return;
    QString error;
    m_session.m_lock = ControllerLock::acquire(m_session.m_serial, ControllerLock::kWaitMs, &error);
    if (!m_session.m_lock)
        m_result = SessionResult::failed(error);
}

ControllerSession::Sequence::~Sequence()
{
    if (--m_session.m_sequenceDepth == 0)
        m_session.m_lock.reset();
}

void ControllerSession::select(int index)
{
    if (!m_hid)
        return;
    m_hid->SetDevice(index);
    m_serial = index >= 0 && index < m_hid->devices().size() ? m_hid->devices()[index].Text : QString();
}

SessionResult ControllerSession::selectSerial(const QString &serial)
{
    QStringList serials;
    QList<int> matches;
    const QList<TDevListEntry> devices = m_hid ? m_hid->devices() : QList<TDevListEntry>();
    for (int i = 0; i < devices.size(); ++i) {
        serials << devices[i].Text;
        if (serial.isEmpty() || devices[i].Text.compare(serial, Qt::CaseInsensitive) == 0)
            matches << i;
    }
    const QString present = serials.join(QStringLiteral(", "));
    if (serials.isEmpty())
        return SessionResult::noController(NoControllerMessage());
    if (matches.isEmpty())
        return SessionResult::noController(
            QStringLiteral("No CORVANE with serial number %1 connected (connected: %2)").arg(serial, present));
    if (matches.size() > 1) {
        // Two controllers without a serial number both read "SERIAL IS MISSING".
        return SessionResult::failed(
            serial.isEmpty() ? QStringLiteral("Several CORVANE connected, choose one with --device: %1").arg(present)
                             : QStringLiteral("Several CORVANE with serial number %1 connected").arg(serial));
    }
    select(matches.first());
    return {};
}

SessionTicket ControllerSession::ticket() const
{
    return {m_serial, m_hid ? m_hid->device() : nullptr};
}

bool ControllerSession::holds(const SessionTicket &ticket) const
{
    const auto device = ticket.device.lock();
    return device && m_hid && m_hid->device() == device && ticket.serial == m_serial;
}

SessionResult ControllerSession::identify(TDeviceReadouts &readouts, bool *identified)
{
    if (identified)
        *identified = false;
    if (!m_hid)
        return exchangeFailed("Error Reading Biosinfo = ", Status::CommunicationError);
    // Without access every exchange would fail; the reason is what helps.
    if (m_hid->device() && !m_hid->device()->AccessProblem().isEmpty())
        return SessionResult::noAccess(m_hid->device()->AccessProblem());
    const Sequence sequence(*this);
    if (!sequence.result().ok())
        return sequence.result();
    const TIdentifyResult r = IdentifyDevice(*m_hid, BiosInfo, Crypt, readouts);
    if (identified)
        *identified = r.Result;
    if (!r.Error.isEmpty())
        return SessionResult::failed(r.Error);
    return {};
}

SessionResult ControllerSession::readAll()
{
    if (CfgLoaded)
        return {};
    const Sequence sequence(*this);
    m_cfg.beginLoad();
    if (!sequence.result().ok()) {
        m_cfg.appendUnread(tagCode(0));
        return sequence.result();
    }
    for (int i = 0; i < kParamTagCount; ++i) {
        const QByteArray code(tagCode(i));
        uint32_t value = 0;
        const uint16_t r = m_hid ? ReadParameter(*m_hid, Buf, code, Crypt[kCryptReadWord], value)
                                 : Status::CommunicationError;
        if (r >= Status::FirstFailure) {
            m_cfg.appendUnread(code);
            return exchangeFailed("Error reading Config = ", r);
        }
        m_cfg.appendRead(code, value);
    }
    m_cfg.finishLoad();
    CfgLoaded = true;
    return {};
}

SessionResult ControllerSession::read(const QList<int> &indexes, QList<TCfgData> *params)
{
    const Sequence sequence(*this);
    if (!sequence.result().ok())
        return sequence.result();
    for (int index : indexes) {
        const QByteArray code(tagCode(index));
        uint32_t value = 0;
        const uint16_t r = m_hid ? ReadParameter(*m_hid, Buf, code, Crypt[kCryptReadWord], value)
                                 : Status::CommunicationError;
        if (r >= Status::FirstFailure)
            return exchangeFailed("Error reading Config = ", r);
        params->append(TCfgData(code, value));
    }
    return {};
}

SessionResult ControllerSession::writeChanged(const LayoutArrangement &arrangement, const SessionTicket &ticket)
{
    if (const auto problem = validateLayout(arrangement, m_cfg.LedMaxCnt))
        return SessionResult::invalid(*problem);
    if (!m_cfg.changed())
        return {};
    const bool held = holds(ticket);
    const Sequence sequence(*this);
    if (held && !sequence.result().ok())
        return sequence.result();
    const QList<TCfgData> &data = m_cfg.CfgData;
    const QList<TCfgData> &orig = m_cfg.CfgOrig;
    for (qsizetype i = 0; i < qMin(data.size(), orig.size()); ++i) {
        if (data[i].Value == orig[i].Value)
            continue;
        // Values changed for a controller that is no longer the open one
        // never reach another: as far as they go, their controller is gone.
        const uint16_t r = held && m_hid
            ? WriteParameter(*m_hid, Buf, data[i].Code, data[i].Value, Crypt[kCryptWriteWord])
            : Status::CommunicationError;
        if (r != Status::Ok)
            return exchangeFailed("Error writing Config = ", r);
        m_cfg.markWritten(i);
    }
    return {};
}

LayoutArrangement ControllerSession::paramArrangement() const
{
    return LayoutArrangement::fromParams(m_cfg.CfgData);
}

SessionResult ControllerSession::saveProfile(const QString &fileName) const
{
    if (!m_cfg.complete())
        return SessionResult::failed(
            QStringLiteral("Not saved: %1 and the parameters after it were not read from this CORVANE. "
                           "Choose the CORVANE again to read its configuration.")
                .arg(m_cfg.firstUnread()));
    QList<ProfileParam> params;
    for (const TCfgData &d : m_cfg.CfgData)
        params.append({d.Code, d.Value});
    QString error;
    if (!ProfileFile::writeProfileFile(fileName, BiosInfo.SysId, BiosInfo.ToolVers, params, &error))
        return SessionResult::failed(error);
    return {};
}

SessionResult ControllerSession::applyProfile(const ParsedProfile &profile, const Step &send, const Step &reload)
{
    // The whole file is checked before anything is applied, so a bad value
    // never leaves the parameter set half changed.
    if (const QString error = profile.loadError(BiosInfo.SysId); !error.isEmpty())
        return SessionResult::failed(error);
    // Nothing of another program comes between the writes and the read-back.
    const Sequence sequence(*this);
    if (!sequence.result().ok())
        return sequence.result();
    // Values are only ever applied over what this controller holds.
    if (!m_cfg.complete()) {
        if (SessionResult r = reload(); !r.ok())
            return r;
    }
    for (const ProfileParam &p : profile.params) {
        // The capacity is the controller's own, not a setting: the firmware
        // refuses it, and being first it would stop every later write.
        if (tagIndex(p.code) != tagIndexOf(ParamTag::LMAX))
            m_cfg.SetConfig(p.code, p.value); // tags that name no parameter are skipped
    }
    send();
    return reload();
}

SessionResult ControllerSession::restart(const SessionTicket &ticket)
{
    const Sequence sequence(*this);
    if (holds(ticket) && !sequence.result().ok())
        return sequence.result();
    const uint16_t r = holds(ticket) ? RestartDevice(*m_hid, Buf, Crypt[kCryptWriteWord]) : Status::CommunicationError;
    return r == Status::Ok ? SessionResult() : exchangeFailed("Restart Error = ", r);
}

SessionResult ControllerSession::testPattern(const SessionTicket &ticket)
{
    const Sequence sequence(*this);
    if (holds(ticket) && !sequence.result().ok())
        return sequence.result();
    const uint16_t r = holds(ticket) ? ActivateTestPattern(*m_hid, Buf) : Status::CommunicationError;
    return r == Status::Ok ? SessionResult() : exchangeFailed("Pattern Error = ", r);
}

SessionResult ControllerSession::resetDefaults(const SessionTicket &ticket)
{
    const Sequence sequence(*this);
    if (holds(ticket) && !sequence.result().ok())
        return sequence.result();
    const uint16_t r = holds(ticket) ? ResetToDefaults(*m_hid, Buf, Crypt[kCryptWriteWord]) : Status::CommunicationError;
    if (r != Status::Ok)
        return exchangeFailed("Reset Error = ", r);
    // The controller needs a moment before its defaults can be read back.
    std::this_thread::sleep_for(std::chrono::milliseconds(kResetSettleMs));
    CfgLoaded = false;
    return {};
}
