// table: the library's fixed tables as it reports them, one line a row, so that a reader (or a
// golden file) can compare every number with the KNX standard.

#include <algorithm>
#include <exception>
#include <functional>
#include <iomanip>
#include <ostream>
#include <sstream>
#include <string>
#include <typeinfo>
#include <utility>
#include <vector>

#include <boost/core/demangle.hpp>
#include <boost/optional.hpp>

#include <KnxStack/GroupValue.h>
#include <TevValue/TevValue.h>

#include <QuorObjectModel/DptNumber.h>
#include <QuorObjectModel/GroupValueTevValue.h>
#include <QuorObjectModel/KnxConverter.h>
#include <QuorObjectModel/KnxValueConverter.h>
#include <QuorObjectModel/KnxZebMapping.h>

#include "Commands.h"
#include "LogLevelOverride.h"
#include "ValueText.h"

namespace QuorOm {

namespace {

// Every value type number up to here is asked; the platform's highest is 1039.
constexpr int kLastValueTypeAsked = 2047;
// Main types past the last one any table knows, and the largest, catch a table read too far.
constexpr unsigned int kLastMainTypeProbed = 299;
constexpr unsigned int kLargestMainType = 0xFFFF;

std::string TypeName(int tvt) {
  return TEVVALUE::GetNameFromValueType(static_cast<TevValueType>(tvt));
}

// A value's text, with the empty string visible in a column.
std::string ValueCell(const TEVVALUE& value) {
  const std::string text = FormatValueText(value);
  return text.empty() ? "\"\"" : text;
}

std::string Number(double number) {
  TEVVALUE value(tvtFloat);
  value.value.doubleValue = number;
  return FormatValueText(value);
}

// Columns padded to their widths, the last one as it is.
class Columns {
 public:
  Columns(std::ostream& out, std::vector<int> widths) : m_out(out), m_widths(std::move(widths)) {}
  void Row(const std::vector<std::string>& cells) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
      if (i + 1 < cells.size()) {
        m_out << std::left << std::setw(m_widths.at(i)) << cells[i];
      } else {
        m_out << cells[i];
      }
    }
    m_out << '\n';
  }

 private:
  std::ostream& m_out;
  std::vector<int> m_widths;
};

// ---------------------------------------------------------------------------------------
// The DPT table

std::string ConverterName(const Quor::KnxConverter& converter) {
  const std::string name = boost::core::demangle(typeid(converter).name());
  const auto scope = name.rfind("::");
  return scope == std::string::npos ? name : name.substr(scope + 2);
}

struct RangeText {
  std::string bounds;
  std::string scale;
};

RangeText Describe(const Quor::IntegerRange& range) {
  std::ostringstream text;
  text << range;
  return {text.str(), Number(range.scaleFactor)};
}

RangeText Describe(const Quor::LongIntegerRange& range) {
  return {"LongIntegerRange(" + std::to_string(range.internalMin) + ", " +
              std::to_string(range.internalMax) + ", " + std::to_string(range.externalMin) + ", " +
              std::to_string(range.externalMax) + ")",
          Number(range.scaleFactor)};
}

RangeText Describe(const Quor::FloatIntegerRange& range) {
  return {"FloatIntegerRange(" + Number(range.doubleMin) + ", " + Number(range.doubleMax) + ", " +
              std::to_string(range.integerMin) + ", " + std::to_string(range.integerMax) + ")",
          Number(range.scaleFactor)};
}

RangeText Describe(const Quor::FloatRange& range) {
  return {"FloatRange(" + Number(range.doubleMin) + ", " + Number(range.doubleMax) + ", " +
              Number(range.externalMin) + ", " + Number(range.externalMax) + ")",
          Number(range.scaleFactor)};
}

// The range of whichever ranged converter class this is; "-" for the classes without one.
template <class... Converters>
RangeText RangeOf(const Quor::KnxConverter& converter,
                  Quor::KnxConverterList<Converters...> /*ranged*/) {
  RangeText text{"-", "-"};
  static_cast<void>(
      ((dynamic_cast<const Converters*>(&converter) != nullptr
            ? (text = Describe(dynamic_cast<const Converters&>(converter).GetRange()), true)
            : false) ||
       ...));
  return text;
}

