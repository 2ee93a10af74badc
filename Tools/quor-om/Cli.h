#pragma once
// Argument handling of quor-om: the command table, usage texts, exit codes and the parsers
// of the argument forms every command shares.

#include <functional>
#include <iosfwd>
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

// The words after the command name. Commands take their options first, then the positionals.
class Args {
 public:
  explicit Args(std::vector<std::string> words) : m_words(std::move(words)) {}

  // Removes every occurrence of the flag; whether there was one.
  bool TakeFlag(const std::string& name);
  // "--name VALUE" or "--name=VALUE", the last one given wins.
  boost::optional<std::string> TakeOption(const std::string& name);
  // The next positional; UsageError naming `what` when there is none.
  std::string Next(const std::string& what);
  boost::optional<std::string> NextIfAny();
  // The first word that does not start with '-', wherever it stands.
  boost::optional<std::string> TakeCommandName();
  // UsageError for anything left over.
  void ExpectEnd() const;

 private:
  std::string TakeFront();
  void RejectUnknownOption() const;

  std::vector<std::string> m_words;
};

struct Command {
  std::string name;
  std::string synopsis;  // arguments after the name
  std::string summary;   // one line for the tool's usage
  std::string details;   // the rest of the command's --help
  std::function<int(Args&, Streams&)> run;
};

// Options of the tool itself, accepted anywhere on the command line.
struct GlobalOptions {
  log4cplus::LogLevel logLevel = log4cplus::WARN_LOG_LEVEL;
  bool logLevelGiven = false;
  boost::optional<std::string> logConfig;
};

// Sets up logging before the command runs; a message makes it a usage error.
using LogSetup = std::function<boost::optional<std::string>(const GlobalOptions&)>;

// The whole tool: arguments without the program name, exit status back.
int Run(const std::vector<std::string>& words, Streams& io, const LogSetup& setUpLogging);

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
// Lowercase hex pairs without separators, as `encode` prints them; "0x" and capitals accepted.
// Empty for a text that is no such thing (a value to refuse, not a usage error).
boost::optional<std::vector<unsigned char>> ParseHex(const std::string& text);
std::string FormatHex(const unsigned char* bytes, unsigned int size);
// Log level by log4cplus name (TRACE, DEBUG, INFO, WARN, ERROR, FATAL, OFF), any case.
boost::optional<log4cplus::LogLevel> ParseLogLevel(const std::string& text);

}  // namespace QuorOm
