#pragma once
/// \file
/// One converter per KNX encoding family, and the value ranges they check against.
/// \ingroup conversion

#include <cstdint>
#include <iosfwd>

#include <KnxStack/GroupValue.h>
#include <KnxStack/KnxDpt.h>
#include <TevValue/TevValue.h>

#include "QuorObjectModel/Export.h"

namespace Quor {

/// Integer range of a converter: the platform ("internal") side and the KNX raw ("external")
/// side, with the factor that maps one onto the other.
/// \ingroup conversion
struct QUOR_API IntegerRange {
  int32_t internalMin;  ///< Smallest platform value.
  int32_t internalMax;  ///< Largest platform value.
  int32_t externalMin;  ///< Smallest raw KNX value.
  int32_t externalMax;  ///< Largest raw KNX value.
  double scaleFactor;   ///< Raw steps per platform step.

  /// Sets scaleFactor from the two spans (1 when the platform span is empty).
  void CalculateScaleFactor();
  /// (v - internalMin) * scaleFactor + externalMin, rounded half away from zero.
  int64_t Map(int64_t v) const;
};
/// Writes the range as "IntegerRange(0, 254, 0, 254)", as log lines show it.
QUOR_API std::ostream& operator<<(std::ostream& os, const IntegerRange& range);

/// 64-bit integer range of the 24- and 32-bit unsigned converters.
/// \ingroup conversion
struct QUOR_API LongIntegerRange {
  int64_t internalMin;  ///< Smallest platform value.
  int64_t internalMax;  ///< Largest platform value.
  int64_t externalMin;  ///< Smallest raw KNX value.
  int64_t externalMax;  ///< Largest raw KNX value.
  double scaleFactor;   ///< Raw steps per platform step.

  /// Sets scaleFactor from the two spans (1 when the platform span is empty).
  void CalculateScaleFactor();
};

/// Range of the 4-bit converter: a floating-point platform value over an integer raw value.
/// \ingroup conversion
struct QUOR_API FloatIntegerRange {
  /// The bounds, with scaleFactor already calculated.
  FloatIntegerRange(double doubleMin, double doubleMax, int integerMin, int integerMax);

  double doubleMin;    ///< Smallest platform value.
  double doubleMax;    ///< Largest platform value.
  int32_t integerMin;  ///< Smallest raw KNX value.
  int32_t integerMax;  ///< Largest raw KNX value.
  double scaleFactor;  ///< Raw steps per platform step.

  /// Sets scaleFactor from the two spans (1 when the platform span is empty).
  void CalculateScaleFactor();
};

/// Floating-point range of the 2- and 4-byte float converters.
/// \ingroup conversion
struct QUOR_API FloatRange {
  double doubleMin;    ///< Smallest platform value.
  double doubleMax;    ///< Largest platform value.
  double externalMin;  ///< Smallest KNX value.
  double externalMax;  ///< Largest KNX value.
  double scaleFactor;  ///< KNX steps per platform step.

  /// Sets scaleFactor from the two spans (1 when the platform span is empty).
  void CalculateScaleFactor();
};

/// The range with its bounds set, scaleFactor 1.0, then CalculateScaleFactor(), as the DPT
/// table builds its ranges.
QUOR_API IntegerRange MakeIntegerRange(int32_t internalMin, int32_t internalMax,
                                       int32_t externalMin, int32_t externalMax);
/// The range with its bounds set and its scaleFactor calculated, as the DPT table builds it.
QUOR_API LongIntegerRange MakeLongIntegerRange(int64_t internalMin, int64_t internalMax,
                                               int64_t externalMin, int64_t externalMax);
/// The range with its bounds set and its scaleFactor calculated, as the DPT table builds it.
QUOR_API FloatRange MakeFloatRange(double doubleMin, double doubleMax, double externalMin,
                                   double externalMax);

/// Base of the converters: one KNX encoding family each, immutable once built, so one
/// converter may serve any number of threads.
/// \ingroup conversion
class QUOR_API KnxConverter {
 public:
  virtual ~KnxConverter() = default;
  /// Encodes value into group for dpt. False, with an ERROR record, when the value is of the
  /// wrong type or outside the range; group is then unspecified.
  virtual bool ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value,
                          KnxStack::GroupValue& group) = 0;
  /// Decodes group into value for dpt. False, with an ERROR record, when the received value is
  /// not valid for the encoding; value may have been partly written.
  virtual bool FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group,
                            TEVVALUE& value) = 0;
  /// A copy allocated with new; the caller owns it.
  virtual KnxConverter* Clone() const = 0;

 protected:
  KnxConverter() = default;
  /// For Clone() of the derived classes.
  KnxConverter(const KnxConverter&) = default;
  /// For the derived classes' own assignment.
  KnxConverter& operator=(const KnxConverter&) = default;
};

/// The overrides every converter class declares.
#define QUOR_DECLARE_KNX_CONVERTER_BODY(Name)                                                      \
  bool ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value, KnxStack::GroupValue& group) override; \
  bool FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group, TEVVALUE& value)         \
      override;                                                                                    \
  /* Name is a class name: it takes no parentheses. */                                             \
  Name* Clone() const override { /* NOLINT(bugprone-macro-parentheses) */                          \
    return new Name(*this);      /* NOLINT(bugprone-macro-parentheses) */                          \
  }

