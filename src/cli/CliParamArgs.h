#pragma once
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

// One TAG=VALUE of the set command: the tag's index in the read order.
struct ParamAssignment {
    int index = -1;
    uint32_t value = 0;
};

// A value as the command line writes it: unsigned decimal or 0x-hex, at
// most 32 bits. Signs, blanks and empty digits are refused.
bool ParseParamValue(const QString &text, uint32_t *value);

// The tags named on the command line as indexes in read order, without
// repeats, so they are read in the device's order whatever order was typed.
bool ParseTagList(const QStringList &args, QList<int> *indexes, QString *error);

// TAG=VALUE arguments, sorted into read order. LMAX, a tag given twice, an
// unknown tag or a bad value is refused.
bool ParseAssignments(const QStringList &args, QList<ParamAssignment> *assignments, QString *error);
