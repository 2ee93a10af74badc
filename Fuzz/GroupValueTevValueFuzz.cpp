// The direct conversion by object-model DPT number: received group values of any size and
// content through CheckGroupValue and GroupValueToTevValue, and values of any type and
// storage through TevValueToGroupValue.
// Input: mode (1 byte), main type (2), sub type (2), then for decoding the defined size (2)
// and the raw bytes, for encoding a value as QuorFuzz::ReadValue takes it.

#include <cstddef>
#include <cstdint>

#include <stdexcept>

#include <utf8.h>

#include "FuzzSupport.h"
#include "QuorObjectModel/DptNumber.h"
#include "QuorObjectModel/GroupValueTevValue.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  QuorFuzz::LogEverythingNowhere();
  QuorFuzz::Reader in(data, size);
  const uint8_t mode = in.U8();
  const std::uint16_t main = in.U16();
  const unsigned long dpt = Quor::DptNumber(main, in.U16());

  if (mode & 1) {
    const unsigned int definedSize = in.U16();
    const KnxStack::GroupValue group(
        KnxStack::BinaryData(in.Rest(), static_cast<unsigned int>(in.RestSize())), definedSize);
    const bool valid = Quor::CheckGroupValue(group, dpt);
    boost::optional<TEVVALUE> value;
    try {
      value = Quor::GroupValueToTevValue(group, dpt);
    } catch (const KnxStack::GroupValueException&) {
      // A main type without a converter table row lets data of any length through the
      // check; the stack accessor then refuses it, and that exception passes on.
      QUOR_FUZZ_CHECK(valid);
      return 0;
    } catch (const std::out_of_range&) {
      // A calendar date the check let through (main types 11 and 19) passes on too.
      QUOR_FUZZ_CHECK(valid);
      return 0;
    }
    if (value) {
      QUOR_FUZZ_CHECK(valid);
      if (value->tvt == tvtString) {
        QUOR_FUZZ_CHECK(utf8::is_valid(value->stringValue.begin(), value->stringValue.end()));
      }
      QuorFuzz::UseValue(*value);
    }
    return 0;
  }

  const TEVVALUE value = QuorFuzz::ReadValue(in);
  try {
    if (const auto group = Quor::TevValueToGroupValue(value, dpt)) {
      static_cast<void>(group->GetRawData().ToString());
    }
  } catch (const KnxStack::GroupValueException&) {
    // Only the date-time encoding catches: a stack setter refusing a value passes on.
  }
  return 0;
}
