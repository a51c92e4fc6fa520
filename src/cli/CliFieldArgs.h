#pragma once
#include "cli/CliExit.h"
#include "core/params/ParamCodec.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

// A value as the command line writes a tag's word: unsigned decimal or
// 0x-hex, at most 32 bits. Signs, blanks and empty digits are refused.
bool parseParamValue(const QString &text, uint32_t *value);

// A field or tag by its name in any letter case; nullptr or -1 when the
// name is none.
const ParamField *findFieldName(const QString &name);
int findTagName(const QString &name);

// A field's value as the command line writes it: a list's token (any letter
// case), on/off for a flag, a decimal number otherwise. The text in `error`
// names the field and what it takes.
bool parseFieldValue(const ParamField &field, const QString &text, int64_t *value, QString *error);
// The reverse; a list index outside the list is shown as its number.
QString formatFieldValue(const ParamField &field, int64_t value);

// What `get` reads and shows, in the order asked: tags as their words,
// fields as name=value.
struct CliSelection {
    struct Item {
        int tag = -1;  // a tag's word, or
        FieldId field{}; // with tag -1, a field
        bool operator==(const Item &) const = default;
    };
    QList<Item> items;             // no repeats
    QList<int> tagsToRead() const; // every tag they need, read order
    bool hasTags() const;
    bool hasFields() const;
};
// TAG and FIELD names; with `fieldsOnly` a tag stands for its fields and
// no names means every field, without it no names means every tag.
CliOutcome parseSelection(const QStringList &args, bool fieldsOnly, CliSelection *selection);

// One TAG=VALUE or FIELD=VALUE of the set command.
struct CliAssignment {
    ParamTag tag;
    const ParamField *field = nullptr; // null: the tag's whole word
    uint32_t word = 0;                 // a tag's word
    int64_t value = 0;                 // a field's value
};
// Parses and checks what can be checked without the controller: names,
// value syntax, ranges and items, the capacity, a target given twice (a
// field and its tag, or a name repeated). In the order given. With `raw`,
// tag words are not checked against their fields. A refusal is a usage
// error naming the field or tag.
CliOutcome parseAssignments(const QStringList &args, bool raw, QList<CliAssignment> *assignments);
