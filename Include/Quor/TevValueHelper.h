#pragma once
/// \file
/// Platform values made from plain values, each checked against the value type the caller
/// expects, and the repair of text that is not valid UTF-8.
///
/// Natural value type and storage of each input type:
///
/// | Input          | Value type | Storage                 |
/// |----------------|------------|-------------------------|
/// | bool           | tvtBoolean | the bool                |
/// | unsigned char  | tvtByte    | the byte                |
/// | unsigned short | tvtWord    | zero-extended to 32 bits|
/// | unsigned long  | tvtDWord   | 32 bits                 |
/// | short          | tvtInteger | sign-extended to 32 bits|
/// | long           | tvtInteger | 32 bits                 |
/// | float          | tvtFloat   | widened to double       |
/// | double         | tvtFloat   | the double              |
/// | std::string    | tvtString  | the string member       |
///
/// Only the storage of the input's own kind is written. A wrong expected type is a programming
/// error and ends the process through the assertion reporter.
/// \ingroup helpers

#include <string>

#include <boost/date_time/posix_time/ptime.hpp>

#include <QuorHelper/TimeOfDay.h>
#include <QuorHelper/Utf8String.h>
#include <TevValue/TevValue.h>

#include "QuorObjectModel/Export.h"

namespace Quor {

/// \cond INTERNAL
namespace TevValueHelperDetail {
template <class T>
constexpr bool kNoTevValueFor = false;
}  // namespace TevValueHelperDetail
/// \endcond

/// The value of the input's natural type (see the table above); expectedType only guards the
/// call. Types without a row do not compile.
/// \ingroup helpers
template <class T>
TEVVALUE ToTevValue(const T& value, TevValueType expectedType) {
  static_assert(TevValueHelperDetail::kNoTevValueFor<T>,
                "ToTevValue takes bool, unsigned char, unsigned short, unsigned long, short, long, "
                "float, double, std::string, a ptime or a time of day");
  static_cast<void>(value);
  return TEVVALUE(expectedType);
}

/// \cond INTERNAL
template <>
QUOR_API TEVVALUE ToTevValue<bool>(const bool& value, TevValueType expectedType);
template <>
QUOR_API TEVVALUE ToTevValue<unsigned char>(const unsigned char& value, TevValueType expectedType);
template <>
QUOR_API TEVVALUE ToTevValue<unsigned short>(const unsigned short& value,
                                             TevValueType expectedType);
template <>
QUOR_API TEVVALUE ToTevValue<unsigned long>(const unsigned long& value, TevValueType expectedType);
template <>
QUOR_API TEVVALUE ToTevValue<short>(const short& value, TevValueType expectedType);
template <>
QUOR_API TEVVALUE ToTevValue<long>(const long& value, TevValueType expectedType);
template <>
QUOR_API TEVVALUE ToTevValue<float>(const float& value, TevValueType expectedType);
template <>
QUOR_API TEVVALUE ToTevValue<double>(const double& value, TevValueType expectedType);
template <>
QUOR_API TEVVALUE ToTevValue<std::string>(const std::string& value, TevValueType expectedType);
/// \endcond

/// Text as tvtString; it must already be valid UTF-8 (see RepairUTF8), or the process ends
/// through the assertion reporter.
/// \ingroup helpers
QUOR_API TEVVALUE ToTevValue(const std::string& value, TevValueType expectedType);

/// Date-time as seconds since 1970 in local time (mktime), with the given type unchecked.
/// A time after 2038-01-19 03:14:07, the last second a signed 32-bit count reaches, gives the
/// empty value (tvtEmpty).
/// \ingroup helpers
QUOR_API TEVVALUE ToTevValue(const boost::posix_time::ptime& value, TevValueType type);

/// Time of day as a tvtDayTime value dated 2000-01-01; expectedType must be tvtDayTime.
/// \ingroup helpers
QUOR_API TEVVALUE ToTevValue(const QuorApp::TimeOfDay& value, TevValueType expectedType);

/// Valid UTF-8 text from any bytes: every invalid or truncated sequence becomes one "?".
/// \ingroup helpers
QUOR_API UTF8String RepairUTF8(std::string text);

}  // namespace Quor
