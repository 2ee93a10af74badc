#include "Cli.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <istream>
#include <ostream>
#include <sstream>

#include <boost/program_options/errors.hpp>
#include <boost/program_options/parsers.hpp>

#include <log4cplus/loglevel.h>

#include <QuorObjectModel/Version.h>

#include "Commands.h"

namespace QuorOm {

namespace {

constexpr char kProgram[] = "quor-om";

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

namespace po = boost::program_options;

po::options_description ToolOptions() {
  po::options_description options;
  options.add_options()("log-level", po::value<std::string>(), "")(
      "log-config", po::value<std::string>(), "")("help,h", "")("version", "");
  return options;
}

// A word with one dash that names no option is a value: "-300", or "-" for standard input.
std::vector<po::option> TakeDashedValue(std::vector<std::string>& words,
                                        const po::options_description& known) {
  const std::string& word = words.front();
  if (word.empty() || word[0] != '-' || (word.size() > 1 && word[1] == '-') ||
      known.find_nothrow(word, false) != nullptr) {
    return {};
  }
  po::option value;
  value.value.push_back(word);
  value.original_tokens.push_back(word);
  words.erase(words.begin());
  return {value};
}

struct ParsedWords {
  std::map<std::string, std::vector<std::string>> options;  // by long name
  std::vector<std::string> positionals;
};

// With `othersAllowed` the options that `known` lacks are skipped (they belong to the command).
ParsedWords ParseWords(const std::vector<std::string>& words, const po::options_description& known,
                       bool othersAllowed) {
  namespace style = po::command_line_style;
  // Every option as written: no guessed abbreviations, no bundled short options.
  const int exact = style::allow_long | style::long_allow_adjacent | style::long_allow_next |
                    style::allow_short | style::allow_dash_for_short | style::short_allow_next;
  po::command_line_parser parser(words);
  parser.options(known).style(exact).extra_style_parser(
      [&known](std::vector<std::string>& rest) { return TakeDashedValue(rest, known); });
  if (othersAllowed) {
    parser.allow_unregistered();
  }
  ParsedWords parsed;
  try {
    for (const po::option& option : parser.run().options) {
      if (option.string_key.empty()) {
        parsed.positionals.push_back(option.value.front());
      } else if (!option.unregistered) {
        auto& values = parsed.options[option.string_key];
        values.insert(values.end(), option.value.begin(), option.value.end());
      }
    }
  } catch (const po::unknown_option& error) {
    throw UsageError("unknown option '" + error.get_option_name() + "'");
  } catch (const po::invalid_command_line_syntax& error) {
    if (error.kind() == po::invalid_command_line_syntax::missing_parameter) {
      throw UsageError("option " + error.get_option_name() + " needs a value");
    }
    throw UsageError(error.what());
  }
  return parsed;
}

GlobalOptions ReadGlobalOptions(const Args& tool) {
  GlobalOptions options;
  if (const auto level = tool.Value("log-level")) {
    const auto parsed = ParseLogLevel(*level);
    if (!parsed) {
      throw UsageError("unknown log level '" + *level + "'");
    }
    options.logLevel = *parsed;
    options.logLevelGiven = true;
  }
  options.logConfig = tool.Value("log-config");
  return options;
}

// The command is the first word that is neither an option nor a value of one, so the tool's
// options and those of the command may stand before or after it. "help COMMAND" is
// "COMMAND --help".
boost::optional<std::string> TakeCommandName(std::vector<std::string>& words, bool& help) {
  for (;;) {
    const auto found = std::find_if(words.begin(), words.end(), [](const std::string& word) {
      return word.empty() || word[0] != '-';
    });
    if (found == words.end()) {
      return boost::none;
    }
    std::string name = std::move(*found);
    words.erase(found);
    if (name != "help" || help) {
      return name;
    }
    help = true;
  }
}

// The command's own words, read against its options and the tool's.
Args ReadCommandArgs(const Command& command, const std::vector<std::string>& words) {
  po::options_description own;
  if (command.options) {
    auto add = own.add_options();
    command.options(add);
  }
  po::options_description all = ToolOptions();
  all.add(own);
  ParsedWords parsed = ParseWords(words, all, false);
  bool help = false;
  TakeCommandName(parsed.positionals, help);
  return Args(std::move(parsed.options), parsed.positionals);
}

}  // namespace

int Run(const std::vector<std::string>& words, Streams& io, const LogSetup& setUpLogging) {
  const Command* command = nullptr;
  try {
    ParsedWords tool = ParseWords(words, ToolOptions(), true);
    const Args toolArgs(tool.options, {});
    const GlobalOptions options = ReadGlobalOptions(toolArgs);
    bool help = toolArgs.Has("help");
    const auto name = TakeCommandName(tool.positionals, help);
    if (!name) {
      if (help || toolArgs.Has("version")) {
        (help ? PrintToolUsage : PrintVersion)(io.out);
        return kExitOk;
      }
      throw UsageError("missing command");
    }
    command = FindCommand(*name);
    if (command == nullptr) {
      throw UsageError("unknown command '" + *name + "'");
    }
    if (help) {
      PrintCommandHelp(*command, io.out);
      return kExitOk;
    }
    Args args = ReadCommandArgs(*command, words);
    if (const auto message = setUpLogging(options)) {
      return ReportUsageError(*message, nullptr, io.err);
    }
    return command->run(args, io);
  } catch (const UsageError& error) {
    return ReportUsageError(error.what(), command, io.err);
  } catch (const std::exception& error) {
    io.err << kProgram << ": " << error.what() << '\n';
    return kExitRefused;
  }
}

}  // namespace QuorOm
