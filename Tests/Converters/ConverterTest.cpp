// Each converter family called directly, also with DPTs and types the filled table never hands
// it; the table's own rows show the bytes of every DPT.

#include <cfloat>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <typeinfo>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "QuorObjectModel/KnxConverter.h"
#include "QuorObjectModel/TimeOfDay.h"
#include "Support/LogCapture.h"
#include "Support/Values.h"

namespace {

using namespace QuorTest;
using namespace Quor;
using testing::IsEmpty;
using testing::StartsWith;

enum Direction { To, From };

// Towards KNX: value is sent, and the group value afterwards holds raw and bits (nothing when
// the converter writes nothing). From KNX: raw and bits are received into value, which then
// equals expected, or stays as it was when expected is empty. The one record at INFO or above
// is line, none when it is empty.
struct Case {
  KnxConverter& converter;
  Direction direction;
  KNXDPT dpt;
  TEVVALUE value;
  Bytes raw;
  unsigned int bits;
  bool ok;
  std::string line;
  std::optional<TEVVALUE> expected = std::nullopt;
};

bool SameStorage(const TEVVALUE& a, const TEVVALUE& b) {
  return a.tvt == b.tvt && std::memcmp(&a.value, &b.value, sizeof a.value) == 0 &&
         a.stringValue == b.stringValue;
}

void CheckAll(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE((c.direction == To ? "to " : "from ") + Name(c.dpt) + " " + c.value.ToString() +
                 " " + RawText(c.raw));
    LogCapture capture(log4cplus::INFO_LOG_LEVEL);
    if (c.direction == To) {
      KnxStack::GroupValue group;
      EXPECT_EQ(c.converter.ToKnxValue(c.dpt, c.value, group), c.ok);
      EXPECT_EQ(RawBytes(group), c.raw);
      EXPECT_EQ(group.GetDefinedSize(), c.bits);
    } else {
      TEVVALUE value = c.value;
      EXPECT_EQ(c.converter.FromKnxValue(c.dpt, Group(c.raw, c.bits), value), c.ok);
      EXPECT_TRUE(SameStorage(value, c.expected.value_or(c.value))) << value.ToString();
    }
    EXPECT_EQ(capture.Lines(), c.line.empty() ? Lines{} : Lines{Error(c.line)});
  }
}

Bytes Padded(Bytes bytes) {
  bytes.resize(14, 0x00);
  return bytes;
}

KnxConverter1Bit oneBit;
KnxConverter2Bit twoBit;
KnxConverter4Bit fourBit(FloatIntegerRange(-100.0, 100.0, 0, 15));
KnxConverterStatus8Bit status(IntegerRange{0, 255, 0, 255, 1.0});
KnxConverterByte8BitUnsigned byte8(MakeIntegerRange(0, 255, 0, 255));
KnxConverterInteger8BitSigned int8(MakeIntegerRange(-128, 127, -128, 127));
KnxConverterInteger16BitUnsigned word16(MakeIntegerRange(0, 65535, 0, 65535));
KnxConverterInteger16BitSigned int16(MakeIntegerRange(-32768, 32767, -32768, 32767));
KnxConverterFloat16BitFloat float16(MakeFloatRange(-671088.64, 670760.96, -671088.64, 670760.96));
KnxConverterFloat16BitFloat float16Dpt9001(MakeFloatRange(-273.0, 670760.0, -273.0, 670760.0));
KnxConverterFloat32BitFloat float32(MakeFloatRange(-FLT_MAX, FLT_MAX, -FLT_MAX, FLT_MAX));
KnxConverterInteger24BitUnsigned uint24(MakeLongIntegerRange(0, 16777215, 0, 16777215));
KnxConverterInteger32BitUnsigned uint32(MakeLongIntegerRange(0, 4294967295, 0, 4294967295));
KnxConverterInteger32BitUnsigned uint32Small(MakeLongIntegerRange(0, 100, 0, 100));
KnxConverterInteger32BitSigned int32(MakeIntegerRange(INT32_MIN, INT32_MAX, INT32_MIN, INT32_MAX));
KnxConverterInteger32BitSigned int32Small(MakeIntegerRange(0, 100, 0, 100));
KnxConverterInteger32BitSigned int32Negative(MakeIntegerRange(0, 10, -25, 0));
KnxConverterSceneNumber sceneNumber(MakeIntegerRange(0, 63, 0, 63));
KnxConverterSceneControl sceneControl(MakeIntegerRange(0, 63, 0, 63));
KnxConverterSceneInfo sceneInfo(MakeIntegerRange(-64, 64, 0, 255));
KnxConverterDate date;
KnxConverterTimeOfDay timeOfDay;
KnxConverter8BitString char8(MakeIntegerRange(0, 255, 0, 255));
KnxConverterDateTime dateTime;
KnxConverter14ByteString latin1String(IntegerRange{0, 255, 0, 255, 1.0});
KnxConverterDefault fallback;

