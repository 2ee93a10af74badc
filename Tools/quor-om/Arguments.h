#pragma once
// What every command of quor-om shares: the words after the command, the exit statuses, the
// usage error, and the parsers of the argument forms the commands have in common.

#include <deque>
#include <iosfwd>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include <boost/optional.hpp>

#include <log4cplus/loglevel.h>

namespace QuorOm {

enum ExitCode : int {
  kExitOk = 0,
  kExitRefused = 1,  // the library refused a conversion or request
  kExitUsage = 2,
  kExitUnconverted = 3,  // the DPT has no table row: the value passed unconverted
};

// Wrong arguments: reported as one line followed by the usage of the command.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Streams {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
};

// The words after the command, read against the options it declares: options by their long
// name, the other words in order.
class Args {
 public:
  Args(std::map<std::string, std::vector<std::string>> options,
       const std::vector<std::string>& words)
      : m_options(std::move(options)), m_words(words.begin(), words.end()) {}

  // Whether the option was given, in either spelling and however often.
  bool Has(const std::string& name) const { return m_options.count(name) != 0; }
  // The value of the option; the last one given wins.
  boost::optional<std::string> Value(const std::string& name) const;
  // The next word; UsageError naming `what` when there is none.
  std::string Next(const std::string& what);
  boost::optional<std::string> NextIfAny();
  // UsageError for anything left over.
  void ExpectEnd() const;

 private:
  std::map<std::string, std::vector<std::string>> m_options;
  std::deque<std::string> m_words;
};

// Shared argument forms; each throws UsageError for a malformed text.
struct DptText {
  unsigned short mainNumber;
  unsigned short subNumber;
};
// "main.sub" in decimal: "9.001", "9.1", "232.600".
DptText ParseDpt(const std::string& text);
// "main.sub" with the sub number in three digits at least: "9.001".
std::string FormatDpt(unsigned long mainNumber, unsigned long subNumber);
// "main.sub" or the object-model DPT number ("0x90001", or decimal), main type in the upper
// 16 bits.
unsigned long ParseDptNumber(const std::string& text);
// Decimal or "0x" hexadecimal, at most max.
unsigned long ParseUnsigned(const std::string& text, const std::string& what, unsigned long max);
// Hex pairs as `encode` prints them (0c33) or with a blank between bytes as the library's
// BinaryData::ToString does (0c 33); "0x" and capitals accepted.
// Empty for a text that is no such thing (a value to refuse, not a usage error).
boost::optional<std::vector<unsigned char>> ParseHex(const std::string& text);
std::string FormatHex(const unsigned char* bytes, unsigned int size);
// Log level by log4cplus name (TRACE, DEBUG, INFO, WARN, ERROR, FATAL, OFF), any case.
boost::optional<log4cplus::LogLevel> ParseLogLevel(const std::string& text);

}  // namespace QuorOm
