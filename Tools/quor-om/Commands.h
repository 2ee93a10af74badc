#pragma once
// The command groups of quor-om, above the arguments they share; Cli.cpp puts them together
// in this order.

#include <functional>
#include <string>
#include <vector>

#include <boost/program_options/options_description.hpp>
#include <boost/program_options/value_semantic.hpp>

#include "Arguments.h"

namespace QuorOm {

// Declares a command's options, e.g. add("bits", value<std::string>(), "")("verbose,v", "").
using OptionDeclaration =
    std::function<void(boost::program_options::options_description_easy_init&)>;

struct Command {
  std::string name;
  std::string synopsis;  // arguments after the name
  std::string summary;   // one line for the tool's usage
  std::string details;   // the rest of the command's --help
  std::function<int(Args&, Streams&)> run;
  OptionDeclaration options;  // empty for a command without options
};

std::vector<Command> ConversionCommands();  // encode, decode, table, defaults
Command TableCommand();                     // table, listed among the conversion commands
std::vector<Command> IdCommands();          // id
std::vector<Command> ConfigCommands();      // config
std::vector<Command> RequestCommands();     // demo, stress

}  // namespace QuorOm
