// The object model's value type, sub-type and default value of each KNX main type.

#include "QuorObjectModel/KnxZebMapping.h"

#include <cstdint>

#include <boost/date_time/gregorian/gregorian_types.hpp>
#include <boost/date_time/posix_time/posix_time_types.hpp>
#include <boost/unordered_map.hpp>

#include <Quor/Assert.h>
#include <Quor/TevValueHelper.h>
#include <Quor/Unreachable.h>
#include <QuorHelper/TimeOfDay.h>

#include "QuorObjectModel/Wire/KnxWireFormat.h"

namespace Quor {
namespace KnxZebMapping {

namespace {

constexpr unsigned long kDpt6020 = 0x60014;

// Creators of the table: each checks that its row's value type is the one its input makes.
TEVVALUE CreateDefaultValueBoolean(TevValueType tvt) {
  return ToTevValue<bool>(false, tvt);
}
TEVVALUE CreateDefaultValueByte(TevValueType tvt) {
  return ToTevValue<unsigned char>(0, tvt);
}
TEVVALUE CreateDefaultValueWord(TevValueType tvt) {
  return ToTevValue<unsigned short>(0, tvt);
}
TEVVALUE CreateDefaultValueWord5A5A(TevValueType tvt) {
  return ToTevValue<unsigned short>(0x5A5A, tvt);  // "ZZ"
}
TEVVALUE CreateDefaultValueDWord(TevValueType tvt) {
  return ToTevValue<unsigned long>(0, tvt);
}
TEVVALUE CreateDefaultValueInteger(TevValueType tvt) {
  return ToTevValue<short>(0, tvt);
}
TEVVALUE CreateDefaultValueFloat(TevValueType tvt) {
  return ToTevValue<float>(0.0f, tvt);
}
// 00:00:00 without a day is a valid time of day; should the helper library ever refuse it,
// the process stops here rather than hand out an undefined default.
TEVVALUE CreateDefaultValueTimeOfDay(TevValueType tvt) {
  return ToTevValue(UndefinedBehaviourIfNone(QuorApp::TimeOfDay::Create(0, 0, 0, QuorApp::NoDay)),
                    tvt);
}
TEVVALUE CreateDefaultValueDate1990(TevValueType tvt) {
  return ToTevValue(boost::posix_time::ptime(boost::gregorian::date(1990, 1, 1)), tvt);
}
TEVVALUE CreateDefaultValueDateTime1900(TevValueType tvt) {
  return ToTevValue(boost::posix_time::ptime(boost::gregorian::date(1900, 1, 1)), tvt);
}
TEVVALUE CreateDefaultValueText(TevValueType tvt) {
  return ToTevValue(std::string(), tvt);
}

using TevDP::tstGeneric;
using TevDP::tstType12;
using TevDP::tstType2001;
using TevDP::tstType9;

// Built when the library is loaded and only read afterwards, so lookups need no lock.
const boost::unordered_map<unsigned long, DefaultValueEntry> kMainTypeTable = {
    {1, {tvtBoolean, tstType2001, CreateDefaultValueBoolean}},
    {2, {tvtByte, tstGeneric, CreateDefaultValueByte}},
    {3, {tvtByte, tstGeneric, CreateDefaultValueByte}},
    {4, {tvtEmpty, tstGeneric, CreateDefaultValueEmpty}},
    {5, {tvtByte, tstGeneric, CreateDefaultValueByte}},
    {6, {tvtByte, tstType9, CreateDefaultValueByte}},
    {7, {tvtWord, tstGeneric, CreateDefaultValueWord}},
    {8, {tvtInteger, tstType12, CreateDefaultValueInteger}},
    {9, {tvtFloat, tstGeneric, CreateDefaultValueFloat}},
    {10, {tvtDayTime, tstGeneric, CreateDefaultValueTimeOfDay}},
    {11, {tvtDate, tstGeneric, CreateDefaultValueDate1990}},
    {12, {tvtDWord, tstGeneric, CreateDefaultValueDWord}},
    {13, {tvtInteger, tstGeneric, CreateDefaultValueInteger}},
    {14, {tvtFloat, tstGeneric, CreateDefaultValueFloat}},
    {15, {tvtDWord, tstGeneric, CreateDefaultValueDWord}},
    {16, {tvtString, tstGeneric, CreateDefaultValueText}},
    {17, {tvtByte, tstGeneric, CreateDefaultValueByte}},
    {18, {tvtByte, tstGeneric, CreateDefaultValueByte}},
    {19, {tvtDateTime, tstGeneric, CreateDefaultValueDateTime1900}},
    {20, {tvtByte, tstGeneric, CreateDefaultValueByte}},
    {21, {tvtByte, tstGeneric, CreateDefaultValueByte}},
    {22, {tvtWord, tstGeneric, CreateDefaultValueWord}},
    {23, {tvtByte, tstGeneric, CreateDefaultValueByte}},
    {24, {tvtString, tstGeneric, CreateDefaultValueText}},
    {25, {tvtByte, tstGeneric, CreateDefaultValueByte}},
    {26, {tvtByte, tstGeneric, CreateDefaultValueByte}},
    {27, {tvtDWord, tstGeneric, CreateDefaultValueDWord}},
    {28, {tvtString, tstGeneric, CreateDefaultValueText}},
    {29, {tvtEmpty, tstGeneric, CreateDefaultValueEmpty}},
    {30, {tvtDWord, tstGeneric, CreateDefaultValueDWord}},
    {31, {tvtByte, tstGeneric, CreateDefaultValueByte}},
    {200, {tvtWord, tstGeneric, CreateDefaultValueWord}},
    {201, {tvtWord, tstGeneric, CreateDefaultValueWord}},
    {202, {tvtWord, tstGeneric, CreateDefaultValueWord}},
    {217, {tvtWord, tstGeneric, CreateDefaultValueWord}},
    {219, {tvtEmpty, tstGeneric, CreateDefaultValueEmpty}},
    {222, {tvtEmpty, tstGeneric, CreateDefaultValueEmpty}},
    {229, {tvtEmpty, tstGeneric, CreateDefaultValueEmpty}},
    {230, {tvtEmpty, tstGeneric, CreateDefaultValueEmpty}},
    {232, {tvtDWord, tstGeneric, CreateDefaultValueDWord}},
    {234, {tvtWord, tstGeneric, CreateDefaultValueWord5A5A}},
    {237, {tvtWord, tstGeneric, CreateDefaultValueWord}},
    {238, {tvtByte, tstGeneric, CreateDefaultValueByte}},
};

const DefaultValueEntry* FindRow(unsigned long mainType) {
  const auto found = kMainTypeTable.find(Knx::Low32Bits(mainType));
  return found == kMainTypeTable.end() ? nullptr : &found->second;
}

}  // namespace

TEVVALUE CreateDefaultValueEmpty(TevValueType tvt) {
  TEVVALUE emptyTevValue;
  QUOR_ASSERT2(emptyTevValue.tvt == tvt);
  return emptyTevValue;
}

std::string GetTvtFromMainType(unsigned long mainType) {
  const DefaultValueEntry* const row = FindRow(mainType);
  return row ? TEVVALUE::GetNameFromValueType(row->tvt) : "Empty";
}

std::string GetTstFromMainType(unsigned long mainType) {
  const DefaultValueEntry* const row = FindRow(mainType);
  return row ? TevDP::GetNameFromValueSubType(row->tst) : "Generic";
}

TevValueType GetTvtFromDpt(unsigned int dpt) {
  const DefaultValueEntry* const row = FindRow(MainTypeOf(dpt));
  return row ? row->tvt : tvtEmpty;
}

boost::optional<std::string> GetDefaultValueFromDpt(unsigned long wideDpt, bool internalFormat) {
  const std::uint32_t dpt = Knx::Low32Bits(wideDpt);
  const DefaultValueEntry* const row = FindRow(MainTypeOf(dpt));
  if (!row) {
    return boost::none;
  }
  // DPT 6.020 (status with mode) starts at 1; every other 6.x at the row's 0.
  const TEVVALUE value =
      dpt == kDpt6020 ? ToTevValue<unsigned char>(1, row->tvt) : row->create(row->tvt);
  std::string text;
  value.Serialize(text, internalFormat);
  return text;
}

}  // namespace KnxZebMapping
}  // namespace Quor