RangeText RangeOfConverter(const Quor::KnxConverter& converter) {
  return RangeOf(converter, Quor::RangedKnxConverters{});
}

void DptTable(bool verbose, std::ostream& out) {
  Quor::KnxValueConverter converter;
  converter.Init();
  // The scale factor, where asked for, stands before the range, whose width varies.
  Columns table(out, {9, 6, 10, 15, 34, verbose ? 11 : 0});
  std::vector<std::string> head = {"DPT", "bits", "type", "sub-type", "converter", "range"};
  if (verbose) {
    head.insert(head.end() - 1, "scale");
  }
  table.Row(head);
  for (const auto& entry : converter.GetMap().GetEntries()) {
    const std::string dpt = entry.dpt.subNumber == 0
                                ? std::to_string(entry.dpt.mainNumber) + ".x"
                                : FormatDpt(entry.dpt.mainNumber, entry.dpt.subNumber);
    const RangeText range =
        entry.converter ? RangeOfConverter(*entry.converter) : RangeText{"-", "-"};
    std::vector<std::string> row = {dpt,
                                    std::to_string(entry.dpt.bitSize),
                                    TypeName(entry.tvt),
                                    TevDP::GetNameFromValueSubType(entry.tst),
                                    entry.converter ? ConverterName(*entry.converter) : "-",
                                    range.bounds};
    if (verbose) {
      row.insert(row.end() - 1, range.scale);
    }
    table.Row(row);
  }
}

// ---------------------------------------------------------------------------------------
// Bit sizes and default DPTs

std::string BitsText(unsigned int bits) {
  return bits == Quor::VariableBitSize ? "variable" : std::to_string(bits);
}

// Main types without a size are left out: a listed row is one the receive path compares with.
void BitSizeTable(std::ostream& out) {
  Columns table(out, {6});
  table.Row({"main", "bits"});
  for (unsigned int main = 0; main <= kLargestMainType; ++main) {
    if (const unsigned int bits = Quor::BitSizeOfMainType(main)) {
      table.Row({std::to_string(main), BitsText(bits)});
    }
  }
}

std::string DptText(const KNXDPT& dpt) {
  return FormatDpt(dpt.mainNumber, dpt.subNumber) + " (" + std::to_string(dpt.bitSize) + ")";
}

bool operator==(const KNXDPT& a, const KNXDPT& b) {
  return a.bitSize == b.bitSize && a.mainNumber == b.mainNumber && a.subNumber == b.subNumber;
}

// What a default lookup made of a caller's DPT of main type 0: the DPT chosen, nothing for a
// refusal that left it alone (as it must), and a refusal that changed it said as such.
template <class Lookup>
std::string Outcome(unsigned int bits, Lookup lookup) {
  const KNXDPT before{static_cast<uint8_t>(bits), 0, 0};
  KNXDPT dpt = before;
  if (lookup(dpt)) {
    return DptText(dpt);
  }
  return dpt == before ? "" : "refused, yet changed to " + DptText(dpt);
}

void DefaultDptTable(std::ostream& out) {
  Quor::KnxValueConverter converter;
  Columns bySize(out, {6});
  out << "by bit size\n";
  bySize.Row({"bits", "DPT (bits)"});
  for (unsigned int bits = 0; bits <= 0xFF; ++bits) {
    const std::string outcome =
        Outcome(bits, [&](KNXDPT& dpt) { return converter.GetDefaultMappingDptForSize(dpt); });
    if (!outcome.empty()) {
      bySize.Row({std::to_string(bits), outcome});
    }
  }
  // A value type whose choice does not depend on the caller's bit size is one row ("any").
  out << "\nby value type and the caller's bit size\n";
  Columns byType(out, {10, 6});
  byType.Row({"type", "bits", "DPT (bits)"});
  for (int tvt = 0; tvt <= kLastValueTypeAsked; ++tvt) {
    const TEVVALUE value(static_cast<TevValueType>(tvt));
    std::vector<std::string> outcomes;
    for (unsigned int bits = 0; bits <= 0xFF; ++bits) {
      outcomes.push_back(Outcome(bits, [&](KNXDPT& dpt) {
        return converter.GetDefaultMappingDptForValueType(dpt, value);
      }));
    }
    if (std::all_of(outcomes.begin(), outcomes.end(),
                    [&](const std::string& o) { return o == outcomes.front(); })) {
      if (!outcomes.front().empty()) {
        byType.Row({TypeName(tvt), "any", outcomes.front()});
      }
      continue;
    }
    for (unsigned int bits = 0; bits <= 0xFF; ++bits) {
      if (!outcomes[bits].empty()) {
        byType.Row({TypeName(tvt), std::to_string(bits), outcomes[bits]});
      }
    }
  }
}

