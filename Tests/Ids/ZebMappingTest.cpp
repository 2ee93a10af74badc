// The object-model numbering and the value type and default value of each main type.

#include <gtest/gtest.h>
#include <boost/optional.hpp>
#include <boost/optional/optional_io.hpp>

#include "QuorObjectModel/KnxZebMapping.h"
#include "Support/ScopedTimeZone.h"
#include "Support/Values.h"

namespace {

using namespace Quor::KnxZebMapping;
using Quor::LogicalDeviceId;
using Quor::ParameterType;
using namespace QuorTest;

const LogicalDeviceId kDev1{1};
const LogicalDeviceId kDev2{2};
const boost::none_t kNone = boost::none;

template <class T>
boost::optional<unsigned long> Widen(const boost::optional<T>& value) {
  return value ? boost::optional<unsigned long>(static_cast<unsigned long>(*value)) : boost::none;
}

boost::optional<unsigned long> Widen(const boost::optional<LogicalDeviceId>& value) {
  return value ? boost::optional<unsigned long>(value->Get()) : boost::none;
}

TEST(KnxZebMapping, IdsAndDecodedNumbers) {
  const struct {
    const char* what;
    boost::optional<unsigned long> actual;
    boost::optional<unsigned long> expected;
  } cases[] = {
      // clang-format off
      {"device", GetDeviceObjModelId(), 1000ul},
      {"KNX device", GetKnxDeviceObjModelId(), 1000ul},
      {"logical device 1", GetLogicalKnxDeviceObjModelId(kDev1), 100000ul},
      {"logical device 2", GetLogicalKnxDeviceObjModelId(kDev2), 200000ul},
      {"last id 1", GetLastObjModelId(kDev1), 199999ul},
      {"last id 2", GetLastObjModelId(kDev2), 299999ul},
      {"device of 99999", Widen(GetLogicalDeviceIdFromObject(99999)), kNone},
      {"device of 100000", Widen(GetLogicalDeviceIdFromObject(100000)), 1ul},
      {"device of 199999", Widen(GetLogicalDeviceIdFromObject(199999)), 1ul},
      {"device of 299999", Widen(GetLogicalDeviceIdFromObject(299999)), 2ul},
      {"device of 300000", Widen(GetLogicalDeviceIdFromObject(300000)), kNone},
      {"app control 1", GetAppHostAppControlChannelObjModelId(kDev1), 100020ul},
      {"app control state 2", GetAppHostAppControlStateObjModelId(kDev2), 200021ul},
      {"app control event 2", GetAppHostAppControlEventObjModelId(kDev2), 200022ul},
      {"app control alive 2", GetAppHostAppControlAliveObjModelId(kDev2), 200023ul},
      {"app control debug 2", GetAppHostAppControlAppDebugObjModelId(kDev2), 200024ul},
      {"CO channel 0", GetCoChannelObjModelId(0, kDev1), 100098ul},
      {"CO value 0", GetCoValueObjModelId(0, kDev1), kNone},
      {"CO channel 1", GetCoChannelObjModelId(1, kDev1), 100100ul},
      {"CO value 1", GetCoValueObjModelId(1, kDev1), 100101ul},
      {"CO channel 4095 dev 1", GetCoChannelObjModelId(4095, kDev1), 108288ul},
      {"CO channel 4096", GetCoChannelObjModelId(4096, kDev1), kNone},
      {"CO value 4096", GetCoValueObjModelId(4096, kDev2), kNone},
      {"CO value of channel", GetCoValueObjModelId(100100ul), 100101ul},
      {"CO value of value", GetCoValueObjModelId(100101ul), kNone},
      {"CO number 4095", Widen(GetCoNumberFromObjModelId(208289, kDev2)), 4095ul},
      {"CO number past end", Widen(GetCoNumberFromObjModelId(108291, kDev1)), kNone},
      {"CO number app control", Widen(GetCoNumberFromObjModelId(100021, kDev1)), kNone},
      {"max Ip", GetMaxParametersOfType(ParameterType::Ip), 100ul},
      {"max Number", GetMaxParametersOfType(ParameterType::Number), 200ul},
      {"max Text", GetMaxParametersOfType(ParameterType::Text), 500ul},
      {"max 3", GetMaxParametersOfType(static_cast<ParameterType>(3)), 0ul},
      {"max -1", GetMaxParametersOfType(static_cast<ParameterType>(-1)), 0ul},
      {"Ip channel 0", GetParameterChannelObjModelId(0, kDev1, ParameterType::Ip), 160000ul},
      {"Ip value 100", GetIpParameterValueObjModelId(100, kDev1), 160201ul},
      {"Ip value 101", GetIpParameterValueObjModelId(101, kDev1), kNone},
      {"Ip channel 101", GetParameterChannelObjModelId(101, kDev1, ParameterType::Ip), kNone},
      {"Number value 200", GetNumberParameterValueObjModelId(200, kDev2), 270401ul},
      {"Number value 201", GetNumberParameterValueObjModelId(201, kDev2), kNone},
      {"Text value 0", GetTextParameterValueObjModelId(0, kDev1), 180001ul},
      {"Text channel 500", GetParameterChannelObjModelId(500, kDev2, ParameterType::Text), 281000ul},
      {"Text value 500", GetTextParameterValueObjModelId(500, kDev2), 281001ul},
      {"Text value 501", GetTextParameterValueObjModelId(501, kDev2), kNone},
      {"generic value", GetParameterValueObjModelId(7, kDev1, ParameterType::Number), 170015ul},
      {"generic value too big", GetParameterValueObjModelId(201, kDev1, ParameterType::Number), kNone},
      {"type 3 number 0", GetParameterChannelObjModelId(0, kDev1, static_cast<ParameterType>(3)), 190000ul},
      {"type 3 number 1", GetParameterChannelObjModelId(1, kDev1, static_cast<ParameterType>(3)), kNone},
      // 10000 * 0xFFFFFFFF wraps in 32 bits as on the device: 160000 - 10000.
      {"type -1 number 0", GetParameterChannelObjModelId(0, kDev1, static_cast<ParameterType>(-1)), 150000ul},
      {"parameter value of channel", GetParameterValueObjModelId(270002ul), 270003ul},
      {"parameter value of CO", GetParameterValueObjModelId(100100ul), kNone},
      {"type of Text 0", Widen(GetParameterTypeFromObjModelId(180000, kDev1)), 2ul},
      {"number of Text 0", Widen(GetParameterNumberFromObjModelId(180000, kDev1)), 0ul},
      {"type of Ip 0", Widen(GetParameterTypeFromObjModelId(160000, kDev1)), kNone},
      {"type of Number 0", Widen(GetParameterTypeFromObjModelId(170000, kDev1)), kNone},
      {"number, wrong device", Widen(GetParameterNumberFromObjModelId(160003, kDev2)), kNone},
      {"type of a CO", Widen(GetParameterTypeFromObjModelId(200100, kDev2)), kNone},
      // clang-format on
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.actual, c.expected) << c.what;
  }
}

