#include "session/ControllerSession.h"

#include "core/files/ProfileFile.h"
#include "core/params/LayoutValidation.h"
#include "core/protocol/ParamTags.h"
#include "device/DeviceFunctions.h"
#include "session/ControllerHints.h"
#include "session/ControllerLock.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

SessionResult exchangeFailed(const char *prefix, uint16_t status)
{
    return SessionResult::failed(QLatin1String(prefix) + ErrToStr(status), status);
}

// The controller's refusal names the parameter it refused.
SessionResult writeFailed(const QByteArray &code, uint16_t status)
{
    SessionResult r = exchangeFailed("Error writing Config = ", status);
    r.tag = QString::fromLatin1(code);
    r.message += QStringLiteral(": ") + r.tag;
    return r;
}

QString notReadText(const char *what, const QString &tag)
{
    return QStringLiteral("Not %1: %2 and the parameters after it were not read from this CORVANE. "
                          "Choose the CORVANE again to read its configuration.")
        .arg(QLatin1String(what), tag);
}

} // namespace

ControllerSession::ControllerSession(QObject *parent)
    : QObject(parent)
{
}

ControllerSession::ControllerSession(const ControllerHandle &controller, QObject *parent)
    : QObject(parent)
    , m_hid(std::make_unique<TComHid>(controller))
    , m_serial(controller.text)
{
}

ControllerSession::~ControllerSession() = default;

// --- the bus

void ControllerSession::start(HidControllerFactory factory, TComHid::TraceSink trace)
{
    if (m_hid)
        return;
    m_hid = std::make_unique<TComHid>(std::move(factory));
    if (trace)
        m_hid->setTrace(std::move(trace));
    m_hid->SetOnEnum([this] { busScanned(); });
}

QString ControllerSession::startError() const
{
    return m_hid ? m_hid->startError() : QString();
}

void ControllerSession::busScanned()
{
    const QList<DevListEntry> now = m_hid->devices();
    const auto listedIn = [](const QList<DevListEntry> &list, const DevListEntry &e) {
        return std::any_of(list.cbegin(), list.cend(), [&e](const DevListEntry &x) { return x.object == e.object; });
    };
    const QList<DevListEntry> before = std::exchange(m_listed, now);
    for (const DevListEntry &e : before) {
        if (!listedIn(now, e))
            emit controllerLeft(e.text);
    }
    for (int i = 0; i < now.size(); ++i) {
        if (!listedIn(before, now[i]))
            emit controllerArrived(now[i].text, i);
    }
    emit controllersChanged();
}

QList<ControllerInfo> ControllerSession::controllers() const
{
    QList<ControllerInfo> list;
    for (const DevListEntry &e : controllerHandles())
        list.append({e.text, e.object->VersionNumber(), e.object->accessProblem()});
    return list;
}

QList<ControllerHandle> ControllerSession::controllerHandles() const
{
    return m_hid ? m_hid->devices() : QList<DevListEntry>();
}

// --- choosing

void ControllerSession::select(int index)
{
    forgetValues();
    if (!m_hid)
        return;
    m_hid->SetDevice(index);
    const QList<DevListEntry> &devices = m_hid->devices();
    m_serial = index >= 0 && index < devices.size() ? devices[index].text : QString();
}