// Storage a refused FromKnxValue must leave alone.
const TEVVALUE kUntouched = Time(tvtDate, 1234, 5, 6);

TEST(BitFieldConverters, ValuesAndRefusals) {
  const std::string typeOrDpt2 = "Wrong tev value type (tvtByte) or DPT main number (2.x)!";
  // clang-format off
  CheckAll({
      {oneBit, To, Dpt(2, 1, 1), Boolean(true), {}, 0, false, ""},
      {oneBit, To, Dpt(1, 1, 1), Byte(1), {}, 0, false, ""},
      {oneBit, From, Dpt(2, 1, 1), TEVVALUE(tvtBoolean), {0x01}, 8, false, ""},
      {twoBit, To, Dpt(2, 1, 2), Byte(3), {0x03}, 2, true, ""},
      {twoBit, To, Dpt(1, 1, 2), Byte(1), {}, 0, false, typeOrDpt2},
      {twoBit, To, Dpt(2, 1, 2), Boolean(true), {}, 0, false, typeOrDpt2},
      {twoBit, From, Dpt(2, 1, 2), TEVVALUE(tvtBoolean), {0x02}, 2, true, "", Byte(2)},
      {twoBit, From, Dpt(1, 1, 2), TEVVALUE(tvtBoolean), {0x01}, 8, false, "Wrong DPT main number (2.x)!"},
      {fourBit, To, Dpt(3, 7, 4), Byte(15), {0x0F}, 4, true, ""},
      {fourBit, To, Dpt(3, 8, 4), Byte(0x09), {0x09}, 4, true, ""},
      {fourBit, To, Dpt(3, 7, 4), Byte(16), {}, 0, false, "Value out of raw range [0..15]: 16"},
      {fourBit, To, Dpt(3, 7, 4), Float(5.0), {}, 0, false, "Wrong tev value type (tvtByte) or DPT main number (3.x)!"},
      {fourBit, To, Dpt(5, 7, 4), Byte(9), {}, 0, false, "Wrong tev value type (tvtByte) or DPT main number (3.x)!"},
      // The 4-bit converter leaves the table's tvtFloat in place.
      {fourBit, From, Dpt(3, 7, 4), TEVVALUE(tvtFloat), {0x0B}, 4, true, "", Byte(11, tvtFloat)},
      {fourBit, From, Dpt(5, 1, 4), TEVVALUE(tvtFloat), {0x01}, 8, false, "Wrong DPT main number (3.x)!"},
      {status, To, Dpt(6, 20, 8), Byte(0x02), {0x02}, 8, true, ""},
      {status, To, Dpt(6, 20, 8), Byte(0xFC), {0xFC}, 8, true, ""},
      // Permissive: the DPT alone lets another type through, read as its byte.
      {status, To, Dpt(6, 20, 8), Word(0x0104), {0x04}, 8, true, ""},
      {status, To, Dpt(6, 21, 8), Word(0x0104), {0x04}, 8, true, ""},
      {status, To, Dpt(5, 20, 8), Word(0x0104), {0x04}, 8, true, ""},
      {status, To, Dpt(5, 21, 8), Byte(0x02), {0x02}, 8, true, ""},
      {status, To, Dpt(5, 1, 8), Word(1), {}, 0, false, "Wrong tev value type (tvtByte) or DPT main number (6.020)!"},
      {status, From, Dpt(6, 20, 8), TEVVALUE(tvtEmpty), {0xF4}, 8, true, "", Byte(0xF4)},
      {status, From, Dpt(5, 20, 8), TEVVALUE(tvtEmpty), {0xF4}, 8, true, "", Byte(0xF4)},
      {status, From, Dpt(6, 21, 8), TEVVALUE(tvtEmpty), {0xF4}, 8, true, "", Byte(0xF4)},
      {status, From, Dpt(5, 1, 8), TEVVALUE(tvtByte), {0x01}, 8, false, "Wrong DPT main number (6.020)!"},
      {status, From, Dpt(6, 20, 8), Byte(9), {0x07}, 8, false, "The internal value of DPT=6.20, f=7 is out of the allowed range."},
      {status, From, Dpt(6, 20, 8), Byte(9), {0x80}, 8, false, "The internal value of DPT=6.20, f=0 is out of the allowed range."},
  });
  // clang-format on
  KnxStack::GroupValue group;
  EXPECT_THROW(twoBit.ToKnxValue(Dpt(2, 1, 2), Byte(4), group), KnxStack::GroupValueException);
}