TEST(KnxZebMapping, Predicates) {
  const struct {
    const char* what;
    bool actual;
    bool expected;
  } cases[] = {
      {"99999 in a block", IsAnyLogicalKnxDeviceId(99999), false},
      {"100000 in a block", IsAnyLogicalKnxDeviceId(100000), true},
      {"device id in a block", IsAnyLogicalKnxDeviceId(GetDeviceObjModelId()), false},
      {"state 1", IsAppHostAppControlState(100021, kDev1), true},
      {"state, wrong device", IsAppHostAppControlState(100021, kDev2), false},
      {"state is no event", IsAppHostAppControlEvent(100021, kDev1), false},
      {"event 2", IsAppHostAppControlEvent(200022, kDev2), true},
      {"alive 2", IsAppHostAppControlAliveHeartbeat(200023, kDev2), true},
      {"debug 1", IsAppHostAppControlAppDebug(100024, kDev1), true},
      {"debug is no alive", IsAppHostAppControlAliveHeartbeat(100024, kDev1), false},
      {"CO channel 100101 (odd)", IsCoChannel(100101), false},
      {"CO channel 100098", IsCoChannel(100098), false},
      {"CO channel offset 50 (wraps)", IsCoChannel(100050), false},
      {"CO channel 108290", IsCoChannel(108290), false},
      {"CO channel below blocks", IsCoChannel(100), false},
      {"CO channel block 3", IsCoChannel(300100), true},
      {"CO value 0", IsCoValue(0), false},
      {"CO value 108291", IsCoValue(108291), false},
      {"parameter 159999", IsParameterChannel(159999), false},
      {"parameter Ip 0", IsParameterChannel(160000), false},
      {"parameter Ip 101", IsParameterChannel(160202), false},
      {"parameter Number 0", IsParameterChannel(170000), false},
      {"parameter Number 201", IsParameterChannel(170402), false},
      {"parameter Text 0", IsParameterChannel(180000), true},
      {"parameter Text 501", IsParameterChannel(181002), false},
      {"parameter past Text", IsParameterChannel(190002), false},
      {"parameter app control", IsParameterChannel(200021), false},
      {"parameter CO", IsParameterChannel(200100), false},
      {"parameter block 3", IsParameterChannel(360002), true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.actual, c.expected) << c.what;
  }
}

