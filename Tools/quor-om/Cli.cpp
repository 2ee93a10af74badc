#include "Cli.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <exception>
#include <iomanip>
#include <istream>
#include <ostream>
#include <sstream>
#include <system_error>

#include <boost/algorithm/hex.hpp>
#include <boost/algorithm/string/case_conv.hpp>

#include <log4cplus/loglevel.h>

#include <QuorObjectModel/Version.h>

#include "Commands.h"

namespace QuorOm {

namespace {

constexpr char kProgram[] = "quor-om";

bool IsOptionWord(const std::string& word) {
  return word.size() > 2 && word.compare(0, 2, "--") == 0;
}

const std::vector<Command>& AllCommands() {
  static const std::vector<Command> commands = [] {
    std::vector<Command> all;
    for (auto group : {ConversionCommands, IdCommands, ConfigCommands, RequestCommands}) {
      auto commands = group();
      std::move(commands.begin(), commands.end(), std::back_inserter(all));
    }
    return all;
  }();
  return commands;
}

const Command* FindCommand(const std::string& name) {
  const auto& commands = AllCommands();
  const auto found = std::find_if(commands.begin(), commands.end(),
                                  [&name](const Command& command) { return command.name == name; });
  return found == commands.end() ? nullptr : &*found;
}

// One "usage:" line per form of the synopsis (forms are separated by newlines).
void PrintCommandUsage(const Command& command, std::ostream& os) {
  std::istringstream forms(command.synopsis.empty() ? "\n" : command.synopsis);
  std::string form;
  const char* lead = "usage: ";
  while (std::getline(forms, form)) {
    os << lead << kProgram << ' ' << command.name << (form.empty() ? "" : " ") << form << '\n';
    lead = "       ";
  }
}

void PrintCommandHelp(const Command& command, std::ostream& os) {
  PrintCommandUsage(command, os);
  os << '\n' << command.summary << '\n';
  if (!command.details.empty()) {
    os << '\n' << command.details;
    if (command.details.back() != '\n') {
      os << '\n';
    }
  }
}

void PrintToolUsage(std::ostream& os) {
  os << "usage: " << kProgram << " [--log-level LEVEL] [--log-config FILE] COMMAND [ARGS...]\n"
     << "       " << kProgram << " COMMAND --help | --help | --version\n\ncommands:\n";
  for (const auto& command : AllCommands()) {
    os << "  " << command.name;
    os << std::string(command.name.size() < 10 ? 10 - command.name.size() : 1, ' ')
       << command.summary << '\n';
  }
  os << "\nLibrary log records go to stderr at --log-level (default WARN: TRACE, DEBUG, INFO,\n"
        "WARN, ERROR, FATAL, OFF), or as the log4cplus properties file of --log-config says.\n"
        "Exit status: 0 success, 1 refused by the library, 2 usage error, 3 converted\n"
        "without a DPT table row (the value passed unconverted).\n";
}

void PrintVersion(std::ostream& os) {
  os << kProgram << ' ' << Quor::GetLibraryVersion() << '\n';
}

int ReportUsageError(const std::string& message, const Command* command, std::ostream& err) {
  err << kProgram << ": " << message << '\n';
  if (command != nullptr) {
    PrintCommandUsage(*command, err);
  } else {
    PrintToolUsage(err);
  }
  return kExitUsage;
}

GlobalOptions TakeGlobalOptions(Args& args) {
  GlobalOptions options;
  if (const auto level = args.TakeOption("--log-level")) {
    const auto parsed = ParseLogLevel(*level);
    if (!parsed) {
      throw UsageError("unknown log level '" + *level + "'");
    }
    options.logLevel = *parsed;
    options.logLevelGiven = true;
  }
  options.logConfig = args.TakeOption("--log-config");
  return options;
}

}  // namespace

bool Args::TakeFlag(const std::string& name) {
  const auto before = m_words.size();
  m_words.erase(std::remove(m_words.begin(), m_words.end(), name), m_words.end());
  return m_words.size() != before;
}

boost::optional<std::string> Args::TakeOption(const std::string& name) {
  boost::optional<std::string> value;
  const std::string joined = name + "=";
  for (auto word = m_words.begin(); word != m_words.end();) {
    if (*word == name) {
      if (std::next(word) == m_words.end()) {
        throw UsageError("option " + name + " needs a value");
      }
      value = *std::next(word);
      word = m_words.erase(word, word + 2);
    } else if (word->compare(0, joined.size(), joined) == 0) {
      value = word->substr(joined.size());
      word = m_words.erase(word);
    } else {
      ++word;
    }
  }
  return value;
}

void Args::RejectUnknownOption() const {
  const auto option = std::find_if(m_words.begin(), m_words.end(), IsOptionWord);
  if (option != m_words.end()) {
    throw UsageError("unknown option '" + *option + "'");
  }
}

std::string Args::TakeFront() {
  std::string word = std::move(m_words.front());
  m_words.erase(m_words.begin());
  return word;
}

std::string Args::Next(const std::string& what) {
  RejectUnknownOption();
  if (m_words.empty()) {
    throw UsageError("missing " + what);
  }
  return TakeFront();
}

boost::optional<std::string> Args::NextIfAny() {
  RejectUnknownOption();
  if (m_words.empty()) {
    return boost::none;
  }
  return TakeFront();
}

boost::optional<std::string> Args::TakeCommandName() {
  const auto found = std::find_if(m_words.begin(), m_words.end(), [](const std::string& word) {
    return word.empty() || word[0] != '-';
  });
  if (found == m_words.end()) {
    return boost::none;
  }
  std::string name = std::move(*found);
  m_words.erase(found);
  return name;
}

void Args::ExpectEnd() const {
  RejectUnknownOption();
  if (!m_words.empty()) {
    throw UsageError("unexpected argument '" + m_words.front() + "'");
  }
}

int Run(const std::vector<std::string>& words, Streams& io, const LogSetup& setUpLogging) {
  Args args(words);
  GlobalOptions options;
  const Command* command = nullptr;
  bool help = false;
  try {
    options = TakeGlobalOptions(args);
    // Both spellings are taken out of the words, whichever was given.
    const bool longHelp = args.TakeFlag("--help");
    help = args.TakeFlag("-h") || longHelp;
    const bool version = args.TakeFlag("--version");
    // The command is the first word that is no option, so the tool's options and those of
    // the command may stand before or after it.
    auto name = args.TakeCommandName();
    if (name && *name == "help") {
      help = true;  // "help COMMAND" is "COMMAND --help"
      name = args.TakeCommandName();
    }
    if (!name) {
      if (help || version) {
        (help ? PrintToolUsage : PrintVersion)(io.out);
        return kExitOk;
      }
      throw UsageError("missing command");
    }
    command = FindCommand(*name);
    if (command == nullptr) {
      throw UsageError("unknown command '" + *name + "'");
    }
  } catch (const UsageError& error) {
    return ReportUsageError(error.what(), command, io.err);
  }
  if (help) {
    PrintCommandHelp(*command, io.out);
    return kExitOk;
  }
  if (const auto message = setUpLogging(options)) {
    return ReportUsageError(*message, nullptr, io.err);
  }
  try {
    return command->run(args, io);
  } catch (const UsageError& error) {
    return ReportUsageError(error.what(), command, io.err);
  } catch (const std::exception& error) {
    io.err << kProgram << ": " << error.what() << '\n';
    return kExitRefused;
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
    return (static_cast<unsigned long>(dpt.mainNumber) << 16) | dpt.subNumber;
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
  const std::string digits = HasHexPrefix(text) ? text.substr(2) : text;
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
