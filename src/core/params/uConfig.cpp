#include "core/params/uConfig.h"

#include "core/protocol/ParamTags.h"

bool TCfg::SetConfig(const QByteArray &code, uint32_t value)
{
    for (TCfgData &entry : CfgData) {
        if (entry.Code == code) {
            entry.Value = value;
            return true;
        }
    }
    return false;
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
