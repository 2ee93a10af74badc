// What the library relies on of the value library: the serialised text the device stack
// exchanges.
#include <algorithm>
#include <array>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Support/Values.h"

namespace {

using namespace QuorTest;
using namespace std::string_literals;

// Tables kept as text beside the tests: a row a line ('#' a comment), its fields split at '|'
// and trimmed; fields missing at the end are empty.
using Row = std::vector<std::string>;

std::vector<Row> ReadRows(const std::string& path, std::size_t columns) {
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

Bytes HexBytes(const std::string& text) {
  std::istringstream in(text);
  Bytes bytes;
  for (unsigned int byte = 0; in >> std::hex >> byte;) {
    bytes.push_back(static_cast<unsigned char>(byte));
  }
  return bytes;
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(TevValueInternalFormat, WritesTheDocumentedTextAndReadsItBackBitExact) {
  const struct {
    TEVVALUE value;
    std::string text;
  } rows[] = {
      {Float(kNaN), "3.7:nan"},
      {Float(-kInf), "3.7:-inf"},
      {Float(-0.0), "3.7:-0"},
      {Float(std::numeric_limits<double>::max()), "3.7:1.7976931348623157e+308"},
      // Number text is the same on every C++ library: fixed from 1e-4 up to 1e16, the
      // shortest digits that read back, subnormals kept.
      {Float(std::numeric_limits<double>::denorm_min()), "3.7:5e-324"},
      {Float(std::numeric_limits<double>::min()), "3.7:2.2250738585072014e-308"},
      {Float(2.2250738585072009e-308), "3.7:2.225073858507201e-308"},
      {Float(9.999999999999999e-5), "3.7:9.999999999999999e-05"},
      {Float(1e-4), "3.7:0.0001"},
      {Float(0.1 + 0.2), "3.7:0.30000000000000004"},
      {Float(-21.5), "3.7:-21.5"},
      {Float(1e15 + 0.5), "3.7:1000000000000000.5"},
      {Float(9999999999999998.0), "3.7:9999999999999998"},
      {Float(1e16), "3.7:1e+16"},
      {Float(0x1p-52), "3.7:2.220446049250313e-16"},
      {Text("a\0b\xFF\xC3"s), "10.7:a\0b\xFF\xC3"s},
  };
  for (const auto& row : rows) {
    std::string text = "stale";
    EXPECT_TRUE(row.value.Serialize(text, true)) << row.text;
    EXPECT_EQ(text, row.text);
    TEVVALUE read = Text("stale");
    EXPECT_TRUE(read.Deserialize(row.text)) << row.text;
    EXPECT_TRUE(Same(row.value, read)) << row.text;
  }
}

TEST(TevValueInternalFormat, UnreadableTextLeavesInvalid) {
  std::vector<std::string> unreadable{
      "3.7:1e400", "3.7:1e-400",     "3.7:2e-324",      "3.7:0x1p3", "3.7:",      "3.7:.",
      "3.7:-",     "3.7:1e",         "3.7:1e+",         "3.7:e5",    "3.7:1.5x",  "3.7:1..2",
      "3.7: 1",    "3.7:Inf",        "3.7:+inf",        "3.7:-nan",  "2.7:yes",   "2.7:True",
      "1.7:x",     "0.7:0",          "6.7:256",         "6.7:-1",    "7.7:65536", "8.7:4294967296",
      "8.7:-1",    "4.7:2147483648", "4.7:-2147483649", "4.7:+1",    "4.7:1.0",   "999.7:1"};
  // Every field of a time is there, each within its width.
  unreadable.insert(
      unreadable.end(),
      {"11.7:2024-05-17", "11.7:2024-05-17T00:00:00.00 16 1 2 0",
       "11.7:2024-05-17T00:00:00.00 16 1 1 2", "11.7:2024-05-17T00:00:00.00 16 1 1 0 ",
       "11.7:65536-05-17T00:00:00.00 16 1 1 0", "11.7:2024-256-17T00:00:00.00 16 1 1 0",
       "11.7:2024-05-17T00:00:00.256 16 1 1 0", "11.7:2024-05-17T00:00:00.00 65536 1 1 0",
       "11.7:-05-17T00:00:00.00 16 1 1 0"});
  for (const std::string& text : unreadable) {
    TEVVALUE read = Float(1.0);
    EXPECT_FALSE(read.Deserialize(text)) << text;
    EXPECT_TRUE(Same(Invalid(), read)) << text;
  }
}

// Plain text is read as the type it fits; numbers out of range saturate there, and a number
// that is not zero never reads as zero while a subnormal holds it.
TEST(TevValueText, EveryTypeInBothForms) {
  for (const Row& row : ReadRows(QUOR_TABLE_DIR "/text-forms.txt", 4)) {
    TEVVALUE value = Invalid();
    EXPECT_TRUE(value.Deserialize(row[0])) << row[0];
    EXPECT_EQ(Show(value), row[0]);
    EXPECT_EQ(Serialized(value, false), row[1]) << row[0];
    EXPECT_EQ(value.ToString(), row[2]) << row[0];
    // The state word the device stack reads: 1 invalid, 0 empty, 2 a value.
    EXPECT_EQ(TEVVALUE(value.tvt).state, row[2] == "Invalid" ? 1 : row[2] == "Empty" ? 0 : 2);
    TEVVALUE read = Invalid();
    EXPECT_TRUE(read.Deserialize(row[1])) << row[1];
    EXPECT_EQ(Show(read), row[3] == "=" ? row[0] : row[3]) << row[1];
  }
  // Zeros after a fraction's first digit lead nothing; a text of 64 characters or more is
  // read from a copy of its own; many digits outweigh an exponent of the other sign.
  for (const auto& [text, read] : {std::pair{"0.1" + std::string(400, '0') + "e400", "3.7:inf"},
                                   std::pair{std::string(64, '1'), "3.7:1.1111111111111112e+63"},
                                   std::pair{std::string(500, '1') + "e-100", "3.7:inf"},
                                   std::pair{std::string(10400, '1') + "e-9999", "3.7:inf"},
                                   std::pair{"0." + std::string(400, '0') + "1e10", "3.7:0"}}) {
    TEVVALUE value;
    EXPECT_TRUE(value.Deserialize(text));
    EXPECT_EQ(Show(value), read);
  }
  std::string text = "stale";
  EXPECT_FALSE(TEVVALUE(static_cast<TevValueType>(999)).Serialize(text, false));
  EXPECT_EQ(text, "");
  EXPECT_EQ(TEVVALUE(static_cast<TevValueType>(999)).ToString(), "Type999");
  EXPECT_EQ(TevDP::GetNameFromValueSubType(TevDP::TevValueSubType{}), "Generic");  // zeroed
  EXPECT_EQ(TevDP::GetNameFromValueSubType(TevDP::tstLatin1), "Latin1");
  EXPECT_EQ(TevDP::GetNameFromValueSubType(TevDP::tstType9), "SubType9");
  // The sub-type numbers are the platform's, not ours to choose.
  for (const auto& [tst, number] : {std::pair{TevDP::tstStatusWithMode, 3001},
                                    {TevDP::tstControlStep, 3002},
                                    {TevDP::tstPhysicalFloat, 3003},
                                    {TevDP::tstSceneNumber, 4001},
                                    {TevDP::tstAscii, 8001},
                                    {TevDP::tstLatin1, 8002}}) {
    EXPECT_EQ(static_cast<int>(tst), number);
  }
}

// A refusal leaves the length as it was; bytes read back take the type their length gives.
TEST(TevValueBytes, EachTypesLayoutBothWays) {
  for (const Row& row : ReadRows(QUOR_TABLE_DIR "/bytes.txt", 4)) {
    TEVVALUE value;
    ASSERT_TRUE(value.Deserialize(row[0])) << row[0];
    const bool refused = row[2] == "refused";
    unsigned int length = static_cast<unsigned int>(std::stoul(row[1]));
    Bytes buffer(length + 1, 0xAA);
    EXPECT_EQ(TevValueToByteArray(value, buffer.data(), length), !refused) << row[0];
    EXPECT_EQ(length, refused ? std::stoul(row[1]) : HexBytes(row[2]).size()) << row[0];
    EXPECT_EQ(buffer.back(), 0xAA) << row[0];  // nothing written past the size given
    TEVVALUE read = Float(1.0);
    if (!refused && !row[3].empty()) {
      EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + length), HexBytes(row[2])) << row[0];
      EXPECT_TRUE(ByteArrayToTevValue(buffer.data(), length, read, value.tvt == tvtBoolean));
      EXPECT_EQ(read.tvt, std::stoi(row[3])) << row[0];
      EXPECT_TRUE(TevValueToByteArray(read, buffer.data(), length));
      EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + length), HexBytes(row[2])) << row[0];
    }
  }
  TEVVALUE read = Text("stale");
  EXPECT_FALSE(ByteArrayToTevValue(nullptr, 0, read, true));
  EXPECT_TRUE(Same(Text("stale"), read));
}

