#include "cli/CliDeviceSession.h"

#include "core/params/ParamTable.h"
#include "core/protocol/ReportTrace.h"

#include <QCoreApplication>

QList<int> AllParamIndexes()
{
    QList<int> all;
    for (int i = 0; i < kParamTagCount; ++i)
        all << i;
    return all;
}

CliDeviceSession::CliDeviceSession(HidControllerFactory factory)
    : m_hid(std::move(factory))
{
}

void CliDeviceSession::TraceTo(QTextStream &err)
{
    m_hid.SetTrace([&err](bool sent, const uint8_t *report) {
        err << ReportTraceLine(sent, report) << '\n';
        err.flush();
    });
}

void CliDeviceSession::Start()
{
    m_hid.SetOnEnum([] {});
    QCoreApplication::processEvents();
}

CliStatus CliDeviceSession::Select(const QString &serial)
{
    QStringList serials;
    QList<int> matches;
    for (int i = 0; i < m_hid.DevList.size(); ++i) {
        serials << m_hid.DevList[i].Text;
        if (serial.isEmpty() || m_hid.DevList[i].Text.compare(serial, Qt::CaseInsensitive) == 0)
            matches << i;
    }
    const QString present = serials.join(QStringLiteral(", "));
    if (serials.isEmpty())
        return CliStatus::NoController(QStringLiteral("No CORVANE connected"));
    if (matches.isEmpty())
        return CliStatus::NoController(
            QStringLiteral("No CORVANE with serial number %1 connected (connected: %2)").arg(serial, present));
    if (matches.size() > 1) {
        // Two controllers without a serial number both read "SERIAL IS MISSING".
        return CliStatus::Failed(serial.isEmpty()
                                     ? QStringLiteral("Several CORVANE connected, choose one with --device: %1").arg(present)
                                     : QStringLiteral("Several CORVANE with serial number %1 connected").arg(serial));
    }
    m_hid.SetDevice(matches.first());
    m_serial = m_hid.DevList[matches.first()].Text;
    return {};
}

CliStatus CliDeviceSession::Identify()
{
    if (m_hid.Dev && !m_hid.Dev->AccessProblem().isEmpty())
        return CliStatus::Failed(m_hid.Dev->AccessProblem());
    const TIdentifyResult r = IdentifyDevice(m_hid, m_bios, m_crypt, m_readouts);
    if (!r.Error.isEmpty())
        return CliStatus::Failed(r.Error);
    // A controller without firmware gets no error box in the window, only
    // this read-out; here it is the reason the command stops.
    if (!r.Result)
        return CliStatus::Failed(m_readouts.Info);
    return {};
}

CliStatus CliDeviceSession::Read(const QList<int> &indexes, QList<TCfgData> *params)
{
    for (int index : indexes) {
        const QByteArray code(paramTags()[index].code);
        uint32_t value = 0;
        const uint16_t r = ReadParameter(m_hid, m_buf, code, m_crypt[kCryptReadWord], value);
        if (r >= Status::FirstFailure)
            return CliStatus::Failed(QStringLiteral("Error reading Config = ") + ErrToStr(r));
        params->append(TCfgData(code, value));
    }
    return {};
}

CliStatus CliDeviceSession::ReadAll(QList<TCfgData> *params)
{
    return Read(AllParamIndexes(), params);
}

CliStatus CliDeviceSession::WriteChanged(const QList<TCfgData> &working, QList<TCfgData> *device,
                                         QList<TCfgData> *written)
{
    for (qsizetype i = 0; i < working.size() && i < device->size(); ++i) {
        if (working[i].Value == (*device)[i].Value)
            continue;
        const uint16_t r = WriteParameter(m_hid, m_buf, working[i].Code, working[i].Value, WriteWord());
        if (r != Status::Ok)
            return CliStatus::Failed(QStringLiteral("Error writing Config = ") + ErrToStr(r));
        (*device)[i].Value = working[i].Value;
        written->append(working[i]);
    }
    return {};
}