TEST(NumericConverters, ValuesAndRefusals) {
  // clang-format off
  CheckAll({
      {byte8, To, Dpt(5, 1, 8), Word(1), {}, 0, false, "Wrong tev value type (tvtByte)!"},
      {byte8, From, Dpt(5, 1, 8), TEVVALUE(tvtEmpty), {0x80}, 8, true, "", Byte(0x80)},
      {int8, To, Dpt(7, 1, 8), Integer(1), {}, 0, false, "Wrong tev value type (tvtInteger) or DPT main number (6.x)!"},
      {int8, To, Dpt(6, 1, 8), Byte(1), {}, 0, false, "Wrong tev value type (tvtInteger) or DPT main number (6.x)!"},
      {word16, To, Dpt(7, 1, 16), Integer(0x10005), {0x00, 0x05}, 16, true, ""},  // permissive: DPT suffices
      {word16, To, Dpt(8, 1, 16), Integer(1), {}, 0, false, "Wrong DPT main number (7.x) or tev value type (tvtWord)!"},
      {word16, To, Dpt(8, 1, 16), Word(1), {0x00, 0x01}, 16, true, ""},
      {word16, From, Dpt(8, 1, 16), TEVVALUE(tvtWord), {0x00, 0x01}, 16, false, "Wrong DPT main number (7.x)!"},
      {word16, From, Dpt(7, 1, 16), TEVVALUE(tvtEmpty), {0x12, 0x34}, 16, true, "", Word(0x1234)},
      {int16, To, Dpt(8, 1, 16), Integer(70000), {0x11, 0x70}, 16, true, ""},
      {int16, To, Dpt(7, 1, 16), Integer(-2), {0xFF, 0xFE}, 16, true, ""},  // permissive: the type suffices
      {int16, To, Dpt(8, 1, 16), Word(5), {0x00, 0x05}, 16, true, ""},
      {int16, To, Dpt(7, 1, 16), Word(1), {}, 0, false, "Wrong DPT main number (8.x) or tev value type (tvtInteger)!"},
      {int16, From, Dpt(8, 1, 16), TEVVALUE(tvtEmpty), {0xFF, 0xFE}, 16, true, "", Integer(-2)},
      {int16, From, Dpt(7, 1, 16), TEVVALUE(tvtInteger), {0x00, 0x01}, 16, false, "Wrong DPT main number (8.x)!"},
      {float16, To, Dpt(8, 1, 16), Integer(1), {}, 0, false, "Wrong DPT main number (9.x) or tev value type (tvtFloat)!"},
      {float16, To, Dpt(8, 1, 16), Float(21.5), {0x0C, 0x33}, 16, true, ""},
      {float16, To, Dpt(8, 1, 16), Invalid(), {0x7F, 0xFF}, 16, true, ""},
      {float16, To, Dpt(9, 0, 16), Float(21.5, tvtDWord), {0x0C, 0x33}, 16, true, ""},
      {float16, To, Dpt(9, 0, 16), Float(std::numeric_limits<double>::quiet_NaN()), {}, 0, false, "The internal value of DPT=9.0, f=nan is out of the allowed range."},
      {float16, From, Dpt(9, 0, 16), TEVVALUE(tvtFloat), {0x7F, 0xFF}, 16, true, "", Float(0.0, tvtInvalid)},
      {float16Dpt9001, To, Dpt(9, 1, 16), Float(-30.0), {0x8A, 0x24}, 16, true, ""},
      {float32, To, Dpt(14, 0, 32), Float(-1e300), {0xFF, 0x80, 0x00, 0x00}, 32, true, ""},
      {float32, To, Dpt(13, 1, 32), Integer(1), {}, 0, false, "Wrong DPT main number (14.x) or tev value type (tvtFloat)!"},
      {float32, To, Dpt(13, 1, 32), Float(1.5), {0x3F, 0xC0, 0x00, 0x00}, 32, true, ""},
      {float32, To, Dpt(13, 1, 32), Invalid(), {0x7F, 0xC0, 0x00, 0x00}, 32, true, ""},
      {float32, To, Dpt(14, 0, 32), Float(1.5, tvtDWord), {0x3F, 0xC0, 0x00, 0x00}, 32, true, ""},
      {float32, From, Dpt(14, 0, 32), TEVVALUE(tvtEmpty), {0xC0, 0x20, 0x00, 0x00}, 32, true, "", Float(-2.5)},
      {float32, From, Dpt(9, 1, 32), TEVVALUE(tvtFloat), {0x3F, 0x80, 0x00, 0x00}, 32, false, "Wrong DPT main number (14.x)!"},
      // The 24-bit converter leaves the caller's tvt in place.
      {uint24, From, Dpt(232, 600, 24), TEVVALUE(tvtEmpty), {0x34, 0x56, 0x78}, 24, true, "", DWord(0x345678, tvtEmpty)},
      {uint32, To, Dpt(12, 1, 32), Integer(1), {}, 0, false, "Wrong tev value type (tvtDWord)!"},
      {uint32Small, To, Dpt(12, 1, 32), DWord(100), {0x00, 0x00, 0x00, 0x64}, 32, true, ""},
      {uint32, From, Dpt(12, 1, 32), TEVVALUE(tvtEmpty), {0x00, 0x00, 0x00, 0x05}, 32, true, "", DWord(5)},
      {uint32Small, To, Dpt(12, 1, 32), DWord(101), {}, 0, false, "The internal value of DPT=12.1, tvt=8 is out of range: 101!"},
      {uint32Small, From, Dpt(12, 1, 32), TEVVALUE(tvtDWord), {0xFF, 0xFF, 0xFF, 0xFF}, 32, false, "The internal value of DPT=12.1, tvt=8 is out of range: 4294967295!"},
      {int32, To, Dpt(13, 1, 32), Integer(-5), {0xFF, 0xFF, 0xFF, 0xFB}, 32, true, ""},
      {int32, To, Dpt(12, 1, 32), Word(1), {}, 0, false, "Wrong DPT main number (13.x) or tev value type (tvtInteger)!"},
      {int32, To, Dpt(12, 1, 32), Integer(-5), {0xFF, 0xFF, 0xFF, 0xFB}, 32, true, ""},
      {int32, To, Dpt(13, 1, 32), Integer(-5, tvtDWord), {0xFF, 0xFF, 0xFF, 0xFB}, 32, true, ""},
      {int32, From, Dpt(12, 1, 32), TEVVALUE(tvtInteger), {0x00, 0x00, 0x00, 0x01}, 32, false, "Wrong DPT main number (13.x)!"},
      {int32Small, To, Dpt(13, 1, 32), Integer(-1), {}, 0, false, "The internal value of DPT=13.1, tvt=4 is out of range: -1!"},
      {int32Small, From, Dpt(13, 1, 32), TEVVALUE(tvtInteger), {0xFF, 0xFF, 0xFF, 0xFF}, 32, false, "The group value of DPT=13.1 is out of range: -1!"},
      {int32Negative, To, Dpt(13, 1, 32), Integer(1), {0xFF, 0xFF, 0xFF, 0xE9}, 32, true, ""},  // -22.5 -> -23
      // No scaling back: the raw value is checked against the internal window only.
      {int32Negative, From, Dpt(13, 1, 32), TEVVALUE(tvtEmpty), {0x00, 0x00, 0x00, 0x07}, 32, true, "", Integer(7)},
  });
  // clang-format on
}

