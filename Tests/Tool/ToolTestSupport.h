#pragma once
// Runs quor-om in-process with string streams; logging is left to the test's LogCapture.

#include <sstream>
#include <string>
#include <vector>

#include "Cli.h"

namespace QuorOmTest {

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

inline Outcome RunTool(const std::vector<std::string>& words, const std::string& input = "") {
  std::istringstream in(input);
  std::ostringstream out;
  std::ostringstream err;
  QuorOm::Streams io{in, out, err};
  const int status = QuorOm::Run(
      words, io, [](const QuorOm::GlobalOptions&) { return boost::optional<std::string>(); });
  return {status, out.str(), err.str()};
}

// The first line of a text, without its newline.
inline std::string FirstLine(const std::string& text) {
  return text.substr(0, text.find('\n'));
}

}  // namespace QuorOmTest
