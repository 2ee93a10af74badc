#include "ValueText.h"

#include <charconv>
#include <cstdint>
#include <system_error>

#include <QuorObjectModel/TimeOfDay.h>

namespace QuorOm {

namespace {

constexpr char kInvalidText[] = "invalid";
constexpr char kEmptyText[] = "empty";

// How the text of a value type looks; the storage behind it is the platform's business.
enum class Kind { None, Boolean, Number, String, Date, Time, DateTime };

Kind KindOf(TevValueType tvt) {
  switch (tvt) {
    case tvtBoolean:
      return Kind::Boolean;
    case tvtFloat:
    case tvtType1005:
    case tvtPercent:
    case tvtDimStep:
    case tvtType1039:
    case tvtInteger:
    case tvtType5:
    case tvtType14:
    case tvtByte:
    case tvtType1021:
    case tvtWord:
    case tvtDWord:
    case tvtType9:
    case tvtType20:
      return Kind::Number;
    case tvtString:
      return Kind::String;
    case tvtDate:
    case tvtType105:
      return Kind::Date;
    case tvtTime:
    case tvtType104:
    case tvtDayTime:
      return Kind::Time;
    case tvtDateTime:
    case tvtType102:
    case tvtType201:
      return Kind::DateTime;
    default:
      return Kind::None;
  }
}

// "0x1f" (also "-0x1f") as decimal text; any other text unchanged.
boost::optional<std::string> HexToDecimal(const std::string& text) {
  const bool negative = !text.empty() && text[0] == '-';
  const std::size_t start = negative ? 1 : 0;
  if (text.compare(start, 2, "0x") != 0 && text.compare(start, 2, "0X") != 0) {
    return text;
  }
  const char* first = text.data() + start + 2;
  const char* last = text.data() + text.size();
  std::uint64_t number = 0;
  const auto result = std::from_chars(first, last, number, 16);
  if (first == last || result.ec != std::errc() || result.ptr != last) {
    return boost::none;
  }
  return (negative ? "-" : "") + std::to_string(number);
}

// Numbers go through the platform's exact form "<tvt>.7:<number>", which checks the range of
// the type's storage.
boost::optional<TEVVALUE> ParseNumber(const std::string& text, TevValueType tvt) {
  const auto decimal = HexToDecimal(text);
  TEVVALUE value;
  if (!decimal || decimal->empty() ||
      !value.Deserialize(std::to_string(static_cast<int>(tvt)) + ".7:" + *decimal)) {
    return boost::none;
  }
  return value;
}

// Dates and times as the platform reads plain texts, then given the wanted type.
boost::optional<TEVVALUE> ParseTimeKind(const std::string& text, TevValueType tvt,
                                        TevValueType plainType) {
  TEVVALUE value;
  value.Deserialize(text);
  if (value.tvt != plainType) {
    return boost::none;
  }
  value.tvt = tvt;
  return value;
}

}  // namespace

boost::optional<TEVVALUE> ParseValueText(const std::string& text, TevValueType tvt) {
  if (text == kInvalidText) {
    return TEVVALUE(tvtInvalid);
  }
  if (text == kEmptyText) {
    return TEVVALUE(tvtEmpty);
  }
  TEVVALUE value(tvt);
  switch (KindOf(tvt)) {
    case Kind::Boolean:
      if (text != "true" && text != "1" && text != "false" && text != "0") {
        return boost::none;
      }
      value.value.boolValue = text == "true" || text == "1";
      return value;
    case Kind::Number:
      return ParseNumber(text, tvt);
    case Kind::String:
      value.stringValue = text;
      return value;
    case Kind::Date:
      return ParseTimeKind(text, tvt, tvtDate);
    case Kind::Time:
      return ParseTimeKind(text, tvt, tvtDayTime);
    case Kind::DateTime:
      return ParseTimeKind(text, tvt, tvtDateTime);
    case Kind::None:
      break;
  }
  return boost::none;
}

TEVVALUE InferValueText(const std::string& text) {
  if (text == kEmptyText) {
    return TEVVALUE(tvtEmpty);
  }
  TEVVALUE value;
  value.Deserialize(text);
  return value;
}

std::string FormatValueText(const TEVVALUE& value) {
  if (value.tvt == tvtEmpty) {
    return kEmptyText;
  }
  std::string text;
  if (!value.Serialize(text, false)) {
    return value.ToString();
  }
  // The platform prints the weekday of day times only; a time of another type keeps it too.
  if (KindOf(value.tvt) == Kind::Time && value.tvt != tvtDayTime) {
    const auto timeOfDay = QuorApp::FromTevTime(value.value.timeValue);
    if (timeOfDay && timeOfDay->GetWeekday() != QuorApp::NoDay) {
      text += '@';
      text += static_cast<char>('0' + timeOfDay->GetWeekday());
    }
  }
  return text;
}

}  // namespace QuorOm
