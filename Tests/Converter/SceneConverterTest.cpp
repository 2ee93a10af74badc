#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ConverterTestSupport.h"

namespace {

using namespace ConverterTest;
using namespace Quor;
using testing::ElementsAre;

KnxConverterSceneNumber sceneNumber(MakeIntegerRange(0, 63, 0, 63));
KnxConverterSceneControl sceneControl(MakeIntegerRange(0, 63, 0, 63));
KnxConverterSceneInfo sceneInfo(MakeIntegerRange(-64, 64, 0, 255));

TEST(SceneConverters, ToKnxValue) {
  // clang-format off
  CheckAll<ToCase>({
      {sceneControl, Dpt(18, 1, 8), Byte(0x85), {0x85}, 8},  // learn scene 5
      {sceneControl, Dpt(18, 1, 8), Byte(0x3F), {0x3F}, 8},
  });
  // clang-format on
}

TEST(SceneConverters, Refusals) {
  // clang-format off
  CheckAll<RefusalCase>({
      {sceneNumber, To, Dpt(18, 2, 8), Word(1), {}, "Wrong DPT main number (17.001) or tev value type (tvtByte)!"},
      {sceneNumber, To, Dpt(17, 1, 8), Integer(-1), {}, "Scene number is out of range (>63) for SceneNumber: -1"},
      {sceneNumber, From, Dpt(18, 2, 8), TEVVALUE(tvtInteger), {0x01}, "Wrong DPT main number (17.001)!"},
      {sceneControl, To, Dpt(18, 2, 8), Byte(1), {}, "Wrong DPT for Scene number (18.001) or tev value type (tvtByte)."},
      {sceneControl, To, Dpt(18, 1, 8), Integer(1), {}, "Wrong DPT for Scene number (18.001) or tev value type (tvtByte)."},
      {sceneControl, To, Dpt(18, 1, 8), Byte(0x40), {}, "Scene number is out of range (>63) for SceneControl: 64"},
      {sceneControl, From, Dpt(17, 1, 8), TEVVALUE(tvtInteger), {0x01}, "Wrong DPT for Scene number, only 18.001 is valid."},
      {sceneInfo, To, Dpt(26, 2, 8), Byte(1), {}, "Wrong DPT for Scene number (26.001) or tev value type (tvtByte)."},
      {sceneInfo, From, Dpt(26, 2, 8), TEVVALUE(tvtByte), {0x01}, "Wrong DPT for Scene number, only 26.001 is valid."},
      {sceneInfo, From, Dpt(26, 1, 8), TEVVALUE(tvtByte), {0x85}, "Reserved bit 8 is set for SceneInfo; refused."},
  });
  // clang-format on
}

TEST(SceneNumber, ReadsTheWholeIntegerEvenForAByte) {
  ErrorCapture capture;
  TEVVALUE value = Integer(300);
  value.tvt = tvtByte;
  KnxStack::GroupValue group;
  EXPECT_FALSE(sceneNumber.ToKnxValue(Dpt(17, 1, 8), value, group));
  EXPECT_THAT(capture.Lines(),
              ElementsAre(Line(kError, "Scene number is out of range (>63) for SceneNumber: 300")));
}

}  // namespace