SessionResult ControllerSession::selectSerial(const QString &serial)
{
    QStringList serials;
    QList<int> matches;
    const QList<DevListEntry> devices = controllerHandles();
    for (int i = 0; i < devices.size(); ++i) {
        serials << devices[i].text;
        if (serial.isEmpty() || devices[i].text.compare(serial, Qt::CaseInsensitive) == 0)
            matches << i;
    }
    const QString present = serials.join(QStringLiteral(", "));
    if (serials.isEmpty())
        return SessionResult::noController(noControllerMessage());
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

void ControllerSession::forgetValues()
{
    CfgLoaded = false;
    m_cfg.beginLoad();
    m_source.fill(ValueSource::None);
    m_userFields.reset();
}

// --- identifying

SessionResult ControllerSession::identify(DeviceReadouts &readouts, bool *identified)
{
    if (identified)
        *identified = false;
    if (!m_hid)
        return exchangeFailed("Error Reading Biosinfo = ", Status::CommunicationError);
    // Without access every exchange would fail; the reason is what helps.
    if (m_hid->device() && !m_hid->device()->accessProblem().isEmpty())
        return SessionResult::noAccess(m_hid->device()->accessProblem());
    const Sequence sequence(*this);
    if (!sequence.result().ok())
        return sequence.result();
    const IdentifyResult r = identifyDevice(*m_hid, BiosInfo, Crypt, readouts);
    if (identified)
        *identified = r.result;
    if (!r.error.isEmpty())
        return SessionResult::failed(r.error, r.status);
    return {};
}

// --- values

SessionResult ControllerSession::readInto(int first, int count,
                                          const std::function<void(const QByteArray &, uint32_t)> &store)
{
    for (int i = first; i < first + count; ++i) {
        const QByteArray code(tagCode(i));
        uint32_t value = 0;
        const uint16_t r = m_hid ? readParameter(*m_hid, Buf, code, Crypt[kCryptReadWord], value)
                                 : Status::CommunicationError;
        if (r >= Status::FirstFailure) {
            SessionResult failed = exchangeFailed("Error reading Config = ", r);
            failed.tag = QString::fromLatin1(code);
            return failed;
        }
        store(code, value);
    }
    return {};
}

SessionResult ControllerSession::readAll()
{
    if (CfgLoaded)
        return {};
    forgetValues();
    SessionResult result;
    {
        const Sequence sequence(*this);
        result = sequence.result();
        if (result.ok()) {
            result = readInto(0, kParamTagCount, [this](const QByteArray &code, uint32_t value) {
                m_cfg.appendRead(code, value);
                m_source[std::size_t(tagIndex(code))] = ValueSource::Read;
            });
        }
        if (result.ok()) {
            m_cfg.finishLoad();
            CfgLoaded = true;
            m_readInSequence = true;
        } else {
            // The parameter that failed stays, unread, so the set says where the load stopped.
            m_cfg.appendUnread(tagCode(int(m_cfg.CfgData.size())));
            result.kind = SessionResult::Kind::LoadFailed;
        }
    }
    emit loadFinished(result);
    return result;
}

SessionResult ControllerSession::read(const QList<int> &indexes, QList<TCfgData> *params)
{
    const Sequence sequence(*this);
    if (!sequence.result().ok())
        return sequence.result();
    for (int index : indexes) {
        if (SessionResult r = readInto(index, 1, [params](const QByteArray &code, uint32_t value) {
                params->append(TCfgData(code, value));
            });
            !r.ok())
            return r;
    }
    return {};
}

bool ControllerSession::allRead() const
{
    return std::none_of(m_source.cbegin(), m_source.cend(), [](ValueSource s) { return s == ValueSource::None; });
}

ParamWords ControllerSession::words() const
{
    ParamWords words{};
    for (const TCfgData &d : m_cfg.CfgData) {
        if (const int index = tagIndex(d.Code); index >= 0)
            words[std::size_t(index)] = d.Value;
    }
    return words;
}

FieldsResult ControllerSession::setFields(const QList<FieldChange> &fields, const QList<WordChange> &words,
                                          WordCheck check)
{
    if (!allRead()) {
        // Values are only ever changed over what this controller holds.
        FieldsResult refused;
        const FieldId field = !fields.isEmpty() ? fields.first().field
                                                : paramRecord(words.isEmpty() ? ParamTag::LMAX : words.first().tag).fields.front().id;
        refused.refused.append({field, 0, notReadText("changed", m_cfg.firstUnread())});
        return refused;
    }
    const ChangePlan plan = planChanges(this->words(), m_cfg.LedMaxCnt, fields, words, check);
    if (!plan.result.ok())
        return plan.result;
    for (int i = 0; i < kParamTagCount; ++i) {
        if (!plan.touched.test(std::size_t(i)))
            continue;
        m_cfg.SetConfig(tagCode(i), plan.words[std::size_t(i)]);
        m_source[std::size_t(i)] = ValueSource::User;
    }
    m_userFields |= plan.userFields;
    return plan.result;
}

SessionResult ControllerSession::writeChanged(const SessionTicket &ticket, QList<TCfgData> *written)
{
    if (!allRead()) {
        // After a load that broke off nothing counts as changed; an edit
        // made on top of it cannot be sent.
        return m_cfg.changed() ? SessionResult::failed(notReadText("sent", m_cfg.firstUnread())) : SessionResult();
    }
    if (const auto problem = validateLayout(LayoutArrangement::fromParams(m_cfg.CfgData), m_cfg.LedMaxCnt))
        return SessionResult::invalid(*problem);
    if (!m_cfg.changed())
        return {};
    // Values changed for a controller that is no longer the open one never
    // reach another: as far as they go, their controller is gone.
    if (!holds(ticket))
        return exchangeFailed("Error writing Config = ", Status::CommunicationError);
    const Sequence sequence(*this);
    if (!sequence.result().ok())
        return sequence.result();
    return writeAll(written);
}

SessionResult ControllerSession::writeAll(QList<TCfgData> *written)
{
    for (qsizetype i = 0; i < qMin(m_cfg.CfgData.size(), m_cfg.CfgOrig.size()); ++i) {
        if (m_cfg.CfgData[i].Value == m_cfg.CfgOrig[i].Value)
            continue;
        const QByteArray code = m_cfg.CfgData[i].Code;
        const auto tag = static_cast<ParamTag>(tagIndex(code));
        if (!m_readInSequence) {
            // Another program may have changed this parameter since it was
            // read: the user's fields go onto what the controller holds now.
            uint32_t now = 0;
            const uint16_t r = readParameter(*m_hid, Buf, code, Crypt[kCryptReadWord], now);
            if (r >= Status::FirstFailure)
                return writeFailed(code, r); // the user is sending
            if (now != m_cfg.CfgOrig[i].Value) {
                m_cfg.CfgData[i].Value = mergedWord(tag, now, m_cfg.CfgData[i].Value);
                m_cfg.CfgOrig[i].Value = now;
                if (m_cfg.CfgData[i].Value == now)
                    continue;
            }
        }
        const TCfgData data = m_cfg.CfgData[i];
        const uint16_t r = writeParameter(*m_hid, Buf, data.Code, data.Value, Crypt[kCryptWriteWord]);
        if (r != Status::Ok)
            return writeFailed(code, r);
        m_cfg.markWritten(i);
        for (const ParamField &f : paramRecord(tag).fields)
            m_userFields.reset(std::size_t(fieldIndexOf(f.id)));
        if (written)
            written->append(data);
    }
    return {};
}

uint32_t ControllerSession::mergedWord(ParamTag tag, uint32_t held, uint32_t mine) const
{
    FieldValues merged{};
    FieldValues own{};
    loadParam(tag, held, merged);
    loadParam(tag, mine, own);
    bool whole = true;
    for (const ParamField &f : paramRecord(tag).fields) {
        if (m_userFields.test(std::size_t(fieldIndexOf(f.id))))
            at(merged, f.id) = at(own, f.id);
        else
            whole = false;
    }
    // A word the user gave whole is written as given, bits and all.
    return whole ? mine : packParam(tag, merged).value_or(held);
}

// --- profiles

SessionResult ControllerSession::saveProfile(const QString &fileName) const
{
    if (!allRead())
        return SessionResult::failed(notReadText("saved", m_cfg.firstUnread()));
    QList<ProfileParam> params;
    for (const TCfgData &d : m_cfg.CfgData)
        params.append({d.Code, d.Value});
    QString error;
    if (!ProfileFile::writeProfileFile(fileName, BiosInfo.SysId, BiosInfo.ToolVers, params, &error))
        return SessionResult::failed(error);
    return {};
}

SessionResult ControllerSession::planProfile(const ParsedProfile &profile, QList<FieldAdjustment> *adjusted)
{
    // The whole file is checked before anything is applied, so a bad value
    // never leaves the parameter set, or the controller, half changed.
    if (const QString error = profile.loadError(BiosInfo.SysId); !error.isEmpty())
        return SessionResult::failed(error);
    if (SessionResult r = readAll(); !r.ok())
        return r;
    QList<WordChange> words;
    for (const ProfileParam &p : profile.params) {
        // Tags that name no parameter are skipped; the capacity is the
        // controller's own, not a setting.
        const int index = tagIndex(p.code);
        if (index >= 0 && index != tagIndexOf(ParamTag::LMAX))
            words.append({static_cast<ParamTag>(index), p.value});
    }
    const ChangePlan plan = planChanges(this->words(), m_cfg.LedMaxCnt, {}, words, WordCheck::Profile);
    if (!plan.result.ok()) {
        const FieldRefusal &r = plan.result.refused.first();
        const ParamTag tag = paramField(r.field).tag;
        const uint32_t word = std::find_if(words.cbegin(), words.cend(), [tag](const WordChange &w) {
                                  return w.tag == tag;
                              })->word;
        return SessionResult::invalid(QStringLiteral("Not applied: %1=%2 in the file does not fit: %3")
                                          .arg(QLatin1String(tagCode(tag)))
                                          .arg(QString::fromLatin1(ProfileFile::formatValue(word)))
                                          .arg(wordFieldsProblem(tag, word)));
    }
    if (!plan.result.arrangementProblem.isEmpty())
        return SessionResult::invalid(plan.result.arrangementProblem);
    setFields({}, words, WordCheck::Profile);
    if (adjusted)
        *adjusted = plan.result.adjusted;
    return {};
}

SessionResult ControllerSession::applyProfile(const ParsedProfile &profile, const SessionTicket &ticket,
                                              ProfileApplied *applied,
                                              const std::function<void(const SessionResult &)> &written)
{
    if (const QString error = profile.loadError(BiosInfo.SysId); !error.isEmpty())
        return SessionResult::failed(error);
    if (!holds(ticket))
        return exchangeFailed("Error writing Config = ", Status::CommunicationError);
    // Nothing of another program comes between the reads, the writes and the read-back.
    const Sequence sequence(*this);
    if (!sequence.result().ok())
        return sequence.result();
    ProfileApplied ignored;
    ProfileApplied &out = applied ? *applied : ignored;
    if (SessionResult r = planProfile(profile, &out.adjusted); !r.ok())
        return r;
    out.reached = true;
    const SessionResult sent = writeChanged(ticket, &out.written);
    if (written)
        written(sent);
    // Show what the controller holds now, not what the file said.
    CfgLoaded = false;
    const SessionResult reload = readAll();
    return sent.ok() ? reload : sent;
}

// --- device functions

SessionResult ControllerSession::guarded(const SessionTicket &ticket, const char *prefix,
                                         const std::function<uint16_t()> &exchange,
                                         const std::function<SessionResult()> &then)
{
    if (!holds(ticket))
        return exchangeFailed(prefix, Status::CommunicationError);
    const Sequence sequence(*this);
    if (!sequence.result().ok())
        return sequence.result();
    if (const uint16_t r = exchange(); r != Status::Ok)
        return exchangeFailed(prefix, r);
    return then ? then() : SessionResult();
}

SessionResult ControllerSession::restart(const SessionTicket &ticket)
{
    return guarded(ticket, "Restart Error = ", [this] { return restartDevice(*m_hid, Buf, Crypt[kCryptWriteWord]); });
}

SessionResult ControllerSession::testPattern(const SessionTicket &ticket)
{
    return guarded(ticket, "Pattern Error = ", [this] { return activateTestPattern(*m_hid, Buf); });
}

SessionResult ControllerSession::resetDefaults(const SessionTicket &ticket)
{
    return guarded(
        ticket, "Reset Error = ", [this] { return resetToDefaults(*m_hid, Buf, Crypt[kCryptWriteWord]); },
        [this] {
            // The controller needs a moment before its defaults can be read back.
            std::this_thread::sleep_for(std::chrono::milliseconds(kResetSettleMs));
            CfgLoaded = false;
            return readAll();
        });
}

// --- the lock

ControllerSession::Sequence::Sequence(ControllerSession &session)
    : m_session(session)
{
    if (m_session.m_sequenceDepth++ > 0)
        return;
    m_session.m_readInSequence = false;
    // Without a controller there is nothing to keep apart; every exchange
    // fails by itself.
    if (!m_session.selectedPresent())
        return;
    QString error;
    m_session.m_lock = ControllerLock::acquire(m_session.m_serial, ControllerLock::kWaitMs, &error);
    if (!m_session.m_lock)
        m_result = SessionResult::inUse(error);
    else
        m_session.m_hid->device()->claimed();
}

ControllerSession::Sequence::~Sequence()
{
    if (--m_session.m_sequenceDepth > 0)
        return;
    m_session.m_lock.reset();
    m_session.m_readInSequence = false;
}