void ExpectCoRoundTrip(unsigned short number, LogicalDeviceId device) {
  const auto channel = GetCoChannelObjModelId(number, device);
  const auto value = GetCoValueObjModelId(number, device);
  ASSERT_TRUE(channel && value) << number;
  EXPECT_EQ(*value, *channel + 1);
  EXPECT_TRUE(IsCoChannel(*channel));
  EXPECT_TRUE(IsCoValue(*value));
  EXPECT_FALSE(IsCoValue(*channel));
  EXPECT_FALSE(IsParameterChannel(*channel));
  EXPECT_EQ(GetCoNumberFromObjModelId(*value, device), number);
  EXPECT_EQ(GetCoNumberFromObjModelId(*channel, device), boost::none);
  EXPECT_EQ(GetLogicalDeviceIdFromObject(*value)->Get(), device.Get());
}

void ExpectParameterRoundTrip(unsigned short number, LogicalDeviceId device, ParameterType type) {
  const auto channel = GetParameterChannelObjModelId(number, device, type);
  const auto value = GetParameterValueObjModelId(number, device, type);
  ASSERT_TRUE(channel && value) << number;
  EXPECT_EQ(GetParameterValueObjModelId(*channel), value);
  const LogicalDeviceId other{device.Get() == 1 ? 2 : 1};
  for (const unsigned long id : {*channel, *value}) {
    EXPECT_TRUE(IsParameterChannel(id)) << id;
    EXPECT_FALSE(IsCoChannel(id) || IsCoValue(id)) << id;
    EXPECT_EQ(Widen(GetParameterTypeFromObjModelId(id, device)), static_cast<unsigned long>(type))
        << id;
    EXPECT_EQ(GetParameterNumberFromObjModelId(id, device), number) << id;
    EXPECT_FALSE(GetParameterTypeFromObjModelId(id, other)) << id;
    EXPECT_EQ(GetLogicalDeviceIdFromObject(id)->Get(), device.Get());
  }
}

TEST(KnxZebMapping, EveryCoAndParameterDecodesToItself) {
  for (const LogicalDeviceId device : {kDev1, kDev2}) {
    for (unsigned short n = 1; n < kCoNumberLimit; ++n) {
      ExpectCoRoundTrip(n, device);
    }
    for (const ParameterType type :
         {ParameterType::Ip, ParameterType::Number, ParameterType::Text}) {
      const auto max = static_cast<unsigned short>(GetMaxParametersOfType(type));
      for (unsigned short n = 1; n <= max; ++n) {
        ExpectParameterRoundTrip(n, device, type);
      }
    }
  }
}

