#pragma once
#include "core/params/ParamCodec.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

// A value as the command line writes a tag's word: unsigned decimal or
// 0x-hex, at most 32 bits. Signs, blanks and empty digits are refused.
bool ParseParamValue(const QString &text, uint32_t *value);

// A field's value as the command line writes it: a list's token, on/off
// for a flag, a decimal number otherwise. The text in `error` names the
// field and what it takes.
bool ParseFieldValue(const ParamField &field, const QString &text, int64_t *value, QString *error);
// The reverse; a list index outside the list is shown as its number.
QString FormatFieldValue(const ParamField &field, int64_t value);

// What `get` reads and shows: tags as their words, fields as name=value.
struct CliSelection {
    QList<int> tags;         // to show raw, read order, no repeats
    QList<FieldId> fields;   // to show as fields, model order, no repeats
    QList<int> tagsToRead() const; // every tag either needs, read order
};
// TAG and FIELD names; with `fieldsOnly` a tag stands for its fields and
// no names means every field, without it no names means every tag.
bool ParseSelection(const QStringList &args, bool fieldsOnly, CliSelection *selection, QString *error);

// One TAG=VALUE or FIELD=VALUE of the set command.
struct CliAssignment {
    ParamTag tag;
    const ParamField *field = nullptr; // null: the tag's whole word
    uint32_t word = 0;                 // a tag's word
    int64_t value = 0;                 // a field's value
};
// Parses and checks what can be checked without the controller: names,
// value syntax, ranges and items, the capacity, a target given twice (a
// field and its tag, or a name repeated). Sorted into read order. With
// `raw`, tag words are not checked against their fields.
bool ParseAssignments(const QStringList &args, bool raw, QList<CliAssignment> *assignments, QString *error);
