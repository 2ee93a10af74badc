#pragma once
/// \file
/// The object model's DPT number: one number for main.sub, the main type in the upper 16 bits
/// and the sub type in the lower (DPT 9.001 is 0x90001). Header-only.
/// \ingroup conversion

#include <cstdint>

namespace Quor {

/// The DPT number of mainType.subType: DptNumber(9, 1) is 0x90001.
/// \ingroup conversion
constexpr unsigned long DptNumber(std::uint16_t mainType, std::uint16_t subType) {
  return (static_cast<unsigned long>(mainType) << 16) | subType;
}

/// The main type of a DPT number. Only the low 32 bits count, as in the device's 32-bit
/// unsigned long.
/// \ingroup conversion
constexpr std::uint32_t MainTypeOf(unsigned long dptNumber) {
  return static_cast<std::uint32_t>(dptNumber) >> 16;
}

/// The sub type of a DPT number.
/// \ingroup conversion
constexpr std::uint32_t SubTypeOf(unsigned long dptNumber) {
  return static_cast<std::uint32_t>(dptNumber) & 0xFFFFu;
}

}  // namespace Quor