TEST(SceneConverters, ValuesAndRefusals) {
  const std::string scene18 = "Wrong DPT for Scene number (18.001) or tev value type (tvtByte).";
  // clang-format off
  CheckAll({
      {sceneNumber, To, Dpt(18, 2, 8), Word(1), {}, 0, false, "Wrong DPT main number (17.001) or tev value type (tvtByte)!"},
      // Permissive: one right part of main, sub and type lets the value through.
      {sceneNumber, To, Dpt(17, 2, 8), Integer(5, tvtWord), {0x05}, 8, true, ""},
      {sceneNumber, To, Dpt(18, 1, 8), Integer(5, tvtWord), {0x05}, 8, true, ""},
      {sceneNumber, To, Dpt(18, 2, 8), Integer(5, tvtByte), {0x05}, 8, true, ""},
      {sceneNumber, From, Dpt(17, 2, 8), TEVVALUE(tvtInteger), {0x05}, 8, true, "", Integer(5, tvtByte)},
      {sceneNumber, From, Dpt(18, 1, 8), TEVVALUE(tvtInteger), {0x05}, 8, true, "", Integer(5, tvtByte)},
      {sceneNumber, To, Dpt(17, 1, 8), Integer(-1), {}, 0, false, "Scene number is out of range (>63) for SceneNumber: -1"},
      // The whole integer is read, even for a byte.
      {sceneNumber, To, Dpt(17, 1, 8), Integer(300, tvtByte), {}, 0, false, "Scene number is out of range (>63) for SceneNumber: 300"},
      {sceneNumber, From, Dpt(18, 2, 8), TEVVALUE(tvtInteger), {0x01}, 8, false, "Wrong DPT main number (17.001)!"},
      {sceneControl, To, Dpt(18, 1, 8), Byte(0x85), {0x85}, 8, true, ""},  // learn scene 5
      {sceneControl, To, Dpt(18, 1, 8), Byte(0x3F), {0x3F}, 8, true, ""},
      {sceneControl, To, Dpt(18, 2, 8), Byte(1), {}, 0, false, scene18},
      {sceneControl, To, Dpt(18, 1, 8), Integer(1), {}, 0, false, scene18},
      {sceneControl, To, Dpt(17, 1, 8), Byte(1), {}, 0, false, scene18},
      {sceneControl, To, Dpt(18, 1, 8), Byte(0xC1), {}, 0, false, "Scene number is out of range (>63) for SceneControl: 65"},
      {sceneControl, From, Dpt(17, 1, 8), TEVVALUE(tvtInteger), {0x01}, 8, false, "Wrong DPT for Scene number, only 18.001 is valid."},
      {sceneControl, From, Dpt(18, 2, 8), TEVVALUE(tvtInteger), {0x01}, 8, false, "Wrong DPT for Scene number, only 18.001 is valid."},
      {sceneInfo, To, Dpt(26, 2, 8), Byte(1), {}, 0, false, "Wrong DPT for Scene number (26.001) or tev value type (tvtByte)."},
      {sceneInfo, To, Dpt(25, 1, 8), Byte(1), {}, 0, false, "Wrong DPT for Scene number (26.001) or tev value type (tvtByte)."},
      {sceneInfo, To, Dpt(26, 1, 8), Integer(1), {}, 0, false, "Wrong DPT for Scene number (26.001) or tev value type (tvtByte)."},
      {sceneInfo, From, Dpt(26, 2, 8), TEVVALUE(tvtByte), {0x01}, 8, false, "Wrong DPT for Scene number, only 26.001 is valid."},
      {sceneInfo, From, Dpt(25, 1, 8), TEVVALUE(tvtByte), {0x01}, 8, false, "Wrong DPT for Scene number, only 26.001 is valid."},
      {sceneInfo, From, Dpt(26, 1, 8), TEVVALUE(tvtByte), {0x85}, 8, false, "Reserved bit 8 is set for SceneInfo; refused."},
  });
  // clang-format on
}

