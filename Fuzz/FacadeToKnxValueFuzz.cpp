// Serialised values through the facade, with a DPT or with a bit size only, and the sent
// group value back to serialised text.
// Input: mode (1 byte), main number (2), sub number (2), bit size (2), then the text.

#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "QuorObjectModel/KnxValueConverter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  QuorFuzz::LogEverythingNowhere();
  static Quor::QuorKnxValueConverter facade;
  static const bool initialised = facade.Init();
  static_cast<void>(initialised);

  QuorFuzz::Reader in(data, size);
  const uint8_t mode = in.U8();
  KNXDPT dpt{};
  dpt.mainNumber = in.U16();
  dpt.subNumber = in.U16();
  const unsigned long bitSize = in.U16();
  dpt.bitSize = static_cast<uint8_t>(bitSize);
  const std::string serialized = in.RestAsString();

  KnxStack::GroupValue group;
  const bool sent = (mode & 1) ? facade.ToKnxValue(serialized, bitSize, group)
                               : facade.ToKnxValue(dpt, serialized, group);
  if (sent) {
    std::string text = "untouched";
    if (!facade.FromKnxValue(group, text, (mode & 2) != 0)) {
      QUOR_FUZZ_CHECK(text == "untouched");
    }
  }
  return 0;
}