/// Declares a converter class without a range.
#define QUOR_DECLARE_KNX_CONVERTER(Name)            \
  class QUOR_API Name final : public KnxConverter { \
   public:                                          \
    Name() = default;                               \
    QUOR_DECLARE_KNX_CONVERTER_BODY(Name)           \
  };

/// Declares a converter class that checks against one range.
#define QUOR_DECLARE_RANGED_KNX_CONVERTER(Name, Range)                                    \
  class QUOR_API Name final : public KnxConverter {                                       \
   public:                                                                                \
    /** Converts within range. */ explicit Name(const Range& range) : m_range(range) {}   \
    /** The range it checks against. */ const Range& GetRange() const { return m_range; } \
    QUOR_DECLARE_KNX_CONVERTER_BODY(Name)                                                 \
                                                                                          \
   private:                                                                               \
    Range m_range;                                                                        \
  };

// Bit fields and enumerations.
/// Fallback for main types without a converter of their own: booleans by main number, anything
/// else as the value library's byte array, as many bytes as the bit size asks for.
QUOR_DECLARE_KNX_CONVERTER(KnxConverterDefault)
/// 1-bit values (DPT 1.x) as tvtBoolean.
QUOR_DECLARE_KNX_CONVERTER(KnxConverter1Bit)
/// 2-bit control values (DPT 2.x): control and value bit in one byte.
QUOR_DECLARE_KNX_CONVERTER(KnxConverter2Bit)
/// 4-bit step control (DPT 3.x): direction and step code.
QUOR_DECLARE_RANGED_KNX_CONVERTER(KnxConverter4Bit, FloatIntegerRange)
/// Status with mode (DPT 6.020): five status bits and a mode number in one byte.
QUOR_DECLARE_RANGED_KNX_CONVERTER(KnxConverterStatus8Bit, IntegerRange)

// Numbers.
/// Unsigned 8-bit values (DPT 5.x, 20.x, 21.x, 23.x, 236.x, 238.x), not scaled: received
/// values are checked against the range's internal window, sent ones only for DPT 5.006.
QUOR_DECLARE_RANGED_KNX_CONVERTER(KnxConverterByte8BitUnsigned, IntegerRange)
/// Signed 8-bit values (DPT 6.x).
QUOR_DECLARE_RANGED_KNX_CONVERTER(KnxConverterInteger8BitSigned, IntegerRange)
/// Unsigned 16-bit values (DPT 7.x).
QUOR_DECLARE_RANGED_KNX_CONVERTER(KnxConverterInteger16BitUnsigned, IntegerRange)
/// Signed 16-bit values (DPT 8.x).
QUOR_DECLARE_RANGED_KNX_CONVERTER(KnxConverterInteger16BitSigned, IntegerRange)
/// 2-byte KNX floats (DPT 9.x); the raw 0x7FFF reads as tvtInvalid.
QUOR_DECLARE_RANGED_KNX_CONVERTER(KnxConverterFloat16BitFloat, FloatRange)
/// 4-byte IEEE floats (DPT 14.x).
QUOR_DECLARE_RANGED_KNX_CONVERTER(KnxConverterFloat32BitFloat, FloatRange)
/// Unsigned 24-bit values (DPT 232.x).
QUOR_DECLARE_RANGED_KNX_CONVERTER(KnxConverterInteger24BitUnsigned, LongIntegerRange)
/// Unsigned 32-bit values (DPT 12.x, 15.x, 27.x).
QUOR_DECLARE_RANGED_KNX_CONVERTER(KnxConverterInteger32BitUnsigned, LongIntegerRange)
/// Signed 32-bit values (DPT 13.x).
QUOR_DECLARE_RANGED_KNX_CONVERTER(KnxConverterInteger32BitSigned, IntegerRange)

// Text, date and time.
/// Single characters (DPT 4.x), ASCII or Latin-1, as UTF-8 text.
QUOR_DECLARE_RANGED_KNX_CONVERTER(KnxConverter8BitString, IntegerRange)
/// 14-byte strings (DPT 16.x), ASCII or Latin-1, as UTF-8 text; characters the DPT cannot hold
/// are replaced.
QUOR_DECLARE_RANGED_KNX_CONVERTER(KnxConverter14ByteString, IntegerRange)
/// Dates (DPT 11.001): reserved bits and the date are checked.
QUOR_DECLARE_KNX_CONVERTER(KnxConverterDate)
/// Times of day with weekday (DPT 10.001): decodes to tvtDayTime; encodes the TEVTIME of the
/// value it is given, which the DPT table's 10.x row lets through as tvtTime only.
QUOR_DECLARE_KNX_CONVERTER(KnxConverterTimeOfDay)
/// Dates with time (DPT 19.001).
QUOR_DECLARE_KNX_CONVERTER(KnxConverterDateTime)

// Scenes.
/// Scene numbers 0..63 (DPT 17.001).
QUOR_DECLARE_RANGED_KNX_CONVERTER(KnxConverterSceneNumber, IntegerRange)
/// Scene control (DPT 18.001): learn bit and scene number.
QUOR_DECLARE_RANGED_KNX_CONVERTER(KnxConverterSceneControl, IntegerRange)
/// Scene info (DPT 26.001): active bit and scene number.
QUOR_DECLARE_RANGED_KNX_CONVERTER(KnxConverterSceneInfo, IntegerRange)

#undef QUOR_DECLARE_RANGED_KNX_CONVERTER
#undef QUOR_DECLARE_KNX_CONVERTER
#undef QUOR_DECLARE_KNX_CONVERTER_BODY

}  // namespace Quor