// The filled table's rows show the upper year and the reserved and invalid fields; short data
// never gets past its size check.
TEST(DateAndTextConverters, ValuesAndRefusals) {
  // clang-format off
  CheckAll({
      {date, To, Dpt(11, 1, 24), Time(tvtDate, 1989, 12, 31), {}, 0, false, "Cannot convert the date outside of the range [1990...2089]: year=1989, month=12, day=31"},
      {date, To, Dpt(5, 2, 24), Time(tvtString, 2024, 5, 17), {}, 0, false, "Wrong DPT main number (11.001) or tev value type (tvtDate)!"},
      // Permissive: one right part of main, sub and type lets the value through.
      {date, To, Dpt(11, 2, 24), Time(tvtDateTime, 2024, 5, 17), {0x11, 0x05, 0x18}, 24, true, ""},
      {date, To, Dpt(5, 1, 24), Time(tvtDateTime, 2024, 5, 17), {0x11, 0x05, 0x18}, 24, true, ""},
      {date, To, Dpt(5, 2, 24), Time(tvtDate, 2024, 5, 17), {0x11, 0x05, 0x18}, 24, true, ""},
      {date, From, Dpt(11, 2, 24), kUntouched, {0xFF, 0xFF, 0xFF}, 24, false, "No valid Date datagram, reserved fields are not zero!"},
      {date, From, Dpt(5, 1, 24), kUntouched, {0xFF, 0xFF, 0xFF}, 24, false, "No valid Date datagram, reserved fields are not zero!"},
      {date, From, Dpt(5, 2, 24), kUntouched, {0x11, 0x05, 0x18}, 24, false, "Wrong DPT main number (11.001)!"},
      {date, From, Dpt(11, 1, 24), Time(tvtEmpty, 1999, 9, 9, 7, 8, 9, 4, true), {0x11, 0x05, 0x18}, 24, true, "", Calendar(tvtDate, 2024, 5, 17)},  // the old time goes
      // The date-time receiver leaves the type to the table's row and drops the old time.
      {dateTime, From, Dpt(19, 1, 64), Time(tvtEmpty, 1999, 9, 9, 7, 8, 9, 4, true), {0x7C, 0x05, 0x11, 0x0D, 0x2D, 0x0A, 0x20, 0x00}, 64, true, "", Calendar(tvtEmpty, 2024, 5, 17, 13, 45, 10)},
      {timeOfDay, To, Dpt(10, 2, 24), Time(tvtTime, 0, 0, 0, 13, 45, 10, 4), {0x6D, 0x2D, 0x0A}, 24, true, ""},
      {timeOfDay, To, Dpt(5, 1, 24), Time(tvtTime, 0, 0, 0, 13, 45, 10, 4), {0x6D, 0x2D, 0x0A}, 24, true, ""},
      {timeOfDay, To, Dpt(5, 2, 24), Time(tvtDayTime, 0, 0, 0, 13, 45, 10, 4), {0x6D, 0x2D, 0x0A}, 24, true, ""},
      {timeOfDay, To, Dpt(5, 2, 24), Time(tvtTime, 0, 0, 0, 13, 45, 10, 4), {}, 0, false, "Wrong DPT main number (10.001) or tev value type (tvtDayTime)!"},
      {timeOfDay, From, Dpt(10, 2, 24), kUntouched, {0x6D, 0x6D, 0x0A}, 24, false, "No valid TimeOfDay datagram, reserved fields are not zero!"},
      {timeOfDay, From, Dpt(5, 1, 24), kUntouched, {0x6D, 0x6D, 0x0A}, 24, false, "No valid TimeOfDay datagram, reserved fields are not zero!"},
      {timeOfDay, From, Dpt(5, 2, 24), kUntouched, {0x6D, 0x2D, 0x0A}, 24, false, "Wrong DPT main number (10.001)!"},
      {char8, To, Dpt(5, 1, 8), Text("A"), {}, 0, false, "Wrong tev value type (tvtString) or DPT main number (4.x)!"},
      {char8, To, Dpt(4, 1, 8), Byte(0x41), {}, 0, false, "Wrong tev value type (tvtString) or DPT main number (4.x)!"},
      {char8, From, Dpt(4, 2, 8), Text("old"), {0xE9}, 8, true, "", Text("\xC3\xA9")},  // the text is replaced
      {char8, From, Dpt(4, 1, 8), TEVVALUE(tvtEmpty), {0x41}, 8, true, "", Text("A")},
      {date, From, Dpt(11, 1, 24), kUntouched, {0xFF, 0xFF, 0xFF}, 24, false, "No valid Date datagram, reserved fields are not zero!"},
      {date, From, Dpt(11, 1, 24), kUntouched, {17, 5}, 16, false, "Exception caught during conversion of date: BinaryData::GetUInt24Value: index 0 needs 3 bytes, data has 2 bytes"},
      {dateTime, From, Dpt(19, 1, 64), kUntouched, {124, 5, 17, 13, 45}, 40, false, "Exception caught during conversion of date and time: BinaryData::GetUInt8Value: index 5 needs 1 byte, data has 5 bytes"},
      // Two-byte sequences fold into one byte, everything else passes; the walk stops at a zero.
      {latin1String, To, Dpt(16, 1, 112), Text("A\xC3\xA9"), Padded({0x41, 0xE9}), 112, true, ""},
      {latin1String, To, Dpt(16, 1, 112), Text("\xDF\xBF"), Padded({0xFF}), 112, true, ""},
      {latin1String, To, Dpt(16, 1, 112), Text("\xC3\x41"), Padded({0xC1}), 112, true, ""},  // lead before a non-continuation byte
      {latin1String, To, Dpt(16, 1, 112), Text("\xC3\xBC\xC3"), Padded({0xFC, 0xC3}), 112, true, ""},  // truncated lead at the end
      {latin1String, To, Dpt(16, 1, 112), Text(std::string("\xC3\0\xA9", 3)), Padded({0xC3}), 112, true, ""},
      {latin1String, To, Dpt(16, 1, 112), Text("\xE2\x82\xAC"), Padded({0xE2, 0x82, 0xAC}), 112, true, ""},
      {latin1String, To, Dpt(16, 1, 112), Text("\xF0\x9F\x98\x80"), Padded({0xF0, 0x9F, 0x98, 0x80}), 112, true, ""},
      {latin1String, To, Dpt(16, 0, 112), TEVVALUE(tvtByte), Padded({}), 112, true, ""},  // either condition suffices
      {latin1String, To, Dpt(4, 0, 112), Text("A"), Padded({0x41}), 112, true, ""},
      {latin1String, To, Dpt(4, 0, 112), TEVVALUE(tvtByte), {}, 0, false, "Wrong DPT main number (16.x) or tev value type (tvtString)!"},
      {latin1String, From, Dpt(4, 0, 112), TEVVALUE(tvtByte), {0x41}, 112, false, "Wrong DPT main number (16.x)!"},
      {latin1String, From, Dpt(16, 1, 112), TEVVALUE(tvtEmpty), Padded({0x41}), 112, true, "", Text("A")},
  });
  // clang-format on
}

