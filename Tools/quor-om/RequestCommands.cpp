// demo and stress: the request engine against the simulated device stack.

#include <ostream>

#include "Commands.h"

namespace QuorOm {

namespace {

int NotYet(Args& args, Streams& io) {
  args.ExpectEnd();
  io.err << "quor-om: the request engine is not part of this build yet\n";
  return kExitRefused;
}

}  // namespace

std::vector<Command> RequestCommands() {
  return {
      {"demo", "", "requests against the simulated device stack", "", NotYet},
      {"stress", "", "many requests from several threads with faults injected", "", NotYet},
  };
}

}  // namespace QuorOm