// Month lengths of a common and a leap year; then the leap rule at its century exceptions,
// the year range, and the weekday (1 = Monday, 0 = no date) and day of the year of a date.
TEST(TevTimeCalendar, ValidDatesAndTheirWeekdays) {
  const std::array<int, 12> common{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  for (const int year : {2023, 2024}) {
    for (int month = 1; month <= 12; ++month) {
      const int last = common[month - 1] + (month == 2 && year == 2024 ? 1 : 0);
      EXPECT_TRUE(TEVTIME::IsValidDate(year, month, last)) << year << "-" << month;
      EXPECT_FALSE(TEVTIME::IsValidDate(year, month, last + 1)) << year << "-" << month;
      EXPECT_FALSE(TEVTIME::IsValidDate(year, month, 0)) << year << "-" << month;
    }
  }
  const int dates[][5] = {{1900, 2, 29, 0, 0},  {2000, 2, 29, 2, 59},   {2100, 2, 29, 0, 0},
                          {2400, 2, 29, 2, 59}, {4, 2, 29, 7, 59},      {1, 1, 1, 1, 0},
                          {0, 12, 31, 0, 0},    {9999, 12, 31, 5, 364}, {10000, 1, 1, 0, 0},
                          {-1, 1, 1, 0, 0},     {2024, 0, 1, 0, 0},     {2024, 13, 1, 0, 0},
                          {1970, 1, 1, 4, 0},   {2023, 12, 31, 7, 364}, {2024, 12, 31, 2, 365},
                          {1900, 3, 1, 4, 59},  {2000, 12, 31, 7, 365}};
  for (const auto& [year, month, day, weekday, dayOfYear] : dates) {
    EXPECT_EQ(TEVTIME::IsValidDate(year, month, day), weekday != 0) << year;
    TEVTIME time{};
    time.SetDate(static_cast<unsigned short>(year), static_cast<unsigned char>(month),
                 static_cast<unsigned char>(day), true);
    EXPECT_EQ(time.weekday, weekday == 0 ? 0 : 1 << (weekday - 1)) << year;
    EXPECT_EQ(time.ToTm().tm_wday, weekday % 7) << year;
    EXPECT_EQ(time.ToTm().tm_yday, dayOfYear) << year;
  }
  // Seconds broken down in local time (mid-June 2024 in every zone); a year outside the 16-bit
  // field, which only a 64-bit long reaches, leaves the time cleared.
  TEVTIME time{};
  time = 1718000000L;
  EXPECT_EQ(time.year * 100 + time.month, 202406);
  for (const long long seconds : {3000000000000LL, -100000000000LL}) {
    if (seconds >= std::numeric_limits<long>::min() &&
        seconds <= std::numeric_limits<long>::max()) {
      time = static_cast<long>(seconds);
      EXPECT_EQ(time.year + time.kind, 0) << seconds;
    }
  }
}

}  // namespace
