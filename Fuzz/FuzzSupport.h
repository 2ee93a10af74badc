#pragma once
// Shared by the fuzz targets: every log level on with a discarding appender, so the message
// texts of all paths are built too, and a reader that takes fields from the input bytes.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <log4cplus/appender.h>
#include <log4cplus/logger.h>
#include <log4cplus/nullappender.h>

#include <QuorHelper/Logging.h>
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
