#pragma once
// Shared by the fuzz targets: every log level on with a discarding appender, so the message
// texts of all paths are built too, and a reader that takes fields from the input bytes.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>

#include <log4cplus/appender.h>
#include <log4cplus/logger.h>
#include <log4cplus/nullappender.h>

#include <Quor/Log.h>
#include <TevValue/TevValue.h>

namespace QuorFuzz {

inline void LogEverythingNowhere() {
  static const bool done = [] {
    log4cplus::Logger logger = Quor::GetGlobalDefaultLogger();
    logger.removeAllAppenders();
    logger.addAppender(log4cplus::SharedAppenderPtr(new log4cplus::NullAppender()));
    logger.setLogLevel(log4cplus::TRACE_LOG_LEVEL);
    return true;
  }();
  static_cast<void>(done);
}

// A broken invariant is a finding: report it and abort so the fuzzer keeps the input.
#define QUOR_FUZZ_CHECK(condition)                                                       \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (false)

// Fixed-size fields from the front; missing bytes read as zero.
class Reader {
 public:
  Reader(const uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

  uint8_t U8() { return m_offset < m_size ? m_data[m_offset++] : 0; }
  uint16_t U16() { return static_cast<uint16_t>(U8() | (U8() << 8)); }
  uint32_t U32() { return static_cast<uint32_t>(U16()) | (static_cast<uint32_t>(U16()) << 16); }
  uint64_t U64() { return static_cast<uint64_t>(U32()) | (static_cast<uint64_t>(U32()) << 32); }

  // Everything not read yet.
  const uint8_t* Rest() const { return m_data + m_offset; }
  std::size_t RestSize() const { return m_size - m_offset; }
  std::string RestAsString() const {
    return std::string(reinterpret_cast<const char*>(Rest()), RestSize());
  }

 private:
  const uint8_t* m_data;
  std::size_t m_size;
  std::size_t m_offset = 0;
};

// A value of any type and storage: type (2 bytes, an index into the known types or, with
// the top bit set, a raw number), storage (16), then the string member (the rest).
inline TEVVALUE ReadValue(Reader& in) {
  static constexpr TevValueType kTypes[] = {
      tvtInvalid,  tvtEmpty,    tvtBoolean, tvtFloat,   tvtInteger,  tvtType5,   tvtByte,
      tvtWord,     tvtDWord,    tvtType9,   tvtString,  tvtDate,     tvtTime,    tvtDateTime,
      tvtType14,   tvtDayTime,  tvtType20,  tvtType102, tvtType104,  tvtType105, tvtType201,
      tvtType1005, tvtType1021, tvtPercent, tvtDimStep, tvtType1039,
  };
  const uint16_t selector = in.U16();
  TEVVALUE value((selector & 0x8000u) ? static_cast<TevValueType>(selector & 0x7FFFu)
                                      : kTypes[selector % std::size(kTypes)]);
  unsigned char storage[sizeof value.value] = {};
  for (unsigned char& byte : storage) {
    byte = in.U8();
  }
  // The storage is a union of trivial members: any bytes are some value of every member,
  // except that bool members must hold 0 or 1 to be read. The TEVTIME flags are read by
  // time paths whatever the type; the bool member only for tvtBoolean.
  storage[0] &= value.tvt == tvtBoolean ? 0x01 : 0xFF;
  storage[offsetof(TEVTIME, localTime)] &= 0x01;
  storage[offsetof(TEVTIME, daylightSaving)] &= 0x01;
  std::memcpy(&value.value, storage, sizeof storage);
  value.stringValue = in.RestAsString();
  return value;
}

// The internal text form is lossless: reading it back and writing it again gives the same text.
inline void CheckInternalRoundTrip(const TEVVALUE& value) {
  std::string text;
  if (!value.Serialize(text, true)) {
    return;  // a type without a text form
  }
  TEVVALUE back;
  QUOR_FUZZ_CHECK(back.Deserialize(text));
  std::string again;
  QUOR_FUZZ_CHECK(back.Serialize(again, true));
  QUOR_FUZZ_CHECK(again == text);
  QUOR_FUZZ_CHECK(back.tvt == value.tvt);
}

// Everything a caller may do with a value that came out of a conversion.
inline void UseValue(const TEVVALUE& value) {
  static_cast<void>(value.ToString());
  std::string plain;
  static_cast<void>(value.Serialize(plain, false));
  CheckInternalRoundTrip(value);
}

}  // namespace QuorFuzz
