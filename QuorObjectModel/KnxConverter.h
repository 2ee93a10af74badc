#pragma once
// One converter per KNX encoding family, and the value ranges they check against.

#include <cstdint>
#include <iosfwd>

#include <KnxStack/GroupValue.h>
#include <KnxStack/KnxDpt.h>
#include <TevValue/TevValue.h>

#include "QuorObjectModel/Export.h"

namespace Quor {

// First pair: the platform ("internal") side; second pair: the KNX raw ("external") side.
struct QUOR_API IntegerRange {
  int32_t internalMin;
  int32_t internalMax;
  int32_t externalMin;
  int32_t externalMax;
  double scaleFactor;

  void CalculateScaleFactor();
  // (v - internalMin) * scaleFactor + externalMin, rounded half away from zero.
  int64_t Map(int64_t v) const;
};
// "IntegerRange(0, 254, 0, 254)"
QUOR_API std::ostream& operator<<(std::ostream& os, const IntegerRange& range);

struct QUOR_API LongIntegerRange {
  int64_t internalMin;
  int64_t internalMax;
  int64_t externalMin;
  int64_t externalMax;
  double scaleFactor;

  void CalculateScaleFactor();
};

struct QUOR_API FloatIntegerRange {
  FloatIntegerRange(double doubleMin, double doubleMax, int integerMin, int integerMax);

  double doubleMin;
  double doubleMax;
  int32_t integerMin;
  int32_t integerMax;
  double scaleFactor;

  void CalculateScaleFactor();
};

struct QUOR_API FloatRange {
  double doubleMin;
  double doubleMax;
  double externalMin;
  double externalMax;
  double scaleFactor;

  void CalculateScaleFactor();
};

// Bounds set, scaleFactor 1.0, then CalculateScaleFactor(), as the DPT table builds them.
QUOR_API IntegerRange MakeIntegerRange(int32_t internalMin, int32_t internalMax,
                                       int32_t externalMin, int32_t externalMax);
QUOR_API LongIntegerRange MakeLongIntegerRange(int64_t internalMin, int64_t internalMax,
                                               int64_t externalMin, int64_t externalMax);
QUOR_API FloatRange MakeFloatRange(double doubleMin, double doubleMax, double externalMin,
                                   double externalMax);

class QUOR_API KnxConverter {
 public:
  virtual ~KnxConverter() = default;
  virtual bool ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value,
                          KnxStack::GroupValue& group) = 0;
  virtual bool FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group,
                            TEVVALUE& value) = 0;
  virtual KnxConverter* Clone() const = 0;

 protected:
  KnxConverter() = default;
  KnxConverter(const KnxConverter&) = default;
  KnxConverter& operator=(const KnxConverter&) = default;
};

// Declares a converter class without a range, or with one range member m_range.
#define QUOR_DECLARE_KNX_CONVERTER_BODY(Name)                                                      \
  bool ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value, KnxStack::GroupValue& group) override; \
  bool FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group, TEVVALUE& value)         \
      override;                                                                                    \
  Name* Clone() const override {                                                                   \
    return new Name(*this);                                                                        \
  }

#define QUOR_DECLARE_KNX_CONVERTER(Name)            \
  class QUOR_API Name final : public KnxConverter { \
   public:                                          \
    Name() = default;                               \
    QUOR_DECLARE_KNX_CONVERTER_BODY(Name)           \
  };

#define QUOR_DECLARE_RANGED_KNX_CONVERTER(Name, Range)    \
  class QUOR_API Name final : public KnxConverter {       \
   public:                                                \
    explicit Name(const Range& range) : m_range(range) {} \
    const Range& GetRange() const { return m_range; }     \
    QUOR_DECLARE_KNX_CONVERTER_BODY(Name)                 \
                                                          \
   private:                                               \
    Range m_range;                                        \
  };

// Bit fields and enumerations.
QUOR_DECLARE_KNX_CONVERTER(KnxConverterDefault)
QUOR_DECLARE_KNX_CONVERTER(KnxConverter1Bit)
QUOR_DECLARE_KNX_CONVERTER(KnxConverter2Bit)
QUOR_DECLARE_RANGED_KNX_CONVERTER(KnxConverter4Bit, FloatIntegerRange)
QUOR_DECLARE_RANGED_KNX_CONVERTER(KnxConverterStatus8Bit, IntegerRange)

// Numbers.
QUOR_DECLARE_RANGED_KNX_CONVERTER(KnxConverterByte8BitUnsigned, IntegerRange)
QUOR_DECLARE_RANGED_KNX_CONVERTER(KnxConverterInteger8BitSigned, IntegerRange)
QUOR_DECLARE_RANGED_KNX_CONVERTER(KnxConverterInteger16BitUnsigned, IntegerRange)
QUOR_DECLARE_RANGED_KNX_CONVERTER(KnxConverterInteger16BitSigned, IntegerRange)
QUOR_DECLARE_RANGED_KNX_CONVERTER(KnxConverterFloat16BitFloat, FloatRange)
QUOR_DECLARE_RANGED_KNX_CONVERTER(KnxConverterFloat32BitFloat, FloatRange)
QUOR_DECLARE_RANGED_KNX_CONVERTER(KnxConverterInteger24BitUnsigned, LongIntegerRange)
QUOR_DECLARE_RANGED_KNX_CONVERTER(KnxConverterInteger32BitUnsigned, LongIntegerRange)
QUOR_DECLARE_RANGED_KNX_CONVERTER(KnxConverterInteger32BitSigned, IntegerRange)

// Text, date and time.
QUOR_DECLARE_RANGED_KNX_CONVERTER(KnxConverter8BitString, IntegerRange)
QUOR_DECLARE_RANGED_KNX_CONVERTER(KnxConverter14ByteString, IntegerRange)
QUOR_DECLARE_KNX_CONVERTER(KnxConverterDate)
QUOR_DECLARE_KNX_CONVERTER(KnxConverterTimeOfDay)
QUOR_DECLARE_KNX_CONVERTER(KnxConverterDateTime)

// Scenes.
QUOR_DECLARE_RANGED_KNX_CONVERTER(KnxConverterSceneNumber, IntegerRange)
QUOR_DECLARE_RANGED_KNX_CONVERTER(KnxConverterSceneControl, IntegerRange)
QUOR_DECLARE_RANGED_KNX_CONVERTER(KnxConverterSceneInfo, IntegerRange)

#undef QUOR_DECLARE_RANGED_KNX_CONVERTER
#undef QUOR_DECLARE_KNX_CONVERTER
#undef QUOR_DECLARE_KNX_CONVERTER_BODY

}  // namespace Quor