// Rows only for the value types that accept more than their own type, or not their own.
void CompatibilityTable(std::ostream& out) {
  Quor::KnxValueConverter converter;
  Columns table(out, {12});
  table.Row({"value type", "entry types accepted"});
  for (int valueType = 0; valueType <= kLastValueTypeAsked; ++valueType) {
    std::string accepted;
    bool onlyItself = true;
    for (int entryType = 0; entryType <= kLastValueTypeAsked; ++entryType) {
      if (converter.AreValueTypesCompatible(static_cast<TevValueType>(valueType),
                                            static_cast<TevValueType>(entryType))) {
        accepted += (accepted.empty() ? "" : " ") + TypeName(entryType);
        onlyItself = onlyItself && entryType == valueType;
      } else {
        onlyItself = onlyItself && entryType != valueType;
      }
    }
    if (!onlyItself) {
      table.Row({TypeName(valueType), accepted.empty() ? "none" : accepted});
    }
  }
}

// ---------------------------------------------------------------------------------------
// The object model's main types and the direct conversion

boost::optional<TEVVALUE> DefaultOf(unsigned long dpt) {
  const auto serialised = Quor::KnxZebMapping::GetDefaultValueFromDpt(dpt, true);
  if (!serialised) {
    return boost::none;
  }
  TEVVALUE value;
  value.Deserialize(*serialised);
  return value;
}

void MainTypeTable(std::ostream& out) {
  namespace KnxZebMapping = Quor::KnxZebMapping;
  Columns table(out, {6, 10, 10, 14, 21});
  table.Row({"main", "type", "by DPT", "sub-type", "default", "serialised"});
  for (unsigned long main = 0; main <= kLargestMainType; ++main) {
    const unsigned long dpt = Quor::DptNumber(static_cast<std::uint16_t>(main), 0);
    const auto serialised = KnxZebMapping::GetDefaultValueFromDpt(dpt, true);
    const std::string type = KnxZebMapping::GetTvtFromMainType(main);
    const std::string subType = KnxZebMapping::GetTstFromMainType(main);
    const TevValueType byDpt = KnxZebMapping::GetTvtFromDpt(static_cast<unsigned int>(dpt));
    if (!serialised && type == "Empty" && subType == "Generic" && byDpt == tvtEmpty) {
      continue;
    }
    table.Row({std::to_string(main), type, TypeName(byDpt), subType,
               serialised ? ValueCell(*DefaultOf(dpt)) : std::string("none"),
               serialised ? *serialised : std::string("none")});
  }
}

// Zeros of the main type's size, a byte where it has none.
KnxStack::GroupValue Zeros(unsigned int main) {
  const unsigned int mainBits = Quor::BitSizeOfMainType(main);
  const unsigned int bits = mainBits == 0 || mainBits == Quor::VariableBitSize ? 8 : mainBits;
  const std::vector<unsigned char> bytes((bits + 7) / 8);
  return KnxStack::GroupValue(
      KnxStack::BinaryData(bytes.data(), static_cast<unsigned int>(bytes.size())), bits);
}

std::string Decoded(const KnxStack::GroupValue& group, unsigned long dpt) {
  try {
    const auto value = Quor::GroupValueToTevValue(group, dpt);
    return value ? ValueCell(*value) + " (" + TypeName(value->tvt) + ")" : "refused";
  } catch (const std::exception& error) {
    return std::string("throws: ") + error.what();
  }
}

