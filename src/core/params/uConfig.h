#pragma once
#include "core/params/CfgData.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>

// The program's copy of the controller's parameters: the working values the
// editor and profiles change, the values the controller is known to hold,
// and whether the last load read every one of them from the controller.
class TCfg {
public:
    // Working values, in the tags' read order.
    QList<TCfgData> CfgData;
    // What the controller holds as far as the program knows; entries match
    // CfgData by index.
    QList<TCfgData> CfgOrig;
    // The capacity (LMAX) at the last load.
    int LedMaxCnt = 0;

    // Sets the value of the parameter whose tag equals `code` exactly (case
    // included); false, changing nothing, when there is none.
    bool SetConfig(const QByteArray &code, uint32_t value);

    // True when some working value differs from what the controller holds.
    // Only entries both lists have are compared.
    bool changed() const;

    // --- loading: both lists are emptied first, so nothing of an earlier
    // load (maybe of another controller) can be written or saved.
    void beginLoad();
    // Appends a parameter read from the controller.
    void appendRead(const QByteArray &code, uint32_t value);
    // Appends the parameter whose read failed, with value 0; it and every
    // parameter after it count as unread.
    void appendUnread(const QByteArray &code);
    // Every parameter was read: the controller holds the working values.
    void finishLoad();
    // The last load read every parameter of the controller.
    bool complete() const { return m_complete; }
    // The tag of the first parameter the last load did not read; empty
    // when it is complete.
    QString firstUnread() const;

    // A write of CfgData[index] succeeded.
    void markWritten(qsizetype index);

private:
    bool m_complete = false;
    qsizetype m_readCount = 0;
};
