// Values of any type and storage, for any DPT, through the DPT table to KNX, and what was
// sent back through the table again.
// Input: main number (2 bytes), sub number (2), DPT bit size (1), value type (2, an index
// into the known types or a raw number), storage (16), then the string member.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>

#include "FuzzSupport.h"
#include "QuorObjectModel/KnxValueConverter.h"

namespace {

constexpr TevValueType kTypes[] = {
    tvtInvalid,  tvtEmpty,    tvtBoolean, tvtFloat,   tvtInteger,  tvtType5,   tvtByte,
    tvtWord,     tvtDWord,    tvtType9,   tvtString,  tvtDate,     tvtTime,    tvtDateTime,
    tvtType14,   tvtDayTime,  tvtType20,  tvtType102, tvtType104,  tvtType105, tvtType201,
    tvtType1005, tvtType1021, tvtPercent, tvtDimStep, tvtType1039,
};

TevValueType PickType(uint16_t selector) {
  // Mostly a known type; the top bit asks for an arbitrary number.
  if (selector & 0x8000u) {
    return static_cast<TevValueType>(selector & 0x7FFFu);
  }
  return kTypes[selector % std::size(kTypes)];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  QuorFuzz::LogEverythingNowhere();
  static Quor::KnxValueConverter converter;
  static const bool initialised = converter.Init();
  static_cast<void>(initialised);

  QuorFuzz::Reader in(data, size);
  KNXDPT dpt{};
  dpt.mainNumber = in.U16();
  dpt.subNumber = in.U16();
  dpt.bitSize = in.U8();
  TEVVALUE value(PickType(in.U16()));
  unsigned char storage[sizeof value.value] = {};
  for (unsigned char& byte : storage) {
    byte = in.U8();
  }
  // The storage is a union of trivial members: any bytes are some value of every member,
  // except that bool members must hold 0 or 1 to be read. The TEVTIME flags are read by
  // time paths whatever the type; the bool member only for tvtBoolean.
  storage[0] &= value.tvt == tvtBoolean ? 0x01 : 0xFF;
  storage[offsetof(TEVTIME, localTime)] &= 0x01;
  storage[offsetof(TEVTIME, daylightSaving)] &= 0x01;
  std::memcpy(&value.value, storage, sizeof storage);
  value.stringValue = in.RestAsString();

  KnxStack::GroupValue group;
  KNXDPT sent = dpt;
  if (converter.ToKnxValue(sent, value, group) && group.GetDefinedSize() != 0) {
    TEVVALUE back;
    static_cast<void>(converter.FromKnxValue(sent, group, back));
    QuorFuzz::UseValue(back);
  }
  return 0;
}
