// id: object-model ids of the KNX device, and what a given id stands for.

#include <climits>
#include <ostream>
#include <string>

#include <QuorObjectModel/KnxZebMapping.h>

#include "Commands.h"

namespace QuorOm {

namespace {

namespace Zeb = Quor::KnxZebMapping;
using Quor::LogicalDeviceId;
using Quor::ParameterType;

LogicalDeviceId TakeDevice(Args& args) {
  const std::string text = args.Next("logical device D");
  const auto device = LogicalDeviceId::Create(static_cast<int>(ParseUnsigned(text, "D", INT_MAX)));
  if (!device) {
    throw UsageError("logical device '" + text + "' is neither 1 nor 2");
  }
  return *device;
}

unsigned short TakeNumber(Args& args, const std::string& what) {
  return static_cast<unsigned short>(ParseUnsigned(args.Next(what), what, 0xFFFF));
}

const char* ParameterTypeName(ParameterType type) {
  switch (type) {
    case ParameterType::Ip:
      return "ip";
    case ParameterType::Number:
      return "number";
    case ParameterType::Text:
      return "text";
  }
  return "?";
}

ParameterType TakeParameterType(Args& args) {
  const std::string text = args.Next("parameter type (ip, number or text)");
  for (const auto type : {ParameterType::Ip, ParameterType::Number, ParameterType::Text}) {
    if (text == ParameterTypeName(type)) {
      return type;
    }
  }
  throw UsageError("parameter type '" + text + "' is none of ip, number, text");
}

void PrintId(std::ostream& os, const char* label, unsigned long id) {
  os << label << std::string(11 - std::char_traits<char>::length(label), ' ') << id << '\n';
}

int PrintPair(const boost::optional<unsigned long>& channel,
              const boost::optional<unsigned long>& value, const std::string& what, Streams& io) {
  if (!channel || !value) {
    io.err << "quor-om: " << what << " has no object-model id\n";
    return kExitRefused;
  }
  PrintId(io.out, "channel", *channel);
  PrintId(io.out, "value", *value);
  return kExitOk;
}

int CoIds(Args& args, Streams& io) {
  const unsigned short number = TakeNumber(args, "CO number N");
  const LogicalDeviceId device = TakeDevice(args);
  args.ExpectEnd();
  return PrintPair(Zeb::GetCoChannelObjModelId(number, device),
                   Zeb::GetCoValueObjModelId(number, device), "CO " + std::to_string(number), io);
}

int ParameterIds(Args& args, Streams& io) {
  const ParameterType type = TakeParameterType(args);
  const unsigned short number = TakeNumber(args, "parameter number N");
  const LogicalDeviceId device = TakeDevice(args);
  args.ExpectEnd();
  return PrintPair(Zeb::GetParameterChannelObjModelId(number, device, type),
                   Zeb::GetParameterValueObjModelId(number, device, type),
                   std::string(ParameterTypeName(type)) + " parameter " + std::to_string(number),
                   io);
}

int AppControlIds(Args& args, Streams& io) {
  const LogicalDeviceId device = TakeDevice(args);
  args.ExpectEnd();
  PrintId(io.out, "channel", Zeb::GetAppHostAppControlChannelObjModelId(device));
  PrintId(io.out, "state", Zeb::GetAppHostAppControlStateObjModelId(device));
  PrintId(io.out, "event", Zeb::GetAppHostAppControlEventObjModelId(device));
  PrintId(io.out, "alive", Zeb::GetAppHostAppControlAliveObjModelId(device));
  PrintId(io.out, "app-debug", Zeb::GetAppHostAppControlAppDebugObjModelId(device));
  return kExitOk;
}

std::string DescribeInDevice(unsigned long id, LogicalDeviceId device) {
  const std::string of = " of logical device " + std::to_string(device.Get());
  if (id == Zeb::GetLogicalKnxDeviceObjModelId(device)) {
    return "logical device " + std::to_string(device.Get());
  }
  if (id == Zeb::GetAppHostAppControlChannelObjModelId(device)) {
    return "app-control channel" + of;
  }
  if (Zeb::IsAppHostAppControlState(id, device)) {
    return "app-control state" + of;
  }
  if (Zeb::IsAppHostAppControlEvent(id, device)) {
    return "app-control event" + of;
  }
  if (Zeb::IsAppHostAppControlAliveHeartbeat(id, device)) {
    return "app-control alive heartbeat" + of;
  }
  if (Zeb::IsAppHostAppControlAppDebug(id, device)) {
    return "app-control app debug" + of;
  }
  if (Zeb::IsCoChannel(id)) {
    if (const auto number = Zeb::GetCoNumberFromObjModelId(id + 1, device)) {
      return "channel of CO " + std::to_string(*number) + of;
    }
  }
  if (Zeb::IsCoValue(id)) {
    if (const auto number = Zeb::GetCoNumberFromObjModelId(id, device)) {
      return "value of CO " + std::to_string(*number) + of;
    }
  }
  const auto type = Zeb::GetParameterTypeFromObjModelId(id, device);
  const auto number = Zeb::GetParameterNumberFromObjModelId(id, device);
  if (type && number) {
    const auto channel = Zeb::GetParameterChannelObjModelId(*number, device, *type);
    return std::string(channel && *channel == id ? "channel" : "value") + " of " +
           ParameterTypeName(*type) + " parameter " + std::to_string(*number) + of;
  }
  return "nothing";
}

int IdInfo(Args& args, Streams& io) {
  const unsigned long id = ParseUnsigned(args.Next("ID"), "ID", ULONG_MAX);
  args.ExpectEnd();
  if (id == Zeb::GetKnxDeviceObjModelId()) {
    io.out << "KNX device\n";
    return kExitOk;
  }
  const auto device = Zeb::GetLogicalDeviceIdFromObject(id);
  io.out << (device ? DescribeInDevice(id, *device) : "nothing") << '\n';
  return kExitOk;
}

int Id(Args& args, Streams& io) {
  const std::string what = args.Next("what (co, param, app-control or info)");
  if (what == "co") {
    return CoIds(args, io);
  }
  if (what == "param") {
    return ParameterIds(args, io);
  }
  if (what == "app-control") {
    return AppControlIds(args, io);
  }
  if (what == "info") {
    return IdInfo(args, io);
  }
  throw UsageError("'" + what + "' is none of co, param, app-control, info");
}

}  // namespace

std::vector<Command> IdCommands() {
  return {
      {"id",
       "co N D\nparam ip|number|text N D\napp-control D\ninfo ID",
       "object-model ids, and what an id stands for",
       "  co N D          channel and value id of CO N of logical device D (1 or 2)\n"
       "  param T N D     channel and value id of parameter N of type T (ip, number, text)\n"
       "  app-control D   the app-control channel and its state, event, alive and app-debug ids\n"
       "  info ID         what ID is: the KNX device, a logical device, app control, a CO\n"
       "                  channel or value, a parameter, or nothing\n"
       "Numbers are decimal or 0x hex. Exit status 1 for a CO or parameter without an id.\n",
       Id,
       {}},
  };
}

}  // namespace QuorOm
