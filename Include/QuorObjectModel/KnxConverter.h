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

  /// Sets scaleFactor to the external span over the internal one. An empty span of either
  /// side leaves it as it is, and a quotient that underflows to 0 sets it to 1, each with an
  /// ERROR record.
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

  /// Sets scaleFactor to the external span over the internal one. An empty span of either
  /// side leaves it as it is, and a quotient that underflows to 0 sets it to 1, each with an
  /// ERROR record.
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

  /// Sets scaleFactor to the external span over the internal one. An empty span of either
  /// side leaves it as it is, and a quotient that underflows to 0 sets it to 1, each with an
  /// ERROR record.
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

  /// Sets scaleFactor to the external span over the internal one. An empty span of either
  /// side leaves it as it is, and a quotient that underflows to 0 sets it to 1, each with an
  /// ERROR record.
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
  /// Encodes value into group for dpt. False when the value is of the wrong type or outside
  /// the range, with an ERROR record, except from KnxConverter1Bit, which refuses silently;
  /// group is then unspecified.
  virtual bool ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value,
                          KnxStack::GroupValue& group) = 0;
  /// Decodes group into value for dpt. False when the received value is not valid for the
  /// encoding, with an ERROR record, except from KnxConverter1Bit, which refuses silently;
  /// value may have been partly written.
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

// Bit fields and enumerations.
/// Fallback for main types without a converter of their own: booleans by main number, anything
/// else as the value library's byte array, as many bytes as the bit size asks for.
class QUOR_API KnxConverterDefault final : public KnxConverter {
 public:
  KnxConverterDefault() = default;
  bool ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value, KnxStack::GroupValue& group) override;
  bool FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group, TEVVALUE& value) override;
  KnxConverterDefault* Clone() const override { return new KnxConverterDefault(*this); }
};
/// 1-bit values (DPT 1.x) as tvtBoolean.
class QUOR_API KnxConverter1Bit final : public KnxConverter {
 public:
  KnxConverter1Bit() = default;
  bool ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value, KnxStack::GroupValue& group) override;
  bool FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group, TEVVALUE& value) override;
  KnxConverter1Bit* Clone() const override { return new KnxConverter1Bit(*this); }
};
/// 2-bit control values (DPT 2.x): control and value bit in one byte.
class QUOR_API KnxConverter2Bit final : public KnxConverter {
 public:
  KnxConverter2Bit() = default;
  bool ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value, KnxStack::GroupValue& group) override;
  bool FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group, TEVVALUE& value) override;
  KnxConverter2Bit* Clone() const override { return new KnxConverter2Bit(*this); }
};
/// 4-bit step control (DPT 3.x): direction and step code.
class QUOR_API KnxConverter4Bit final : public KnxConverter {
 public:
  /// Converts within range.
  explicit KnxConverter4Bit(const FloatIntegerRange& range) : m_range(range) {}
  /// The range it checks against.
  const FloatIntegerRange& GetRange() const { return m_range; }
  bool ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value, KnxStack::GroupValue& group) override;
  bool FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group, TEVVALUE& value) override;
  KnxConverter4Bit* Clone() const override { return new KnxConverter4Bit(*this); }

 private:
  FloatIntegerRange m_range;
};
/// Status with mode (DPT 6.020): five status bits and a mode number in one byte.
class QUOR_API KnxConverterStatus8Bit final : public KnxConverter {
 public:
  /// Converts within range.
  explicit KnxConverterStatus8Bit(const IntegerRange& range) : m_range(range) {}
  /// The range it checks against.
  const IntegerRange& GetRange() const { return m_range; }
  bool ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value, KnxStack::GroupValue& group) override;
  bool FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group, TEVVALUE& value) override;
  KnxConverterStatus8Bit* Clone() const override { return new KnxConverterStatus8Bit(*this); }

 private:
  IntegerRange m_range;
};