TEVVALUE DateTime1900() {
  // 1900 is before the first second a 32-bit mktime counts: it answers -1.
  TEVVALUE value(tvtDateTime);
  value.value.timeValue = -1L;
  return value;
}

// One row per kind of default, the odd ones among them; the dates are local times and read
// back the same in any zone.
TEST(MainTypeTable, EachKindOfDefault) {
  for (const char* zoneName : {kUtcZone, kCentralEuropeZone}) {
    const ScopedTimeZone zone(zoneName);
    const struct {
      unsigned long dpt;
      const char* tvtName;
      const char* tstName;
      TEVVALUE expected;
    } rows[] = {
        {0x10001, "Boolean", "SubType2001", Boolean(false)},
        {0x60014, "Byte", "SubType9", Byte(1)},  // 6.020 (status with mode) starts at 1
        {0x60015, "Byte", "SubType9", Byte(0)},
        {0x80001, "Integer", "SubType12", Integer(0)},
        {0x9001C, "Float", "Generic", Float(0.0)},
        {0xEA0001, "Word", "Generic", Word(23130)},  // 234.x
        {0xF0001, "DWord", "Generic", DWord(0)},
        {0x100001, "String", "Generic", Text("")},
        {0x40001, "Empty", "Generic", TEVVALUE()},
        {0xE60001, "Empty", "Generic", TEVVALUE()},  // 230.x
        {0xA0001, "DayTime", "Generic", DayTime(0, 0, 0, 0)},
        {0xB0001, "Date", "Generic", Calendar(tvtDate, 1990, 1, 1)},
        {0x130001, "DateTime", "Generic", DateTime1900()},
    };
    for (const auto& row : rows) {
      SCOPED_TRACE(testing::Message() << std::hex << row.dpt << " in " << zoneName);
      EXPECT_EQ(GetTvtFromMainType(row.dpt >> 16), row.tvtName);
      EXPECT_EQ(GetTstFromMainType(row.dpt >> 16), row.tstName);
      EXPECT_EQ(GetTvtFromDpt(static_cast<unsigned int>(row.dpt)), row.expected.tvt);
      for (const bool internalFormat : {false, true}) {
        EXPECT_EQ(GetDefaultValueFromDpt(row.dpt, internalFormat),
                  boost::make_optional(Serialized(row.expected, internalFormat)));
      }
    }
  }
}

// Ids, DPT numbers and main types are 32 bits wide: the device cannot hold more, and a wider
// host reads the same low 32 bits.
TEST(KnxZebMapping, NumbersAre32BitsWide) {
  const auto wide = [](unsigned long long n) { return static_cast<unsigned long>(n); };
  const unsigned long long high = 1ull << 32;
  EXPECT_TRUE(IsAnyLogicalKnxDeviceId(wide(high + 100000)));
  EXPECT_EQ(GetCoValueObjModelId(wide(high + 100100)), boost::make_optional(100101ul));
  EXPECT_EQ(GetParameterValueObjModelId(wide(high + 160002)), boost::make_optional(160003ul));
  EXPECT_EQ(GetCoNumberFromObjModelId(wide(high + 100101), kDev1),
            GetCoNumberFromObjModelId(100101, kDev1));
  EXPECT_EQ(GetDefaultValueFromDpt(wide(high + 0x10001), false),
            GetDefaultValueFromDpt(0x10001, false));
  EXPECT_EQ(GetTvtFromMainType(wide(high + 9)), GetTvtFromMainType(9));
}

TEST(CreateDefaultValueEmptyDeathTest, AnyOtherTypeEndsTheProcess) {
  EXPECT_TRUE(Same(TEVVALUE(), CreateDefaultValueEmpty(tvtEmpty)));
  EXPECT_DEATH(CreateDefaultValueEmpty(tvtByte),
               "CreateDefaultValueEmpty KnxZebMapping\\.cpp:[0-9]+ "
               "QUOR_ASSERT2\\(emptyTevValue\\.tvt == tvt\\) failed");
}

}  // namespace
