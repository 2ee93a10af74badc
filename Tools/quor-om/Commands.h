#pragma once
// The command groups of quor-om; Cli.cpp puts them together in this order.

#include <vector>

#include "Cli.h"

namespace QuorOm {

std::vector<Command> ConversionCommands();  // encode, decode, table, defaults
Command TableCommand();                     // table, listed among the conversion commands
std::vector<Command> IdCommands();          // id
std::vector<Command> ConfigCommands();      // config
std::vector<Command> RequestCommands();     // demo, stress

}  // namespace QuorOm
