#pragma once
// The case tables and their checks shared by the converter tests.

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include <KnxStack/GroupValue.h>
#include <KnxStack/KnxDpt.h>
#include <TevValue/TevValue.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "QuorObjectModel/KnxConverter.h"
#include "Support/LogCapture.h"
#include "Support/Values.h"

namespace ConverterTest {

using namespace QuorTest;

constexpr int kError = 40000;

inline bool SameStorage(const TEVVALUE& a, const TEVVALUE& b) {
  return a.tvt == b.tvt && std::memcmp(&a.value, &b.value, sizeof a.value) == 0;
}

// Records at INFO and above: the converters' refusals without their DEBUG trace.
struct ErrorCapture : QuorTest::LogCapture {
  ErrorCapture() : QuorTest::LogCapture(log4cplus::INFO_LOG_LEVEL) {}
};

struct ToCase {
  Quor::KnxConverter& converter;
  KNXDPT dpt;
  TEVVALUE value;
  Bytes raw;
  unsigned int bits;
};

struct FromCase {
  Quor::KnxConverter& converter;
  KNXDPT dpt;
  Bytes raw;
  unsigned int bits;
  TevValueType callerTvt;  // the tvt the table sets before the call
  TEVVALUE expected;       // type and storage afterwards
};

enum class Direction { To, From };
constexpr Direction To = Direction::To;
constexpr Direction From = Direction::From;

// Refusal with its exact ERROR body; an empty body means a silent refusal. The output must
// stay untouched.
struct RefusalCase {
  Quor::KnxConverter& converter;
  Direction direction;
  KNXDPT dpt;
  TEVVALUE value;  // input of To, caller's value of From
  Bytes raw;       // input of From
  std::string body;
};

inline void Check(const ToCase& c) {
  SCOPED_TRACE("to " + Name(c.dpt) + " " + c.value.ToString());
  ErrorCapture capture;
  KnxStack::GroupValue group;
  ASSERT_TRUE(c.converter.ToKnxValue(c.dpt, c.value, group));
  EXPECT_EQ(RawBytes(group), c.raw);
  EXPECT_EQ(group.GetDefinedSize(), c.bits);
  EXPECT_THAT(capture.Lines(), testing::IsEmpty());
}

inline void Check(const FromCase& c) {
  SCOPED_TRACE("from " + Name(c.dpt) + " " + Group(c.raw, c.bits).GetRawData().ToString());
  ErrorCapture capture;
  TEVVALUE value(c.callerTvt);
  ASSERT_TRUE(c.converter.FromKnxValue(c.dpt, Group(c.raw, c.bits), value));
  EXPECT_TRUE(SameStorage(value, c.expected)) << value.ToString();
  EXPECT_THAT(capture.Lines(), testing::IsEmpty());
}

inline void Check(const RefusalCase& c) {
  SCOPED_TRACE(std::string(c.direction == Direction::To ? "to " : "from ") + Name(c.dpt) + " " +
               c.body);
  ErrorCapture capture;
  if (c.direction == Direction::To) {
    KnxStack::GroupValue group;
    EXPECT_FALSE(c.converter.ToKnxValue(c.dpt, c.value, group));
    EXPECT_EQ(group, KnxStack::GroupValue());
  } else {
    TEVVALUE value = c.value;
    EXPECT_FALSE(c.converter.FromKnxValue(c.dpt, Group(c.raw, 8 * c.raw.size()), value));
    EXPECT_TRUE(SameStorage(value, c.value));
  }
  if (c.body.empty()) {
    EXPECT_THAT(capture.Lines(), testing::IsEmpty());
  } else {
    EXPECT_THAT(capture.Lines(), testing::ElementsAre(Line(kError, c.body)));
  }
}

template <class Case>
void CheckAll(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    Check(c);
  }
}

}  // namespace ConverterTest
