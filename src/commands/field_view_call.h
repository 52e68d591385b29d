#pragma once
// One call of the field and camera-view executor: the frame of the call and
// the field it addresses. The field is fetched anew on every use, because
// resolvers and events may load maps and move the records.
#include <cstdint>
#include <span>
#include <string_view>

#include "commands/internal_call.h"
#include "data/field_record.h"
#include "data/map_record.h"

namespace kiv {

struct FieldViewCall {
  InternalCall& call;
  std::int32_t map = -1;
  std::int32_t field = -1;

  Field& Target() const;
  Map& TargetMap() const;
};

using FieldViewHandler = void (*)(FieldViewCall&);

struct FieldViewIdentifier {
  std::u16string_view name;
  FieldViewHandler handler;
};

// The identifiers of fields (kind 26) and of camera views (kind 33).
std::span<const FieldViewIdentifier> FieldIdentifiers();
std::span<const FieldViewIdentifier> ViewIdentifiers();

// "|" & the map's file name & ":" & the name: the full name scripts can resolve back.
std::u16string FullObjectName(std::int32_t map, std::u16string_view name);

// The field and map records a reference names; error 9 when either is gone.
Field& FieldOfReference(std::int32_t map, std::int32_t field);

// The pan wait and the field text wait: a control request that suspends the script.
void AnswerFieldWait(FieldViewCall& call, std::int32_t fieldText, std::int32_t fieldTarget);

}  // namespace kiv
