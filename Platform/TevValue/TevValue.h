#pragma once
// Stand-in for the platform value library: the variant value TEVVALUE, the
// date/time record TEVTIME, their type numbers and their serialised forms.

#include <cstdint>
#include <ctime>
#include <string>

#define TEVVALUE_API __attribute__((visibility("default")))

enum TevValueType : int32_t {
  tvtInvalid = 0,
  tvtEmpty = 1,
  tvtBoolean = 2,
  tvtFloat = 3,
  tvtInteger = 4,
  tvtType5 = 5,
  tvtByte = 6,
  tvtWord = 7,
  tvtDWord = 8,
  tvtType9 = 9,
  tvtString = 10,
  tvtDate = 11,
  tvtTime = 12,
  tvtDateTime = 13,
  tvtType14 = 14,
  tvtDayTime = 15,
  tvtType20 = 20,
  tvtType102 = 102,
  tvtType104 = 104,
  tvtType105 = 105,
  tvtType201 = 201,
  tvtType1005 = 1005,
  tvtType1021 = 1021,
  tvtPercent = 1036,
  tvtDimStep = 1037,
  tvtType1039 = 1039,
};

namespace TevDP {

enum TevValueSubType : int32_t {
  tstGeneric = 0,
  tstType9 = 9,
  tstType12 = 12,
  tstType2001 = 2001,
  tstStatusWithMode = 3001,
  tstControlStep = 3002,
  tstPhysicalFloat = 3003,
  tstSceneNumber = 4001,
  tstAscii = 8001,
  tstLatin1 = 8002,
};

// Readable name; "Generic" for tstGeneric, "SubType<n>" for numbers without a name.
TEVVALUE_API std::string GetNameFromValueSubType(TevValueSubType tst);

}  // namespace TevDP

namespace TevWeekDays {

// One bit per day, Monday first; 0 = no day.
enum WEEK_DAY_TYPES : uint16_t {
  NONE = 0,
  MONDAY = 1,
  TUESDAY = 2,
  WEDNESDAY = 4,
  THURSDAY = 8,
  FRIDAY = 16,
  SATURDAY = 32,
  SUNDAY = 64,
};

}  // namespace TevWeekDays

// Date and time of the platform. Trivial so that it can live in TEVVALUE's storage.
struct TEVVALUE_API TEVTIME {
  uint16_t year;
  uint8_t month;
  uint8_t day;
  uint8_t hour;
  uint8_t minute;
  uint8_t second;
  uint8_t hundredths;  // sub-second part, 0..99
  uint16_t weekday;    // TevWeekDays::WEEK_DAY_TYPES mask
  uint16_t kind;       // 1 = the weekday field is meaningful
  bool localTime;      // fields are local time (else UTC)
  bool daylightSaving;

  // Every field zero, localTime as given.
  void Clear(bool local);

  // Gregorian calendar, years 1..9999.
  static bool IsValidDate(int year, int month, int day);
  static bool IsValidTime(int hour, int minute, int second);

  // Set the date (time fields untouched) or date and time (sub-second part zeroed);
  // the weekday is derived from the date and kind set to 1.
  void SetDate(unsigned short year, unsigned char month, unsigned char day, bool local);
  void SetDateTime(unsigned short year, unsigned char month, unsigned char day, unsigned char hour,
                   unsigned char minute, unsigned char second, bool local);

  // Broken-down time with tm_isdst = -1 (let mktime decide), tm_wday/tm_yday derived.
  std::tm ToTm() const;

  // Seconds since the epoch, broken down in local time (the inverse of mktime).
  TEVTIME& operator=(long secondsSinceEpoch);
};

struct TEVVALUE_API TEVVALUE {
  TevValueType tvt;
  union Storage {
    bool boolValue;
    uint8_t byteValue;
    uint16_t wordValue;
    uint32_t dwordValue;
    int32_t intValue;
    double doubleValue;
    TEVTIME timeValue;
  } value;
  std::string stringValue;
  // 1 for tvtInvalid, 0 for tvtEmpty, 2 for every other type; set on construction.
  int32_t state;

  // tvtEmpty, zero storage, empty string, TEVTIME cleared with Clear(true), state 0.
  TEVVALUE();
  // As the default value, but of type t and with the state word of t.
  explicit TEVVALUE(TevValueType t);

  // Readable text for log messages, e.g. "Float 21.5".
  std::string ToString() const;

  // internalFormat false: the plain readable text of the value ("21.5", "true", "nan",
  // "2024-05-17", "13:45:10", the string itself, "" for tvtEmpty, "invalid").
  // internalFormat true: "<tvt>.7:<payload>" naming the type and round-tripping the value
  // exactly (a NaN float is "3.7:nan").
  bool Serialize(std::string& text, bool internalFormat) const;
  // Reads both formats; the type of a plain text is inferred from it.
  bool Deserialize(const std::string& text);

  // Readable name of a value type: "Invalid", "Empty", "Boolean", "Float", ...
  static std::string GetNameFromValueType(TevValueType tvt);
};

// Raw bytes of the value: the big-endian payload of its kind (see TevValue.cpp).
// length is in/out: the buffer size in, the bytes written out.
TEVVALUE_API bool TevValueToByteArray(const TEVVALUE& value, unsigned char* buffer,
                                      unsigned int& length);
// The inverse; oneBit marks a 1-bit source, which always yields a tvtBoolean.
TEVVALUE_API bool ByteArrayToTevValue(const unsigned char* bytes, unsigned int length,
                                      TEVVALUE& value, bool oneBit);
