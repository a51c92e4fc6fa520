#include "core/params/uConfig.h"

#include "core/protocol/ParamTags.h"

bool TCfg::SetConfig(const QByteArray &code, uint32_t value)
{
    for (TCfgData &entry : CfgData) {
        if (entry.Code == code) {
            entry.Value = value;
            noteColors(code, value);
            return true;
        }
    }
    return false;
}

void TCfg::noteColors(const QByteArray &code, uint32_t value)
{
    const int index = tagIndex(code);
    if (index != tagIndexOf(ParamTag::COL0) && index != tagIndexOf(ParamTag::COL1))
        return;
    const int first = index == tagIndexOf(ParamTag::COL0) ? 0 : 4;
    for (int k = 0; k < 4; ++k)
        LedColors[first + k] = uint8_t(value >> (8 * k));
}

bool TCfg::changed() const
{
    const qsizetype n = qMin(CfgData.size(), CfgOrig.size());
    for (qsizetype i = 0; i < n; ++i) {
        if (CfgData[i].Value != CfgOrig[i].Value)
            return true;
    }
    return false;
}

void TCfg::beginLoad()
{
    CfgData.clear();
    CfgOrig.clear();
    m_complete = false;
    m_readCount = 0;
}

void TCfg::appendRead(const QByteArray &code, uint32_t value)
{
    CfgData.append(TCfgData(code, value));
    m_readCount = CfgData.size();
    if (tagIndex(CfgData.last().Code) == tagIndexOf(ParamTag::LMAX))
        LedMaxCnt = int(value);
    noteColors(CfgData.last().Code, value);
}

void TCfg::appendUnread(const QByteArray &code)
{
    CfgData.append(TCfgData(code, 0));
}

void TCfg::finishLoad()
{
    CfgOrig = CfgData;
    m_complete = true;
}

QString TCfg::firstUnread() const
{
    if (m_complete)
        return {};
    if (m_readCount < CfgData.size())
        return QString::fromLatin1(CfgData[m_readCount].Code);
    return QString::fromLatin1(tagCode(int(m_readCount)));
}

void TCfg::markWritten(qsizetype index)
{
    if (index >= 0 && index < qMin(CfgData.size(), CfgOrig.size()))
        CfgOrig[index].Value = CfgData[index].Value;
}