// The fallback sends booleans by main number and everything else as the value library's byte
// array, as long as the bit size asks for (24 bytes without one).
TEST(DefaultConverter, ValuesAndRefusals) {
  const std::string failed = "TevValueToByteArray failed. DPT=";
  // clang-format off
  CheckAll({
      {fallback, To, Dpt(2, 1, 2), Boolean(true), {0x03}, 2, true, ""},  // control 1, value 1
      {fallback, To, Dpt(2, 1, 2), Boolean(false), {0x02}, 2, true, ""},
      {fallback, To, Dpt(1, 1, 1), Boolean(true), {0x01}, 1, true, ""},
      {fallback, To, Dpt(5, 1, 8), Boolean(true), {}, 0, true, ""},
      {fallback, To, Dpt(7, 1, 16), Word(0x1234), {0x12, 0x34}, 0, true, ""},  // raw data only: the size stays the group's
      {fallback, To, Dpt(3, 7, 4), Float(-3.0, tvtDimStep), {0xFD}, 8, true, ""},
      {fallback, To, Dpt(3, 7, 4), Float(-3.0, tvtType1005), {0xFD}, 8, true, ""},
      {fallback, To, Dpt(5, 1, 8), Float(3.0), {0x03}, 8, true, ""},
      {fallback, To, Dpt(0, 0, 0), Float(1.0), {0x3F, 0xF0, 0, 0, 0, 0, 0, 0}, 0, true, ""},
      {fallback, To, Dpt(16, 0, 200), Text(std::string(24, 'a')), Bytes(24, 'a'), 0, true, ""},
      {fallback, To, Dpt(3, 7, 4), Float(1000.0, tvtDimStep), {}, 0, false, failed + "3.7"},
      {fallback, To, Dpt(5, 1, 8), Float(1000.0), {}, 0, false, failed + "5.1 data size =1"},
      {fallback, To, Dpt(16, 0, 0), Text(std::string(25, 'a')), {}, 0, false, failed + "16.0 data size =24"},
      {fallback, From, Dpt(1, 1, 1), TEVVALUE(), {0x01}, 1, true, "", Boolean(true)},
      {fallback, From, Dpt(7, 1, 16), Word(7), {}, 0, false, "ByteArrayToTevValue failed. DPT=7.1 data size =0", TEVVALUE()},
  });
  // clang-format on
}