// The row of a main type: its default value (the empty value where it has none) encoded, and
// what came out decoded, or zeros where nothing did; none where both are refused and the main
// type has no value type.
boost::optional<std::vector<std::string>> DirectRow(unsigned int main) {
  const unsigned long dpt = Quor::DptNumber(static_cast<std::uint16_t>(main), 1);
  const TEVVALUE value = DefaultOf(dpt).value_or(TEVVALUE());
  const auto encoded = Quor::TevValueToGroupValue(value, dpt);
  const KnxStack::GroupValue group = encoded ? *encoded : Zeros(main);
  const std::string decoded = Decoded(group, dpt);
  if (!encoded && decoded == "refused" && Quor::KnxZebMapping::GetTvtFromDpt(dpt) == tvtEmpty) {
    return boost::none;
  }
  const auto& raw = group.GetRawData();
  const std::string bytes =
      FormatHex(raw.GetData(), raw.GetSize()) + " (" + std::to_string(group.GetDefinedSize()) + ")";
  return std::vector<std::string>{std::to_string(main),
                                  encoded ? TypeName(value.tvt) : std::string("refused"),
                                  ValueCell(value), encoded ? bytes : "zeros " + bytes, decoded};
}

void DirectTable(std::ostream& out) {
  // Refusals are this table's content, not news: the library's log is quiet meanwhile.
  const LogLevelOverride quiet(true);
  Columns table(out, {6, 10, 21, 36});
  table.Row({"main", "encodes", "value", "bytes (bits)", "decodes to"});
  for (unsigned int main = 0; main <= kLastMainTypeProbed + 1; ++main) {
    // Past the last main type probed, the largest there is.
    if (const auto row = DirectRow(main <= kLastMainTypeProbed ? main : kLargestMainType)) {
      table.Row(*row);
    }
  }
}

struct NamedTable {
  const char* name;
  std::function<void(bool verbose, std::ostream& out)> print;
};

const std::vector<NamedTable>& Tables() {
  static const std::vector<NamedTable> tables = {
      {"dpt", DptTable},
      {"bit-sizes", [](bool, std::ostream& out) { BitSizeTable(out); }},
      {"default-dpts", [](bool, std::ostream& out) { DefaultDptTable(out); }},
      {"compatibility", [](bool, std::ostream& out) { CompatibilityTable(out); }},
      {"main-types", [](bool, std::ostream& out) { MainTypeTable(out); }},
      {"direct", [](bool, std::ostream& out) { DirectTable(out); }},
  };
  return tables;
}

int Table(Args& args, Streams& io) {
  const bool verbose = args.Has("verbose");
  const std::string name = args.NextIfAny().value_or("dpt");
  args.ExpectEnd();
  const auto& tables = Tables();
  const auto found = std::find_if(tables.begin(), tables.end(),
                                  [&name](const NamedTable& table) { return table.name == name; });
  if (found == tables.end()) {
    // A mistyped name is answered with the right ones.
    std::string known;
    for (const auto& table : tables) {
      known += (known.empty() ? "" : ", ") + std::string(table.name);
    }
    throw UsageError("unknown table '" + name + "' (tables: " + known + ")");
  }
  found->print(verbose, io.out);
  return kExitOk;
}

}  // namespace

Command TableCommand() {
  return {"table",
          "[-v] [TABLE]",
          "list one of the library's tables",
          "Prints one of the library's fixed tables, one line a row:\n\n"
          "  dpt            (the default) the rows KnxValueConverter::Init() fills: DPT (x: the\n"
          "                 row for the whole main type), bits, value type, sub-type, converter\n"
          "                 class and range; -v adds the range's scale factor\n"
          "  bit-sizes      the bit size of each main type a received value must have\n"
          "  default-dpts   the DPT chosen for a caller without one, by bit size and by value\n"
          "                 type\n"
          "  compatibility  the table rows' value types a value type is accepted for, where\n"
          "                 that is more than its own\n"
          "  main-types     the object model's value type, sub-type and default value of each\n"
          "                 main type\n"
          "  direct         the direct conversion of each main type's default value: the bytes\n"
          "                 it encodes to and what they decode to; refused main types without\n"
          "                 a value type are left out\n",
          Table,
          [](boost::program_options::options_description_easy_init& add) { add("verbose,v", ""); }};
}

}  // namespace QuorOm
