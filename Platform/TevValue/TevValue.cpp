// TEVVALUE construction, the type and sub-type names, and the log text.

#include "TevValue/TevValue.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "TevValue/TevValueDetail.hpp"

namespace TevValueDetail {
namespace {

using P = Payload;

// Kinds without a name of their own print as "Type<n>". tvtType5 and tvtType9 are given no
// meaning by any caller; they carry a signed and an unsigned 32-bit number.
constexpr TypeInfo kTypes[] = {
    {tvtInvalid, "Invalid", P::None},    {tvtEmpty, "Empty", P::None},
    {tvtBoolean, "Boolean", P::Boolean}, {tvtFloat, "Float", P::Float},
    {tvtInteger, "Integer", P::Signed},  {tvtType5, nullptr, P::Signed},
    {tvtByte, "Byte", P::Byte},          {tvtWord, "Word", P::Word},
    {tvtDWord, "DWord", P::DWord},       {tvtType9, nullptr, P::DWord},
    {tvtString, "String", P::String},    {tvtDate, "Date", P::Date},
    {tvtTime, "Time", P::Time},          {tvtDateTime, "DateTime", P::DateTime},
    {tvtType14, nullptr, P::Signed},     {tvtDayTime, "DayTime", P::DayTime},
    {tvtType20, nullptr, P::DWord},      {tvtType102, nullptr, P::DateTime},
    {tvtType104, nullptr, P::Time},      {tvtType105, nullptr, P::Date},
    {tvtType201, nullptr, P::DateTime},  {tvtType1005, nullptr, P::Float},
    {tvtType1021, nullptr, P::Byte},     {tvtPercent, "Percent", P::Float},
    {tvtDimStep, "DimStep", P::Float},   {tvtType1039, nullptr, P::Float},
};

struct SubTypeName {
  TevDP::TevValueSubType tst;
  const char* name;
};

constexpr SubTypeName kSubTypes[] = {
    {TevDP::tstGeneric, "Generic"},         {TevDP::tstStatusWithMode, "StatusWithMode"},
    {TevDP::tstControlStep, "ControlStep"}, {TevDP::tstPhysicalFloat, "PhysicalFloat"},
    {TevDP::tstSceneNumber, "SceneNumber"}, {TevDP::tstAscii, "Ascii"},
    {TevDP::tstLatin1, "Latin1"},
};

int32_t StateOf(TevValueType tvt) {
  switch (tvt) {
    case tvtInvalid:
      return 1;
    case tvtEmpty:
      return 0;
    default:
      return 2;
  }
}

}  // namespace

const TypeInfo* FindType(int32_t tvt) {
  const auto found = std::find_if(std::begin(kTypes), std::end(kTypes),
                                  [tvt](const TypeInfo& info) { return info.tvt == tvt; });
  return found == std::end(kTypes) ? nullptr : found;
}

}  // namespace TevValueDetail

TEVVALUE::TEVVALUE() : TEVVALUE(tvtEmpty) {}

TEVVALUE::TEVVALUE(TevValueType t) : tvt(t), state(TevValueDetail::StateOf(t)) {
  std::memset(&value, 0, sizeof value);
  value.timeValue.Clear(true);
}

std::string TEVVALUE::GetNameFromValueType(TevValueType tvt) {
  const TevValueDetail::TypeInfo* info = TevValueDetail::FindType(tvt);
  if (info != nullptr && info->name != nullptr) {
    return info->name;
  }
  return "Type" + std::to_string(static_cast<int32_t>(tvt));
}

std::string TevDP::GetNameFromValueSubType(TevValueSubType tst) {
  using TevValueDetail::kSubTypes;
  const auto found =
      std::find_if(std::begin(kSubTypes), std::end(kSubTypes),
                   [tst](const TevValueDetail::SubTypeName& row) { return row.tst == tst; });
  if (found != std::end(kSubTypes)) {
    return found->name;
  }
  return "SubType" + std::to_string(static_cast<int32_t>(tst));
}

// "<name> <plain text>", strings quoted; valueless kinds and unknown numbers by name only.
std::string TEVVALUE::ToString() const {
  std::string text = GetNameFromValueType(tvt);
  const TevValueDetail::TypeInfo* info = TevValueDetail::FindType(tvt);
  if (info == nullptr || info->payload == TevValueDetail::Payload::None) {
    return text;
  }
  std::string plain;
  Serialize(plain, false);
  if (info->payload == TevValueDetail::Payload::String) {
    text.append(" '").append(plain).append("'");
  } else {
    text.append(" ").append(plain);
  }
  return text;
}