// Every function writes the trace line first, but the date-time and fallback converters and
// the one- and two-bit receivers; what follows the trace (a refusal, an exception) does not
// matter here.
TEST(Trace, WrittenFirstByAllButDateTimeFallbackAndTheOneAndTwoBitReceivers) {
  const struct {
    KnxConverter& converter;
    bool to, from;
  } cases[] = {
      {oneBit, true, false},    {twoBit, true, false},      {fourBit, true, true},
      {status, true, true},     {byte8, true, true},        {int8, true, true},
      {word16, true, true},     {int16, true, true},        {float16, true, true},
      {float32, true, true},    {uint24, true, true},       {uint32, true, true},
      {int32, true, true},      {sceneNumber, true, true},  {sceneControl, true, true},
      {sceneInfo, true, true},  {date, true, true},         {timeOfDay, true, true},
      {dateTime, false, false}, {latin1String, true, true}, {char8, true, true},
      {fallback, false, false},
  };
  for (const auto& c : cases) {
    for (const Direction direction : {To, From}) {
      SCOPED_TRACE(testing::Message() << typeid(c.converter).name() << " " << direction);
      LogCapture capture;
      TEVVALUE value(tvtEmpty);
      KnxStack::GroupValue group(KnxStack::BinaryData(Bytes(8, 0).data(), 8), 64);
      try {
        static_cast<void>(direction == To ? c.converter.ToKnxValue(Dpt(99, 1, 64), value, group)
                                          : c.converter.FromKnxValue(Dpt(99, 1, 64), group, value));
      } catch (const std::exception&) {
      }
      const std::string trace = direction == To ? "DPT is used. DPT = 99.1 tvt=1 val=Empty"
                                                : "DPT is used. DPT = 99.1 grp.size=64 "
                                                  "grp.val=00 00 00 00 00 00 00 00";
      const bool traced = !capture.Lines().empty() && capture.Lines().front() == Debug(trace);
      EXPECT_EQ(traced, direction == To ? c.to : c.from);
    }
  }
  // The whole call is named.
  LogCapture capture;
  KnxStack::GroupValue group;
  TEVVALUE value(tvtFloat);
  ASSERT_TRUE(fourBit.FromKnxValue(Dpt(3, 7, 4), Group({0x09}, 4), value));
  EXPECT_THAT(capture.Records()[0].message, StartsWith("FromKnxValue("));
}

