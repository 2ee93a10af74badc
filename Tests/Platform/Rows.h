#pragma once
// Tables kept as text beside the platform tests: a row a line ('#' a comment), its fields
// split at '|' and trimmed; fields missing at the end are empty.

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Support/Values.h"

namespace QuorTest {

using Row = std::vector<std::string>;

inline std::vector<Row> ReadRows(const std::string& path, std::size_t columns) {
  std::ifstream file(path);
  EXPECT_TRUE(file.is_open()) << path;
  std::vector<Row> rows;
  for (std::string line; std::getline(file, line);) {
    std::istringstream fields(line);
    Row row;
    for (std::string field; !line.empty() && line[0] != '#' && std::getline(fields, field, '|');) {
      const auto first = std::min(field.find_first_not_of(' '), field.size());
      row.push_back(field.substr(first, field.find_last_not_of(' ') + 1 - first));
    }
    if (!row.empty()) {
      row.resize(std::max(row.size(), columns));
      rows.push_back(row);
    }
  }
  return rows;
}

inline Bytes HexBytes(const std::string& text) {
  std::istringstream in(text);
  Bytes bytes;
  for (unsigned int byte = 0; in >> std::hex >> byte;) {
    bytes.push_back(static_cast<unsigned char>(byte));
  }
  return bytes;
}

}  // namespace QuorTest
