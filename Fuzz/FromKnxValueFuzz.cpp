// Received group values of any size and content, for any DPT, through the DPT table.
// Input: main number (2 bytes), sub number (2), DPT bit size (1), defined size of the
// group value (2), then the raw bytes.

#include <cstddef>
#include <cstdint>

#include <utf8.h>

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
  const unsigned int definedSize = in.U16();
  const KnxStack::GroupValue group(
      KnxStack::BinaryData(in.Rest(), static_cast<unsigned int>(in.RestSize())), definedSize);

  TEVVALUE value;
  const bool converted = converter.FromKnxValue(dpt, group, value);
  if (converted && value.tvt == tvtString) {
    // Received text always leaves the converters as UTF-8.
    QUOR_FUZZ_CHECK(utf8::is_valid(value.stringValue.begin(), value.stringValue.end()));
  }
  QuorFuzz::UseValue(value);
  return 0;
}
