// Serialised text of any content through TEVVALUE::Deserialize; whatever it makes must
// write and read back losslessly in the internal form.

#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  TEVVALUE value;
  if (!value.Deserialize(text)) {
    QUOR_FUZZ_CHECK(value.tvt == tvtInvalid);
  }
  QuorFuzz::UseValue(value);

  // The plain form always reads back as some value.
  std::string plain;
  if (value.Serialize(plain, false)) {
    TEVVALUE reread;
    static_cast<void>(reread.Deserialize(plain));
    QuorFuzz::UseValue(reread);
  }
  return 0;
}
