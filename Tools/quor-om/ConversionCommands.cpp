// encode, decode, defaults: value text and raw bytes through the library's two
// conversions, and the object model's default value of a DPT.

#include <exception>
#include <functional>
#include <istream>
#include <ostream>
#include <sstream>
#include <string>
#include <utility>

#include <KnxStack/GroupValue.h>
#include <TevValue/TevValue.h>

#include <Quor/TevValueHelper.h>
#include <QuorObjectModel/DptNumber.h>
#include <QuorObjectModel/GroupValueTevValue.h>
#include <QuorObjectModel/KnxValueConverter.h>
#include <QuorObjectModel/KnxZebMapping.h>

#include "Commands.h"
#include "LogLevelOverride.h"
#include "ValueText.h"

namespace QuorOm {

namespace {

// What one text gave: the result line, or none (the reason having gone to err) and the exit
// status that says why.
struct Line {
  boost::optional<std::string> text;
  int status;
};

Line Result(std::string text) {
  return {std::move(text), kExitOk};
}

const Line kRefused{boost::none, kExitRefused};

using Conversion = std::function<Line(const std::string&, std::ostream&)>;

// A text of "-" reads one text per line from standard input and prints one line for each,
// "error" where there is no result; otherwise stdout gets the result or nothing at all.
// A refusal outweighs a value passed unconverted in the exit status.
int ConvertAll(const std::string& text, const Conversion& convert, Streams& io) {
  if (text != "-") {
    const Line line = convert(text, io.err);
    if (line.text) {
      io.out << *line.text << '\n';
    }
    return line.status;
  }
  int status = kExitOk;
  std::string input;
  while (std::getline(io.in, input)) {
    if (!input.empty() && input.back() == '\r') {
      input.pop_back();
    }
    const Line line = convert(input, io.err);
    io.out << line.text.value_or("error") << '\n';
    if (status == kExitOk || line.status == kExitRefused) {
      status = line.status;
    }
  }
  return status;
}

std::string DptName(unsigned long number) {
  return FormatDpt(number >> 16, number & 0xFFFF);
}

std::string TypeName(TevValueType tvt) {
  return TEVVALUE::GetNameFromValueType(tvt);
}

void ReportUnreadable(const std::string& text, const std::string& what, std::ostream& err) {
  err << "quor-om: cannot read '" << text << "' as " << what << '\n';
}

void ReportRefused(const std::string& what, const std::string& text, const std::string& dpt,
                   std::ostream& err) {
  err << "quor-om: the library refused to " << what << " '" << text << "' for DPT " << dpt << '\n';
}

std::string BytesOf(const KnxStack::GroupValue& group, bool verbose) {
  const auto& raw = group.GetRawData();
  std::string text = FormatHex(raw.GetData(), raw.GetSize());
  if (verbose) {
    text += " (" + std::to_string(group.GetDefinedSize()) + " bits)";
  }
  return text;
}

std::string ValueOf(const TEVVALUE& value, bool verbose) {
  std::string text = FormatValueText(value);
  if (verbose) {
    text += " (" + TypeName(value.tvt) + ")";
  }
  return text;
}

// The bit size a HEX text is read with: --bits, else the main type's, else (main types of
// unknown or variable size) that of the bytes given.
unsigned int BitsFor(const boost::optional<unsigned long>& bits, unsigned int mainNumber,
                     std::size_t byteCount) {
  if (bits) {
    return static_cast<unsigned int>(*bits);
  }
  const unsigned int mainBits = Quor::BitSizeOfMainType(mainNumber);
  if (mainBits != 0 && mainBits != Quor::VariableBitSize) {
    return mainBits;
  }
  return static_cast<unsigned int>(8 * byteCount);
}

// Without --bits, the bytes must be as many as the DPT's size takes: an extra or a missing
// byte is a mistake of the caller, not a value.
boost::optional<KnxStack::GroupValue> GroupOfHex(const std::string& text,
                                                 const boost::optional<unsigned long>& bits,
                                                 unsigned int mainNumber, const std::string& dpt,
                                                 std::ostream& err) {
  const auto bytes = ParseHex(text);
  if (!bytes) {
    ReportUnreadable(text, "hexadecimal bytes", err);
    return boost::none;
  }
  const unsigned int bitSize = BitsFor(bits, mainNumber, bytes->size());
  const std::size_t expected = (bitSize + 7) / 8;
  if (!bits && bytes->size() != expected) {
    err << "quor-om: '" << text << "' is " << bytes->size()
        << (bytes->size() == 1 ? " byte" : " bytes") << ", DPT " << dpt << " takes " << expected
        << '\n';
    return boost::none;
  }
  return KnxStack::GroupValue(
      KnxStack::BinaryData(bytes->data(), static_cast<unsigned int>(bytes->size())), bitSize);
}

// A DPT without a table row passes its value unconverted: said once, and in the exit status.
int ReportUnconverted(const std::string& dpt, int status, std::ostream& err) {
  err << "quor-om: DPT " << dpt << " has no row in the DPT table: the value passed unconverted\n";
  return status == kExitOk ? kExitUnconverted : status;
}

// The table row a DPT resolves to (main.sub, else main.x); none when the table has none, in
// which case the library accepts any value unconverted. Asked without the lookup's own log.
const Quor::DptValueEntry* RowOf(const Quor::KnxValueConverter& converter, const KNXDPT& dpt) {
  const auto& map = converter.GetMap();
  if (dpt.mainNumber == 0 || !(map.Contains(dpt.mainNumber, dpt.subNumber) ||
                               (dpt.subNumber != 0 && map.Contains(dpt.mainNumber, 0)))) {
    return nullptr;
  }
  const Quor::DptValueEntry& entry = converter.GetEntry(dpt);
  return entry.tvt == tvtEmpty ? nullptr : &entry;
}

// The value text read as the row's value type, or guessed when there is no row.
boost::optional<TEVVALUE> ReadValue(const std::string& text, TevValueType tvt, std::ostream& err) {
  if (tvt == tvtEmpty) {
    return InferValueText(text);
  }
  auto value = ParseValueText(text, tvt);
  if (!value) {
    ReportUnreadable(text, "a " + TypeName(tvt) + " value", err);
  }
  return value;
}

// The library replaces what a text DPT cannot carry ("?", "_"), takes invalid UTF-8 byte by
// byte and cuts what does not fit, all without refusing: what the bytes read back as tells.
void WarnIfTextChanged(const std::string& text, const TEVVALUE& value,
                       const boost::optional<TEVVALUE>& readBack, const std::string& dpt,
                       std::ostream& err) {
  if (value.tvt != tvtString ||
      (readBack && readBack->tvt == tvtString && readBack->stringValue == value.stringValue)) {
    return;
  }
  // Printed repaired, so that the terminal gets no broken sequence.
  const std::string shown = Quor::RepairUTF8(text).str();
  err << "quor-om: warning: '" << shown << "'" << (shown == text ? "" : " (not valid UTF-8)")
      << " reads back as "
      << (readBack && readBack->tvt == tvtString ? "'" + readBack->stringValue + "'"
                                                 : std::string("nothing"))
      << ": DPT " << dpt << " cannot carry it as it is\n";
}

struct ConversionOptions {
  bool direct;
  bool verbose;
  boost::optional<unsigned long> bits;
  std::string dpt;
  std::string text;
};

ConversionOptions TakeConversionArgs(Args& args, bool takesBits, const char* what) {
  ConversionOptions options;
  options.direct = args.Has("direct");
  options.verbose = args.Has("verbose");
  if (takesBits) {
    if (const auto bits = args.Value("bits")) {
      options.bits = ParseUnsigned(*bits, "--bits", 255);
    }
  }
  options.dpt = args.Next("DPT");
  options.text = args.Next(what);
  args.ExpectEnd();
  return options;
}

// The direct conversions leave some exceptions to their caller; here they are a refusal of
// the one text, not the end of the input.
boost::optional<KnxStack::GroupValue> EncodeDirectly(const TEVVALUE& value, unsigned long dpt,
                                                     std::ostream& err) {
  try {
    return Quor::TevValueToGroupValue(value, dpt);
  } catch (const std::exception& error) {
    err << "quor-om: " << error.what() << '\n';
    return boost::none;
  }
}

boost::optional<TEVVALUE> DecodeDirectly(const KnxStack::GroupValue& group, unsigned long dpt,
                                         std::ostream& err) {
  try {
    return Quor::GroupValueToTevValue(group, dpt);
  } catch (const std::exception& error) {
    err << "quor-om: " << error.what() << '\n';
    return boost::none;
  }
}

// Through TevValueToGroupValue, by the object-model DPT number.
int EncodeDirect(const ConversionOptions& options, Streams& io) {
  const unsigned long dpt = ParseDptNumber(options.dpt);
  const TevValueType tvt = Quor::KnxZebMapping::GetTvtFromDpt(static_cast<unsigned int>(dpt));
  return ConvertAll(
      options.text,
      [&](const std::string& text, std::ostream& err) -> Line {
        const auto value = ReadValue(text, tvt, err);
        if (!value) {
          return kRefused;
        }
        const auto group = EncodeDirectly(*value, dpt, err);
        if (!group) {
          ReportRefused("encode", text, DptName(dpt), err);
          return kRefused;
        }
        std::ostringstream ignored;
        const LogLevelOverride quiet(true);
        WarnIfTextChanged(text, *value, DecodeDirectly(*group, dpt, ignored), DptName(dpt), err);
        return Result(BytesOf(*group, options.verbose));
      },
      io);
}

// Through the DPT table.
int EncodeByTable(const ConversionOptions& options, Streams& io) {
  const DptText dptText = ParseDpt(options.dpt);
  Quor::KnxValueConverter converter;
  converter.Init();
  const KNXDPT dpt{static_cast<uint8_t>(Quor::BitSizeOfMainType(dptText.mainNumber)),
                   dptText.mainNumber, dptText.subNumber};
  const Quor::DptValueEntry* row = RowOf(converter, dpt);
  const TevValueType tvt = row ? row->tvt : tvtEmpty;
  const int status = ConvertAll(
      options.text,
      [&](const std::string& text, std::ostream& err) -> Line {
        const auto value = ReadValue(text, tvt, err);
        if (!value) {
          return kRefused;
        }
        KNXDPT used = dpt;
        KnxStack::GroupValue group;
        if (!converter.ToKnxValue(used, *value, group)) {
          ReportRefused("encode", text, options.dpt, err);
          return kRefused;
        }
        // Accepted without a row, or after a fault it only logged: there is nothing to print.
        if (group.GetRawData().GetSize() == 0) {
          err << "quor-om: the library gave no bytes for '" << text << "' (DPT " << options.dpt
              << ")\n";
          return {boost::none, row ? kExitRefused : kExitUnconverted};
        }
        TEVVALUE readBack;
        const LogLevelOverride quiet(true);
        const bool read = converter.FromKnxValue(used, group, readBack);
        WarnIfTextChanged(text, *value, read ? boost::make_optional(readBack) : boost::none,
                          FormatDpt(used.mainNumber, used.subNumber), err);
        return Result(BytesOf(group, options.verbose));
      },
      io);
  return row ? status : ReportUnconverted(options.dpt, status, io.err);
}

int Encode(Args& args, Streams& io) {
  const ConversionOptions options = TakeConversionArgs(args, false, "VALUE");
  return options.direct ? EncodeDirect(options, io) : EncodeByTable(options, io);
}

// Through GroupValueToTevValue, by the object-model DPT number.
int DecodeDirect(const ConversionOptions& options, Streams& io) {
  const unsigned long dpt = ParseDptNumber(options.dpt);
  return ConvertAll(
      options.text,
      [&](const std::string& text, std::ostream& err) -> Line {
        const auto group =
            GroupOfHex(text, options.bits, static_cast<unsigned int>(dpt >> 16), DptName(dpt), err);
        if (!group) {
          return kRefused;
        }
        const auto value = DecodeDirectly(*group, dpt, err);
        if (!value) {
          ReportRefused("decode", text, DptName(dpt), err);
          return kRefused;
        }
        return Result(ValueOf(*value, options.verbose));
      },
      io);
}

// Through the DPT table.
int DecodeByTable(const ConversionOptions& options, Streams& io) {
  const DptText dptText = ParseDpt(options.dpt);
  Quor::KnxValueConverter converter;
  converter.Init();
  const bool hasRow = RowOf(converter, KNXDPT{0, dptText.mainNumber, dptText.subNumber}) != nullptr;
  const int status = ConvertAll(
      options.text,
      [&](const std::string& text, std::ostream& err) -> Line {
        const auto group = GroupOfHex(text, options.bits, dptText.mainNumber, options.dpt, err);
        if (!group) {
          return kRefused;
        }
        KNXDPT dpt{static_cast<uint8_t>(group->GetDefinedSize()), dptText.mainNumber,
                   dptText.subNumber};
        TEVVALUE value;
        if (!converter.FromKnxValue(dpt, *group, value)) {
          ReportRefused("decode", text, options.dpt, err);
          return kRefused;
        }
        return Result(ValueOf(value, options.verbose));
      },
      io);
  return hasRow ? status : ReportUnconverted(options.dpt, status, io.err);
}

int Decode(Args& args, Streams& io) {
  const ConversionOptions options = TakeConversionArgs(args, true, "HEX");
  return options.direct ? DecodeDirect(options, io) : DecodeByTable(options, io);
}

int Defaults(Args& args, Streams& io) {
  const std::string text = args.Next("DPT");
  args.ExpectEnd();
  // A bare decimal is a main type here: "defaults 9" is what one asks.
  const bool mainTypeOnly = text.find_first_not_of("0123456789") == std::string::npos;
  const unsigned long dpt =
      mainTypeOnly
          ? Quor::DptNumber(static_cast<std::uint16_t>(ParseUnsigned(text, "main type", 0xFFFF)), 0)
          : ParseDptNumber(text);
  const unsigned long mainType = Quor::MainTypeOf(dpt);
  io.out << "value type  " << Quor::KnxZebMapping::GetTvtFromMainType(mainType) << '\n'
         << "sub-type    " << Quor::KnxZebMapping::GetTstFromMainType(mainType) << '\n';
  const auto internal = Quor::KnxZebMapping::GetDefaultValueFromDpt(dpt, true);
  if (!internal) {
    io.out << "default     none\n";
    return kExitRefused;
  }
  // The default in the tool's value text (what encode reads), then as the platform wrote it.
  TEVVALUE value;
  value.Deserialize(*internal);
  io.out << "default     " << FormatValueText(value) << '\n' << "serialised  " << *internal << '\n';
  return kExitOk;
}

void EncodeOptions(boost::program_options::options_description_easy_init& add) {
  add("direct", "")("verbose,v", "");
}

void DecodeOptions(boost::program_options::options_description_easy_init& add) {
  EncodeOptions(add);
  add("bits", boost::program_options::value<std::string>(), "");
}

}  // namespace

std::vector<Command> ConversionCommands() {
  return {
      {"encode", "[--direct] [-v] DPT VALUE|-", "value text to raw KNX bytes",
       "Converts VALUE through the DPT table (KnxValueConverter after Init()) and prints the\n"
       "raw bytes as lowercase hex without separators: `quor-om encode 9.001 21.5` prints 0c33.\n"
       "VALUE is read as the value type of the DPT's table row; a DPT without a row has its\n"
       "type guessed from the text, and the library accepts it unconverted, as a rule without\n"
       "any bytes: that is said on standard error and the exit status is 3. A refusal, or an\n"
       "acceptance without bytes, prints nothing on standard output and the reason on\n"
       "standard error. A text the DPT cannot carry as it is (a character out of its range,\n"
       "invalid UTF-8, more than fits) goes out as the library changed it, with a warning on\n"
       "standard error.\n\n"
       "  --direct  convert with TevValueToGroupValue by the object-model DPT number; VALUE\n"
       "            is read as the value type of the main type\n"
       "  -v        add the bit size\n"
       "  DPT       main.sub (9.001, 9.1, 232.600); with --direct also the number (0x90001)\n"
       "  VALUE     value text (see README); '-' reads one per line from standard input and\n"
       "            prints one line each, 'error' where there are no bytes (exit status 1 if\n"
       "            any was refused)\n",
       Encode, EncodeOptions},
      {"decode", "[--direct] [-v] [--bits N] DPT HEX|-", "raw KNX bytes to value text",
       "Converts the raw bytes HEX through the DPT table (or with --direct through\n"
       "GroupValueToTevValue) and prints the value text: `quor-om decode 9.001 0c33` prints\n"
       "21.5. What decode prints, encode reads back to the same bytes. Without --bits, HEX\n"
       "must have as many bytes as the DPT's size takes; a DPT without a table row passes\n"
       "unconverted, with exit status 3.\n\n"
       "  --direct  convert by the object-model DPT number\n"
       "  --bits N  bit size of the group value (default: that of the main type)\n"
       "  -v        add the value type name\n"
       "  HEX       hex digit pairs, packed (0c33) or a blank between bytes as the library\n"
       "            prints them (\"0c 33\"); '0x' and capitals allowed; '-' reads one per line\n"
       "            and prints one line each, 'error' for a refusal\n",
       Decode, DecodeOptions},
      TableCommand(),
      {"defaults",
       "DPT",
       "value type, sub-type and default value of a main type",
       "Prints the object model's value type, sub-type name and default value (as value text\n"
       "and in the platform's serialised form) for the main type of DPT. DPT is a main type (9),\n"
       "main.sub (6.020) or a DPT number (0x60014). Exit status 1 for a main type without one.\n",
       Defaults,
       {}},
  };
}

}  // namespace QuorOm