// Numbers.
/// Unsigned 8-bit values (DPT 5.x, 20.x, 21.x, 23.x, 236.x, 238.x), not scaled: received
/// values are checked against the range's internal window, sent ones only for DPT 5.006.
class QUOR_API KnxConverterByte8BitUnsigned final : public KnxConverter {
 public:
  /// Converts within range.
  explicit KnxConverterByte8BitUnsigned(const IntegerRange& range) : m_range(range) {}
  /// The range it checks against.
  const IntegerRange& GetRange() const { return m_range; }
  bool ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value, KnxStack::GroupValue& group) override;
  bool FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group, TEVVALUE& value) override;
  KnxConverterByte8BitUnsigned* Clone() const override {
    return new KnxConverterByte8BitUnsigned(*this);
  }

 private:
  IntegerRange m_range;
};
/// Signed 8-bit values (DPT 6.x).
class QUOR_API KnxConverterInteger8BitSigned final : public KnxConverter {
 public:
  /// Converts within range.
  explicit KnxConverterInteger8BitSigned(const IntegerRange& range) : m_range(range) {}
  /// The range it checks against.
  const IntegerRange& GetRange() const { return m_range; }
  bool ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value, KnxStack::GroupValue& group) override;
  bool FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group, TEVVALUE& value) override;
  KnxConverterInteger8BitSigned* Clone() const override {
    return new KnxConverterInteger8BitSigned(*this);
  }

 private:
  IntegerRange m_range;
};
/// Unsigned 16-bit values (DPT 7.x).
class QUOR_API KnxConverterInteger16BitUnsigned final : public KnxConverter {
 public:
  /// Converts within range.
  explicit KnxConverterInteger16BitUnsigned(const IntegerRange& range) : m_range(range) {}
  /// The range it checks against.
  const IntegerRange& GetRange() const { return m_range; }
  bool ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value, KnxStack::GroupValue& group) override;
  bool FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group, TEVVALUE& value) override;
  KnxConverterInteger16BitUnsigned* Clone() const override {
    return new KnxConverterInteger16BitUnsigned(*this);
  }

 private:
  IntegerRange m_range;
};
/// Signed 16-bit values (DPT 8.x).
class QUOR_API KnxConverterInteger16BitSigned final : public KnxConverter {
 public:
  /// Converts within range.
  explicit KnxConverterInteger16BitSigned(const IntegerRange& range) : m_range(range) {}
  /// The range it checks against.
  const IntegerRange& GetRange() const { return m_range; }
  bool ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value, KnxStack::GroupValue& group) override;
  bool FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group, TEVVALUE& value) override;
  KnxConverterInteger16BitSigned* Clone() const override {
    return new KnxConverterInteger16BitSigned(*this);
  }

 private:
  IntegerRange m_range;
};
/// 2-byte KNX floats (DPT 9.x); the raw 0x7FFF reads as tvtInvalid.
class QUOR_API KnxConverterFloat16BitFloat final : public KnxConverter {
 public:
  /// Converts within range.
  explicit KnxConverterFloat16BitFloat(const FloatRange& range) : m_range(range) {}
  /// The range it checks against.
  const FloatRange& GetRange() const { return m_range; }
  bool ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value, KnxStack::GroupValue& group) override;
  bool FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group, TEVVALUE& value) override;
  KnxConverterFloat16BitFloat* Clone() const override {
    return new KnxConverterFloat16BitFloat(*this);
  }

 private:
  FloatRange m_range;
};
/// 4-byte IEEE floats (DPT 14.x).
class QUOR_API KnxConverterFloat32BitFloat final : public KnxConverter {
 public:
  /// Converts within range.
  explicit KnxConverterFloat32BitFloat(const FloatRange& range) : m_range(range) {}
  /// The range it checks against.
  const FloatRange& GetRange() const { return m_range; }
  bool ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value, KnxStack::GroupValue& group) override;
  bool FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group, TEVVALUE& value) override;
  KnxConverterFloat32BitFloat* Clone() const override {
    return new KnxConverterFloat32BitFloat(*this);
  }

 private:
  FloatRange m_range;
};
/// Unsigned 24-bit values (DPT 232.x).
class QUOR_API KnxConverterInteger24BitUnsigned final : public KnxConverter {
 public:
  /// Converts within range.
  explicit KnxConverterInteger24BitUnsigned(const LongIntegerRange& range) : m_range(range) {}
  /// The range it checks against.
  const LongIntegerRange& GetRange() const { return m_range; }
  bool ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value, KnxStack::GroupValue& group) override;
  bool FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group, TEVVALUE& value) override;
  KnxConverterInteger24BitUnsigned* Clone() const override {
    return new KnxConverterInteger24BitUnsigned(*this);
  }

 private:
  LongIntegerRange m_range;
};
/// Unsigned 32-bit values (DPT 12.x, 15.x, 27.x).
class QUOR_API KnxConverterInteger32BitUnsigned final : public KnxConverter {
 public:
  /// Converts within range.
  explicit KnxConverterInteger32BitUnsigned(const LongIntegerRange& range) : m_range(range) {}
  /// The range it checks against.
  const LongIntegerRange& GetRange() const { return m_range; }
  bool ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value, KnxStack::GroupValue& group) override;
  bool FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group, TEVVALUE& value) override;
  KnxConverterInteger32BitUnsigned* Clone() const override {
    return new KnxConverterInteger32BitUnsigned(*this);
  }

 private:
  LongIntegerRange m_range;
};
/// Signed 32-bit values (DPT 13.x).
class QUOR_API KnxConverterInteger32BitSigned final : public KnxConverter {
 public:
  /// Converts within range.
  explicit KnxConverterInteger32BitSigned(const IntegerRange& range) : m_range(range) {}
  /// The range it checks against.
  const IntegerRange& GetRange() const { return m_range; }
  bool ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value, KnxStack::GroupValue& group) override;
  bool FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group, TEVVALUE& value) override;
  KnxConverterInteger32BitSigned* Clone() const override {
    return new KnxConverterInteger32BitSigned(*this);
  }

 private:
  IntegerRange m_range;
};

