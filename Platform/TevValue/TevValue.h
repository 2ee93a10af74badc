#pragma once
/// \file
/// The platform value library: the variant value TEVVALUE, the date/time record TEVTIME,
/// their type numbers and their serialised forms. Part of the platform contract the library
/// relies on.
/// \ingroup platform

#include <cstdint>
#include <ctime>
#include <string>

/// Marks the value library's exported symbols.
#define TEVVALUE_API __attribute__((visibility("default")))

/// The type of a TEVVALUE: which member of its storage (or its string) holds the value.
/// \ingroup platform
enum TevValueType : int32_t {
  tvtInvalid = 0,      ///< An invalid value.
  tvtEmpty = 1,        ///< No value.
  tvtBoolean = 2,      ///< boolValue.
  tvtFloat = 3,        ///< doubleValue.
  tvtInteger = 4,      ///< intValue.
  tvtType5 = 5,        ///< A platform type without a name here.
  tvtByte = 6,         ///< byteValue.
  tvtWord = 7,         ///< wordValue.
  tvtDWord = 8,        ///< dwordValue.
  tvtType9 = 9,        ///< A platform type without a name here.
  tvtString = 10,      ///< stringValue, UTF-8.
  tvtDate = 11,        ///< timeValue, date fields.
  tvtTime = 12,        ///< timeValue, time fields.
  tvtDateTime = 13,    ///< timeValue, date and time.
  tvtType14 = 14,      ///< A platform type without a name here.
  tvtDayTime = 15,     ///< timeValue, time of day with weekday.
  tvtType20 = 20,      ///< A platform type without a name here.
  tvtType102 = 102,    ///< A platform type without a name here.
  tvtType104 = 104,    ///< A platform type without a name here.
  tvtType105 = 105,    ///< A platform type without a name here.
  tvtType201 = 201,    ///< A platform type without a name here.
  tvtType1005 = 1005,  ///< A platform type without a name here.
  tvtType1021 = 1021,  ///< A platform type without a name here.
  tvtPercent = 1036,   ///< A percentage.
  tvtDimStep = 1037,   ///< A dimming step.
  tvtType1039 = 1039,  ///< A platform type without a name here.
};

/// The platform's value sub-types.
/// \ingroup platform
namespace TevDP {

/// Refines a TevValueType: how the value is to be read.
enum TevValueSubType : int32_t {
  tstGeneric = 0,            ///< No refinement.
  tstType9 = 9,              ///< A platform sub-type without a name here.
  tstType12 = 12,            ///< A platform sub-type without a name here.
  tstType2001 = 2001,        ///< A platform sub-type without a name here.
  tstStatusWithMode = 3001,  ///< Status with mode (DPT 6.020).
  tstControlStep = 3002,     ///< Control and step (DPT 3).
  tstPhysicalFloat = 3003,   ///< A physical quantity as a float.
  tstSceneNumber = 4001,     ///< A scene number.
  tstAscii = 8001,           ///< ASCII text.
  tstLatin1 = 8002,          ///< Latin-1 text.
};

/// Readable name; "Generic" for tstGeneric, "SubType\<n\>" for numbers without a name.
TEVVALUE_API std::string GetNameFromValueSubType(TevValueSubType tst);

}  // namespace TevDP

/// The platform's weekday bits.
/// \ingroup platform
namespace TevWeekDays {

/// One bit per day, Monday first; 0 = no day.
enum WEEK_DAY_TYPES : uint16_t {
  NONE = 0,       ///< No day.
  MONDAY = 1,     ///< Monday.
  TUESDAY = 2,    ///< Tuesday.
  WEDNESDAY = 4,  ///< Wednesday.
  THURSDAY = 8,   ///< Thursday.
  FRIDAY = 16,    ///< Friday.
  SATURDAY = 32,  ///< Saturday.
  SUNDAY = 64,    ///< Sunday.
};

}  // namespace TevWeekDays

