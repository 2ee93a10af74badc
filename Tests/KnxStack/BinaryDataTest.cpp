#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <KnxStack/GroupValue.h>

#include <numeric>
#include <utility>
#include <vector>

namespace {

using KnxStack::BinaryData;
using KnxStack::GroupValueException;
using testing::StrEq;
using testing::ThrowsMessage;
using Bytes = std::vector<unsigned char>;

Bytes Sequence(unsigned int size) {
  Bytes bytes(size);
  std::iota(bytes.begin(), bytes.end(), static_cast<unsigned char>(1));
  return bytes;
}

BinaryData Make(const Bytes& bytes) {
  return BinaryData(bytes.data(), static_cast<unsigned int>(bytes.size()));
}

Bytes BytesOf(const BinaryData& data) {
  return {data.GetData(), data.GetData() + data.GetSize()};
}

bool StoredInline(const BinaryData& data) {
  const auto* object = reinterpret_cast<const unsigned char*>(&data);
  return data.GetData() >= object && data.GetData() < object + sizeof data;
}

TEST(BinaryDataStorage, InlineUpToSixteenBytesHeapBeyondCopiesIndependent) {
  for (unsigned int size : {0u, 3u, 16u, 17u, 300u}) {
    SCOPED_TRACE(size);
    const BinaryData original = Make(Sequence(size));
    EXPECT_EQ(StoredInline(original), size <= BinaryData::InlineCapacity);
    BinaryData copy(original);
    EXPECT_EQ(BytesOf(copy), Sequence(size));
    EXPECT_EQ(copy, original);
    copy.SetUInt8Value(0, 0xEE);
    EXPECT_EQ(BytesOf(original), Sequence(size));
    copy = original;
    EXPECT_EQ(copy, original);
    EXPECT_NE(copy.GetData(), original.GetData());
  }
}

TEST(BinaryDataStorage, AssignmentSwitchesStorageAndMovesHandOverTheHeap) {
  BinaryData data = Make(Sequence(2));
  data = Make(Sequence(40));
  EXPECT_EQ(BytesOf(data), Sequence(40));
  const BinaryData& alias = data;
  data = alias;
  EXPECT_EQ(BytesOf(data), Sequence(40));
  const unsigned char* heap = data.GetData();
  BinaryData moved(std::move(data));
  EXPECT_EQ(moved.GetData(), heap);
  EXPECT_EQ(data.GetSize(), 0u);  // moved-from is defined: empty
  moved = Make({0xAB});
  EXPECT_TRUE(StoredInline(moved));
  EXPECT_EQ(BytesOf(moved), Bytes{0xAB});
}

TEST(BinaryDataFields, SetUInt8GrowsZeroFilledAcrossTheInlineLimit) {
  BinaryData data = Make({0x11, 0x22});
  data.SetUInt8Value(5, 0x66);
  EXPECT_EQ(BytesOf(data), (Bytes{0x11, 0x22, 0, 0, 0, 0x66}));
  data.SetUInt8Value(19, 0x99);
  Bytes expected(20, 0);
  expected[0] = 0x11, expected[1] = 0x22, expected[5] = 0x66, expected[19] = 0x99;
  EXPECT_EQ(BytesOf(data), expected);
  EXPECT_FALSE(StoredInline(data));
}

TEST(BinaryDataFields, BigEndianAtAnIndexAndThreeBytesAsTwentyFourBits) {
  const BinaryData data = Make({0x01, 0x02, 0x03, 0x04, 0x05});
  EXPECT_EQ(data.GetUInt8Value(4), 0x05);
  EXPECT_EQ(data.GetUInt24Value(2), 0x030405u);
  EXPECT_EQ(data.GetUInt32Value(1), 0x02030405u);
  EXPECT_EQ(data.GetUInt32Value(2), 0x030405u);
  EXPECT_EQ(Make({0x12, 0x34, 0x56}).GetUInt32Value(0), 0x123456u);
}

TEST(BinaryDataFields, ReadingPastTheEndThrows) {
  const BinaryData data = Make({0x01, 0x02, 0x03});
  EXPECT_THAT([&] { data.GetUInt8Value(3); },
              ThrowsMessage<GroupValueException>(
                  StrEq("BinaryData::GetUInt8Value: index 3 needs 1 byte, data has 3 bytes")));
  EXPECT_THAT([&] { data.GetUInt24Value(1); },
              ThrowsMessage<GroupValueException>(
                  StrEq("BinaryData::GetUInt24Value: index 1 needs 3 bytes, data has 3 bytes")));
  EXPECT_THAT([&] { data.GetUInt32Value(1); },
              ThrowsMessage<GroupValueException>(
                  StrEq("BinaryData::GetUInt32Value: index 1 needs 3 bytes, data has 3 bytes")));
  EXPECT_THROW(data.GetUInt32Value(0xFFFFFFFFu), GroupValueException);
}

TEST(BinaryDataText, LowercaseHexPairsAndEquality) {
  EXPECT_EQ(BinaryData().ToString(), "");
  EXPECT_EQ(Make({0x0C, 0x33, 0xAF, 0x00}).ToString(), "0c 33 af 00");
  EXPECT_EQ(Make({}), BinaryData());
  EXPECT_NE(Make({1, 2}), Make({1, 3}));
  EXPECT_NE(Make({1, 2}), Make({1, 2, 0}));
}

}  // namespace
