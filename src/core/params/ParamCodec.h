#pragma once
#include "core/params/CfgData.h"
#include "core/params/ParamModel.h"

#include <QList>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

// A value per field, as the editor shows it. Item indexes are plain
// numbers: -1 is "no selection", and a loaded index the list does not hold
// is passed on as it is, for the list to reject.
using FieldValues = std::array<int64_t, kFieldCount>;

inline int64_t &at(FieldValues &values, FieldId id)
{
    return values[std::size_t(fieldIndexOf(id))];
}
inline int64_t at(const FieldValues &values, FieldId id)
{
    return values[std::size_t(fieldIndexOf(id))];
}

// A field's value in a word read from the device, by its loaded-as rule.
int64_t loadField(const ParamField &field, uint32_t word);

// Sets the fields of `tag` from a word read from the device; the fields of
// other parameters are left alone.
void loadParam(ParamTag tag, uint32_t word, FieldValues &values);

// The word the editor writes for `tag`: every field value divided by its
// scale, shifted into place and added, unsigned, so a -1 index sets all its
// bits. nullopt for the capacity, which is never written.
std::optional<uint32_t> packParam(ParamTag tag, const FieldValues &values);

// The fields of every known tag of a list; unknown tags are skipped.
FieldValues loadParams(const QList<TCfgData> &params);

// Value of a tag in a parameter list (first match, exact), or nullopt.
std::optional<uint32_t> findParam(const QList<TCfgData> &params, const char *code);

// Why a field cannot take `value`, or an empty text: outside its range,
// not one of its items, or above what `ledProtocol` allows for a
// protocol-limited field (-1: no protocol known). A value between two of
// the controller's steps is not refused here; a change rounds it down.
QString fieldValueProblem(const ParamField &field, int64_t value, int ledProtocol = -1);

// Why a raw word is not a value the fields can hold (a field out of its
// range, or bits set outside every field), or an empty text.
QString wordProblem(ParamTag tag, uint32_t word, int ledProtocol = -1);
// The same without naming the word: "brightness_percent takes 0 to 200 %".
QString wordFieldsProblem(ParamTag tag, uint32_t word, int ledProtocol = -1);

