#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>

// One device parameter: a tag of at most four single-byte characters and its
// 32-bit value. The constructor cuts a longer tag to its first four
// characters, as the device only ever knows four.
struct TCfgData {
    static constexpr int kMaxCodeLength = 4;

    QByteArray Code;
    uint32_t Value = 0;

    TCfgData() = default;
    TCfgData(QByteArrayView code, uint32_t value)
        : Code(cutCode(code)), Value(value) {}

    static QByteArray cutCode(QByteArrayView code)
    {
        return code.first(qMin<qsizetype>(code.size(), kMaxCodeLength)).toByteArray();
    }

    friend bool operator==(const TCfgData &, const TCfgData &) = default;
};
