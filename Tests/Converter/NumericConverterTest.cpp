#include <cfloat>
#include <limits>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ConverterTestSupport.h"

namespace {

using namespace ConverterTest;
using namespace Quor;

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

TEST(NumericConverters, ToKnxValue) {
  // clang-format off
  CheckAll<ToCase>({
      {word16, Dpt(7, 1, 16), Integer(0x10005), {0x00, 0x05}, 16},  // permissive: DPT suffices
      {int16, Dpt(8, 1, 16), Integer(70000), {0x11, 0x70}, 16},
      {float16Dpt9001, Dpt(9, 1, 16), Float(-30.0), {0x8A, 0x24}, 16},
      {float32, Dpt(14, 0, 32), Float(-1e300), {0xFF, 0x80, 0x00, 0x00}, 32},
      {uint32Small, Dpt(12, 1, 32), DWord(100), {0x00, 0x00, 0x00, 0x64}, 32},
      {int32, Dpt(13, 1, 32), Integer(-5), {0xFF, 0xFF, 0xFF, 0xFB}, 32},
      {int32Negative, Dpt(13, 1, 32), Integer(1), {0xFF, 0xFF, 0xFF, 0xE9}, 32},  // -22.5 -> -23
  });
  // clang-format on
}

TEST(NumericConverters, FromKnxValue) {
  // clang-format off
  CheckAll<FromCase>({
      {int16, Dpt(8, 1, 16), {0xFF, 0xFE}, 16, tvtInteger, Integer(-2)},
      {float16, Dpt(9, 0, 16), {0x7F, 0xFF}, 16, tvtFloat, Float(0.0, tvtInvalid)},
      {float32, Dpt(14, 0, 32), {0xC0, 0x20, 0x00, 0x00}, 32, tvtFloat, Float(-2.5)},
      // The 24-bit converter leaves the caller's tvt in place.
      {uint24, Dpt(232, 600, 24), {0x34, 0x56, 0x78}, 24, tvtEmpty, DWord(0x345678, tvtEmpty)},
      // No scaling back: the raw value is checked against the internal window only.
      {int32Negative, Dpt(13, 1, 32), {0x00, 0x00, 0x00, 0x07}, 32, tvtInteger, Integer(7)},
  });
  // clang-format on
}

TEST(NumericConverters, Refusals) {
  // clang-format off
  CheckAll<RefusalCase>({
      {byte8, To, Dpt(5, 1, 8), Word(1), {}, "Wrong tev value type (tvtByte)!"},
      {int8, To, Dpt(7, 1, 8), Integer(1), {}, "Wrong tev value type (tvtInteger) or DPT main number (6.x)!"},
      {int8, To, Dpt(6, 1, 8), Byte(1), {}, "Wrong tev value type (tvtInteger) or DPT main number (6.x)!"},
      {word16, To, Dpt(8, 1, 16), Integer(1), {}, "Wrong DPT main number (7.x) or tev value type (tvtWord)!"},
      {word16, From, Dpt(8, 1, 16), TEVVALUE(tvtWord), {0x00, 0x01}, "Wrong DPT main number (7.x)!"},
      {int16, To, Dpt(7, 1, 16), Word(1), {}, "Wrong DPT main number (8.x) or tev value type (tvtInteger)!"},
      {int16, From, Dpt(7, 1, 16), TEVVALUE(tvtInteger), {0x00, 0x01}, "Wrong DPT main number (8.x)!"},
      {float16, To, Dpt(8, 1, 16), Integer(1), {}, "Wrong DPT main number (9.x) or tev value type (tvtFloat)!"},
      {float16, To, Dpt(9, 0, 16), Float(std::numeric_limits<double>::quiet_NaN()), {}, "The internal value of DPT=9.0, f=nan is out of the allowed range."},
      {float32, To, Dpt(13, 1, 32), Integer(1), {}, "Wrong DPT main number (14.x) or tev value type (tvtFloat)!"},
      {float32, From, Dpt(9, 1, 32), TEVVALUE(tvtFloat), {0x3F, 0x80, 0x00, 0x00}, "Wrong DPT main number (14.x)!"},
      {uint32, To, Dpt(12, 1, 32), Integer(1), {}, "Wrong tev value type (tvtDWord)!"},
      {uint32Small, To, Dpt(12, 1, 32), DWord(101), {}, "The internal value of DPT=12.1, tvt=8 is out of range: 101!"},
      {uint32Small, From, Dpt(12, 1, 32), TEVVALUE(tvtDWord), {0xFF, 0xFF, 0xFF, 0xFF}, "The internal value of DPT=12.1, tvt=8 is out of range: 4294967295!"},
      {int32, To, Dpt(12, 1, 32), Word(1), {}, "Wrong DPT main number (13.x) or tev value type (tvtInteger)!"},
      {int32Small, To, Dpt(13, 1, 32), Integer(-1), {}, "The internal value of DPT=13.1, tvt=4 is out of range: -1!"},
      {int32, From, Dpt(12, 1, 32), TEVVALUE(tvtInteger), {0x00, 0x00, 0x00, 0x01}, "Wrong DPT main number (13.x)!"},
      {int32Small, From, Dpt(13, 1, 32), TEVVALUE(tvtInteger), {0xFF, 0xFF, 0xFF, 0xFF}, "The group value of DPT=13.1 is out of range: -1!"},
  });
  // clang-format on
}

}  // namespace