/// Date and time of the platform. Trivial so that it can live in TEVVALUE's storage.
/// \ingroup platform
struct TEVVALUE_API TEVTIME {
  uint16_t year;        ///< Full year.
  uint8_t month;        ///< 1..12.
  uint8_t day;          ///< 1..31.
  uint8_t hour;         ///< 0..23.
  uint8_t minute;       ///< 0..59.
  uint8_t second;       ///< 0..59.
  uint8_t hundredths;   ///< Sub-second part, 0..99.
  uint16_t weekday;     ///< TevWeekDays::WEEK_DAY_TYPES mask.
  uint16_t kind;        ///< 1 = the weekday field is meaningful.
  bool localTime;       ///< Fields are local time (else UTC).
  bool daylightSaving;  ///< Daylight saving time is in effect.

  /// Every field zero, localTime as given.
  void Clear(bool local);

  /// Whether the date exists in the Gregorian calendar, years 1..9999.
  static bool IsValidDate(int year, int month, int day);
  /// Whether the time of day exists.
  static bool IsValidTime(int hour, int minute, int second);

  /// Sets the date (time fields untouched); the weekday is derived from the date and kind set
  /// to 1.
  void SetDate(unsigned short year, unsigned char month, unsigned char day, bool local);
  /// Sets date and time (sub-second part zeroed); the weekday is derived from the date and
  /// kind set to 1.
  void SetDateTime(unsigned short year, unsigned char month, unsigned char day, unsigned char hour,
                   unsigned char minute, unsigned char second, bool local);

  /// Broken-down time with tm_isdst = -1 (let mktime decide), tm_wday/tm_yday derived.
  std::tm ToTm() const;

  /// Seconds since the epoch, broken down in local time (the inverse of mktime).
  TEVTIME& operator=(long secondsSinceEpoch);
};

/// The platform's variant value: tvt says which member holds it. Set the type with the
/// constructor, then the member:
/// \code
/// TEVVALUE temperature(tvtFloat);
/// temperature.value.doubleValue = 21.5;
/// \endcode
/// \ingroup platform
struct TEVVALUE_API TEVVALUE {
  TevValueType tvt;  ///< The value's type.
  /// The payload of every type but tvtString.
  union Storage {
    bool boolValue;         ///< tvtBoolean.
    uint8_t byteValue;      ///< tvtByte.
    uint16_t wordValue;     ///< tvtWord.
    uint32_t dwordValue;    ///< tvtDWord.
    int32_t intValue;       ///< tvtInteger.
    double doubleValue;     ///< tvtFloat.
    TEVTIME timeValue;      ///< tvtDate, tvtTime, tvtDateTime, tvtDayTime.
  } value;                  ///< The payload.
  std::string stringValue;  ///< The payload of tvtString.
  /// 1 for tvtInvalid, 0 for tvtEmpty, 2 for every other type; set on construction.
  int32_t state;

  /// tvtEmpty, zero storage, empty string, TEVTIME cleared with Clear(true), state 0.
  TEVVALUE();
  /// As the default value, but of type t and with the state word of t.
  explicit TEVVALUE(TevValueType t);

  /// Readable text for log messages, e.g. "Float 21.5".
  std::string ToString() const;

  /// internalFormat false: the plain readable text of the value ("21.5", "true", "nan",
  /// "2024-05-17", "13:45:10", the string itself, "" for tvtEmpty, "invalid").
  /// internalFormat true: "\<tvt\>.7:\<payload\>" naming the type and round-tripping the value
  /// exactly (a NaN float is "3.7:nan").
  bool Serialize(std::string& text, bool internalFormat) const;
  /// Reads both formats; the type of a plain text is inferred from it.
  bool Deserialize(const std::string& text);

  /// Readable name of a value type: "Invalid", "Empty", "Boolean", "Float", ...
  static std::string GetNameFromValueType(TevValueType tvt);
};

/// Raw bytes of the value: the big-endian payload of its kind.
/// length is in/out: the buffer size in, the bytes written out.
/// \ingroup platform
TEVVALUE_API bool TevValueToByteArray(const TEVVALUE& value, unsigned char* buffer,
                                      unsigned int& length);
/// The inverse; oneBit marks a 1-bit source, which always yields a tvtBoolean.
/// \ingroup platform
TEVVALUE_API bool ByteArrayToTevValue(const unsigned char* bytes, unsigned int length,
                                      TEVVALUE& value, bool oneBit);