// Text, date and time.
/// Single characters (DPT 4.x), ASCII or Latin-1, as UTF-8 text.
class QUOR_API KnxConverter8BitString final : public KnxConverter {
 public:
  /// Converts within range.
  explicit KnxConverter8BitString(const IntegerRange& range) : m_range(range) {}
  /// The range it checks against.
  const IntegerRange& GetRange() const { return m_range; }
  bool ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value, KnxStack::GroupValue& group) override;
  bool FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group, TEVVALUE& value) override;
  KnxConverter8BitString* Clone() const override { return new KnxConverter8BitString(*this); }

 private:
  IntegerRange m_range;
};
/// 14-byte strings (DPT 16.x), ASCII or Latin-1, as UTF-8 text; characters the DPT cannot hold
/// are replaced.
class QUOR_API KnxConverter14ByteString final : public KnxConverter {
 public:
  /// Converts within range.
  explicit KnxConverter14ByteString(const IntegerRange& range) : m_range(range) {}
  /// The range it checks against.
  const IntegerRange& GetRange() const { return m_range; }
  bool ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value, KnxStack::GroupValue& group) override;
  bool FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group, TEVVALUE& value) override;
  KnxConverter14ByteString* Clone() const override { return new KnxConverter14ByteString(*this); }

 private:
  IntegerRange m_range;
};
/// Dates (DPT 11.001): reserved bits and the date are checked.
class QUOR_API KnxConverterDate final : public KnxConverter {
 public:
  KnxConverterDate() = default;
  bool ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value, KnxStack::GroupValue& group) override;
  bool FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group, TEVVALUE& value) override;
  KnxConverterDate* Clone() const override { return new KnxConverterDate(*this); }
};
/// Times of day with weekday (DPT 10.001): decodes to tvtDayTime; encodes the TEVTIME of the
/// value it is given, which the DPT table's 10.x row lets through as tvtTime only.
class QUOR_API KnxConverterTimeOfDay final : public KnxConverter {
 public:
  KnxConverterTimeOfDay() = default;
  bool ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value, KnxStack::GroupValue& group) override;
  bool FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group, TEVVALUE& value) override;
  KnxConverterTimeOfDay* Clone() const override { return new KnxConverterTimeOfDay(*this); }
};
/// Dates with time (DPT 19.001).
class QUOR_API KnxConverterDateTime final : public KnxConverter {
 public:
  KnxConverterDateTime() = default;
  bool ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value, KnxStack::GroupValue& group) override;
  bool FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group, TEVVALUE& value) override;
  KnxConverterDateTime* Clone() const override { return new KnxConverterDateTime(*this); }
};

// Scenes.
/// Scene numbers 0..63 (DPT 17.001).
class QUOR_API KnxConverterSceneNumber final : public KnxConverter {
 public:
  /// Converts within range.
  explicit KnxConverterSceneNumber(const IntegerRange& range) : m_range(range) {}
  /// The range it checks against.
  const IntegerRange& GetRange() const { return m_range; }
  bool ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value, KnxStack::GroupValue& group) override;
  bool FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group, TEVVALUE& value) override;
  KnxConverterSceneNumber* Clone() const override { return new KnxConverterSceneNumber(*this); }

 private:
  IntegerRange m_range;
};
/// Scene control (DPT 18.001): learn bit and scene number.
class QUOR_API KnxConverterSceneControl final : public KnxConverter {
 public:
  /// Converts within range.
  explicit KnxConverterSceneControl(const IntegerRange& range) : m_range(range) {}
  /// The range it checks against.
  const IntegerRange& GetRange() const { return m_range; }
  bool ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value, KnxStack::GroupValue& group) override;
  bool FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group, TEVVALUE& value) override;
  KnxConverterSceneControl* Clone() const override { return new KnxConverterSceneControl(*this); }

 private:
  IntegerRange m_range;
};
/// Scene info (DPT 26.001): active bit and scene number.
class QUOR_API KnxConverterSceneInfo final : public KnxConverter {
 public:
  /// Converts within range.
  explicit KnxConverterSceneInfo(const IntegerRange& range) : m_range(range) {}
  /// The range it checks against.
  const IntegerRange& GetRange() const { return m_range; }
  bool ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value, KnxStack::GroupValue& group) override;
  bool FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group, TEVVALUE& value) override;
  KnxConverterSceneInfo* Clone() const override { return new KnxConverterSceneInfo(*this); }

 private:
  IntegerRange m_range;
};

/// A list of converter classes, as a type.
/// \ingroup conversion
template <class... Converters>
struct KnxConverterList {};

/// The converter classes that check against a range (GetRange()): the DPT table builds these
/// from its rows' bounds, the others default-constructed.
/// \ingroup conversion
using RangedKnxConverters =
    KnxConverterList<KnxConverter4Bit, KnxConverterStatus8Bit, KnxConverterByte8BitUnsigned,
                     KnxConverterInteger8BitSigned, KnxConverterInteger16BitUnsigned,
                     KnxConverterInteger16BitSigned, KnxConverterFloat16BitFloat,
                     KnxConverterFloat32BitFloat, KnxConverterInteger24BitUnsigned,
                     KnxConverterInteger32BitUnsigned, KnxConverterInteger32BitSigned,
                     KnxConverter8BitString, KnxConverter14ByteString, KnxConverterSceneNumber,
                     KnxConverterSceneControl, KnxConverterSceneInfo>;

}  // namespace Quor