TEST(Weekday, MasksAndDayNumbers) {
  const uint16_t masks[] = {0, 1, 2, 4, 8, 16, 32, 64};
  for (unsigned day = 0; day < 8; ++day) {
    EXPECT_EQ(QuorApp::ToTevWeekday(static_cast<QuorApp::DayOfWeek>(day)), masks[day]);
    EXPECT_EQ(
        QuorApp::FromTevTime(Time(tvtDayTime, 0, 0, 0, 13, 45, 10, masks[day]).value.timeValue)
            ->GetWeekday(),
        day);
  }
  for (const uint16_t notOneDay : {3, 128, 0xFFFF}) {
    EXPECT_EQ(QuorApp::FromTevTime(Time(tvtDayTime, 0, 0, 0, 13, 45, 10, notOneDay).value.timeValue)
                  ->GetWeekday(),
              QuorApp::NoDay);
  }
  EXPECT_FALSE(QuorApp::FromTevTime(Time(tvtDayTime, 0, 0, 0, 24, 0, 0).value.timeValue));
}

TEST(WeekdayDeathTest, DayNumberAboveSevenEndsTheProcess) {
  EXPECT_DEATH(
      {
        LogToStderr();
        QuorApp::ToTevWeekday(static_cast<QuorApp::DayOfWeek>(8));
      },
      "This statement should not be executed\\. There is a bug somewhere around "
      "TimeOfDay\\.cpp:[0-9]+");
}

}  // namespace
