#include "Arguments.h"

#include <cctype>
#include <charconv>
#include <cstdint>
#include <iomanip>
#include <iterator>
#include <sstream>
#include <system_error>

#include <boost/algorithm/hex.hpp>
#include <boost/algorithm/string/case_conv.hpp>

#include <QuorObjectModel/DptNumber.h>

namespace QuorOm {

boost::optional<std::string> Args::Value(const std::string& name) const {
  const auto found = m_options.find(name);
  if (found == m_options.end() || found->second.empty()) {
    return boost::none;
  }
  return found->second.back();
}

std::string Args::Next(const std::string& what) {
  if (m_words.empty()) {
    throw UsageError("missing " + what);
  }
  std::string word = std::move(m_words.front());
  m_words.pop_front();
  return word;
}

boost::optional<std::string> Args::NextIfAny() {
  if (m_words.empty()) {
    return boost::none;
  }
  return Next("");
}

void Args::ExpectEnd() const {
  if (!m_words.empty()) {
    throw UsageError("unexpected argument '" + m_words.front() + "'");
  }
}

namespace {

// The whole text as one unsigned number in the given base.
bool ReadWhole(const std::string& text, int base, std::uint64_t& number) {
  const char* first = text.data();
  const char* last = first + text.size();
  const auto result = std::from_chars(first, last, number, base);
  return first != last && result.ec == std::errc() && result.ptr == last;
}

bool HasHexPrefix(const std::string& text) {
  return text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
}

}  // namespace

DptText ParseDpt(const std::string& text) {
  const auto point = text.find('.');
  std::uint64_t mainNumber = 0;
  std::uint64_t subNumber = 0;
  if (point == std::string::npos || !ReadWhole(text.substr(0, point), 10, mainNumber) ||
      !ReadWhole(text.substr(point + 1), 10, subNumber) || mainNumber > 0xFFFF ||
      subNumber > 0xFFFF) {
    throw UsageError("DPT '" + text + "' is not main.sub (for example 9.001)");
  }
  return DptText{static_cast<unsigned short>(mainNumber), static_cast<unsigned short>(subNumber)};
}

std::string FormatDpt(unsigned long mainNumber, unsigned long subNumber) {
  std::ostringstream text;
  text << mainNumber << '.' << std::setw(3) << std::setfill('0') << subNumber;
  return text.str();
}

unsigned long ParseDptNumber(const std::string& text) {
  if (text.find('.') != std::string::npos) {
    const DptText dpt = ParseDpt(text);
    return Quor::DptNumber(dpt.mainNumber, dpt.subNumber);
  }
  std::uint64_t number = 0;
  const bool hex = HasHexPrefix(text);
  if (!ReadWhole(hex ? text.substr(2) : text, hex ? 16 : 10, number) || number > 0xFFFFFFFFu) {
    throw UsageError("DPT '" + text +
                     "' is neither main.sub nor a DPT number (for example 0x90001)");
  }
  return static_cast<unsigned long>(number);
}

unsigned long ParseUnsigned(const std::string& text, const std::string& what, unsigned long max) {
  std::uint64_t number = 0;
  const bool hex = HasHexPrefix(text);
  if (!ReadWhole(hex ? text.substr(2) : text, hex ? 16 : 10, number) || number > max) {
    throw UsageError(what + " '" + text + "' is not a number from 0 to " + std::to_string(max));
  }
  return static_cast<unsigned long>(number);
}

boost::optional<std::vector<unsigned char>> ParseHex(const std::string& text) {
  const std::string spaced = HasHexPrefix(text) ? text.substr(2) : text;
  // One blank may stand between two bytes, as BinaryData::ToString prints them ("0c 33"), but
  // not inside a byte, first, last or next to another blank.
  std::string digits;
  for (std::size_t i = 0; i < spaced.size(); ++i) {
    if (spaced[i] != ' ') {
      digits += spaced[i];
    } else if (digits.empty() || digits.size() % 2 != 0 || i + 1 == spaced.size() ||
               spaced[i + 1] == ' ') {
      return boost::none;
    }
  }
  std::vector<unsigned char> bytes;
  try {
    boost::algorithm::unhex(digits, std::back_inserter(bytes));
  } catch (const boost::algorithm::hex_decode_error&) {
    return boost::none;
  }
  return bytes;
}

std::string FormatHex(const unsigned char* bytes, unsigned int size) {
  return boost::algorithm::hex_lower(std::string(bytes, bytes + size));
}

boost::optional<log4cplus::LogLevel> ParseLogLevel(const std::string& text) {
  // The levels by log4cplus's own names (its fromString would complain on stderr of a name
  // it does not know, and take its aliases ALL and NOTSET).
  const std::string upper = boost::algorithm::to_upper_copy(text);
  for (const log4cplus::LogLevel level :
       {log4cplus::TRACE_LOG_LEVEL, log4cplus::DEBUG_LOG_LEVEL, log4cplus::INFO_LOG_LEVEL,
        log4cplus::WARN_LOG_LEVEL, log4cplus::ERROR_LOG_LEVEL, log4cplus::FATAL_LOG_LEVEL,
        log4cplus::OFF_LOG_LEVEL}) {
    if (log4cplus::getLogLevelManager().toString(level) == upper) {
      return level;
    }
  }
  return boost::none;
}

}  // namespace QuorOm
