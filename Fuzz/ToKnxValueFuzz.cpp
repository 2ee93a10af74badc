// Values of any type and storage, for any DPT, through the DPT table to KNX, and what was
// sent back through the table again.
// Input: main number (2 bytes), sub number (2), DPT bit size (1), then a value as
// QuorFuzz::ReadValue takes it.

#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "QuorObjectModel/KnxValueConverter.h"

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
  const TEVVALUE value = QuorFuzz::ReadValue(in);

  KnxStack::GroupValue group;
  KNXDPT sent = dpt;
  if (converter.ToKnxValue(sent, value, group) && group.GetDefinedSize() != 0) {
    TEVVALUE back;
    static_cast<void>(converter.FromKnxValue(sent, group, back));
    QuorFuzz::UseValue(back);
  }
  return 0;
}
