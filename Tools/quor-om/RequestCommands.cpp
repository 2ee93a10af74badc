// demo and stress: the request engine against the simulated device stack.

#include <algorithm>
#include <chrono>
#include <iomanip>
#include <map>
#include <ostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <boost/date_time/posix_time/posix_time_types.hpp>
#include <boost/filesystem/operations.hpp>

#include <KnxStack/GroupValue.h>
#include <Quor/Log.h>
#include <QuorObjectModel/DscAsyncRequestMessenger.h>
#include <QuorObjectModel/GroupValueTevValue.h>
#include <QuorObjectModel/KnxZebMapping.h>
#include <QuorObjectModel/RequestMessengerDeviceStack.h>
#include <QuorSim/SimulatedDeviceStack.h>
#include <QuorSim/SimulatedRequestEngine.h>

#include "Commands.h"
#include "LogLevelOverride.h"
#include "ValueText.h"

namespace QuorOm {

namespace {

using boost::posix_time::milliseconds;
using boost::posix_time::seconds;
using QuorSim::Outcome;
using QuorSim::RequestRecord;
using QuorSim::SimulatedDeviceStack;

using Rig = QuorSim::SimulatedRequestEngine;

std::string Describe(const Quor::Docket& docket) {
  if (!docket.IsAnswered()) {
    return "not answered";
  }
  if (!docket.IsReplyValid()) {
    return "answered, device-side error '" + docket.ReadDeliveryError() + "'";
  }
  return "answered, valid";
}

KnxStack::GroupValue GroupOf(const std::vector<unsigned char>& bytes, unsigned int bits) {
  return KnxStack::GroupValue(
      KnxStack::BinaryData(bytes.data(), static_cast<unsigned int>(bytes.size())), bits);
}

std::string HexOf(const KnxStack::GroupValue& group) {
  return FormatHex(group.GetRawData().GetData(), group.GetRawData().GetSize());
}

// A CO of logical device 1 with the telegram the demo pretends to have received for it.
struct DemoCo {
  unsigned short number;
  unsigned long dpt;  // object-model DPT number
  const char* dptName;
  std::vector<unsigned char> telegram;
  unsigned int bits;
};

unsigned long CoValueId(unsigned short number) {
  return *Quor::KnxZebMapping::GetCoValueObjModelId(number, Quor::LogicalDeviceId(1));
}

// Received telegram -> value -> SetValue, then GetValue -> value -> telegram to send.
bool WriteAndReadBack(Quor::DscAsyncRequestMessenger& engine, const DemoCo& co, std::ostream& out) {
  const unsigned long id = CoValueId(co.number);
  const auto value = Quor::GroupValueToTevValue(GroupOf(co.telegram, co.bits), co.dpt);
  if (!value) {
    out << "CO " << co.number << ": the telegram was refused\n";
    return false;
  }
  out << "CO " << co.number << " (id " << id << ", DPT " << co.dptName << "): received "
      << FormatHex(co.telegram.data(), static_cast<unsigned int>(co.telegram.size())) << " = "
      << FormatValueText(*value) << "; SetValue " << Describe(engine.SetValue(id, *value, false))
      << std::endl;

  const Quor::Docket read = engine.GetValue(id, false);
  TEVVALUE stored;
  const bool readable = read.IsReplyValid() && stored.Deserialize(read.ReadReply());
  const auto group = readable ? Quor::TevValueToGroupValue(stored, co.dpt) : boost::none;
  out << "CO " << co.number << ": GetValue " << Describe(read);
  if (group) {
    out << " = " << FormatValueText(stored) << ", sent as " << HexOf(*group);
  }
  out << std::endl;
  return group.has_value();
}

// Several callers at once, each with a CO of its own; the count of valid dockets.
unsigned ConcurrentWrites(Quor::DscAsyncRequestMessenger& engine, unsigned threads,
                          unsigned perThread) {
  std::vector<unsigned> valid(threads, 0);
  std::vector<std::thread> callers;
  for (unsigned t = 0; t < threads; ++t) {
    callers.emplace_back([&engine, &valid, t, perThread] {
      const unsigned long id = CoValueId(static_cast<unsigned short>(10 + t));
      for (unsigned i = 0; i < perThread; ++i) {
        TEVVALUE value(tvtFloat);
        value.value.doubleValue = 20.0 + t + i / 10.0;
        valid[t] += engine.SetValue(id, value, false).IsReplyValid() ? 1 : 0;
      }
    });
  }
  for (auto& caller : callers) {
    caller.join();
  }
  unsigned total = 0;
  for (const unsigned v : valid) {
    total += v;
  }
  return total;
}

// The first attempt's answer is lost: the engine waits out its timeout and tries again.
bool DemoRetry(Rig& rig, std::ostream& out) {
  out << "CO 1 SetValue while the device stack loses the next answer (timeout and retry "
         "logged on stderr):"
      << std::endl;
  const std::size_t before = rig.stack.GetRecords().size();
  rig.stack.InjectFault(QuorSim::Fault::NoAnswer);
  TEVVALUE warmer(tvtFloat);
  warmer.value.doubleValue = 22.0;
  const Quor::Docket retried = rig.engine.SetValue(CoValueId(1), warmer, false);
  out << "  " << Describe(retried) << " after " << rig.stack.GetRecords().size() - before
      << " attempts" << std::endl;
  return retried.IsReplyValid();
}

// A CO nobody wrote: the device stack itself refuses, which is an answer, not a retry.
bool DemoRefusal(Rig& rig, std::ostream& out) {
  out << "CO 9 GetValue of a value the device stack does not hold:" << std::endl;
  const Quor::Docket refused = rig.engine.GetValue(CoValueId(9), false);
  out << "  " << Describe(refused) << std::endl;
  return refused.IsAnswered() && !refused.IsReplyValid();
}

int Demo(Args& args, Streams& io) {
  args.ExpectEnd();
  std::ostream& out = io.out;
  constexpr unsigned kRetries = 2;
  SimulatedDeviceStack::Options options;
  options.answerDelay = std::chrono::milliseconds(2);
  Rig rig(milliseconds(200), kRetries, options);
  out << "simulated device stack answering after 2 ms; engine timeout 200 ms, " << kRetries
      << " retries" << std::endl;

  const Quor::Docket registration = rig.engine.RegisterApplication("demo", "quor-om demo", "1.0");
  bool ok = registration.IsReplyValid();
  out << "RegisterApplication " << Describe(registration) << std::endl;
  const std::vector<DemoCo> cos = {
      {1, 0x90001, "9.001", {0x0c, 0x33}, 16},
      {2, 0x10001, "1.001", {0x01}, 1},
      {3, 0x100000, "16.000", {'K', 'N', 'X', ' ', 'd', 'e', 'm', 'o', 0, 0, 0, 0, 0, 0}, 112},
  };
  for (const DemoCo& co : cos) {
    ok &= WriteAndReadBack(rig.engine, co, out);
  }
  constexpr unsigned kThreads = 4;
  constexpr unsigned kPerThread = 5;
  const unsigned valid = ConcurrentWrites(rig.engine, kThreads, kPerThread);
  ok &= valid == kThreads * kPerThread;
  out << kThreads << " threads with " << kPerThread << " SetValue each: " << valid << " of "
      << kThreads * kPerThread << " answered, valid" << std::endl;
  ok &= DemoRetry(rig, out);
  ok &= DemoRefusal(rig, out);

  const QuorSim::SimulationCounters counters = rig.stack.GetCounters();
  out << "device stack: " << counters.issued << " requests, " << counters.answeredOk
      << " answered, " << counters.answeredWithError << " refused, " << counters.notAnswered
      << " lost by injection" << std::endl;
  return ok ? kExitOk : kExitRefused;
}

// stress ------------------------------------------------------------------------------------

struct StressOptions {
  unsigned long requests = 10000;
  unsigned long threads = 4;
  double faultRate = 0.05;
  unsigned long timeoutMs = 100;
  unsigned long retries = 2;
  unsigned long seed = 1;
  bool showLog = false;
};

double ParseRate(const std::string& text) {
  std::istringstream in(text);
  double rate = -1;
  in >> rate;
  if (!in || !in.eof() || !(rate >= 0.0 && rate <= 1.0)) {
    throw UsageError("--faults '" + text + "' is not a rate from 0 to 1");
  }
  return rate;
}

void StressOptionNames(boost::program_options::options_description_easy_init& add) {
  for (const char* name : {"requests", "threads", "faults", "timeout", "retries", "seed"}) {
    add(name, boost::program_options::value<std::string>(), "");
  }
  add("show-log", "");
}

StressOptions TakeStressOptions(Args& args) {
  StressOptions options;
  options.showLog = args.Has("show-log");
  if (const auto v = args.Value("requests")) {
    options.requests = ParseUnsigned(*v, "--requests", 100000000);
  }
  if (const auto v = args.Value("threads")) {
    options.threads = ParseUnsigned(*v, "--threads", 256);
  }
  if (const auto v = args.Value("faults")) {
    options.faultRate = ParseRate(*v);
  }
  if (const auto v = args.Value("timeout")) {
    options.timeoutMs = ParseUnsigned(*v, "--timeout", 60000);
  }
  if (const auto v = args.Value("retries")) {
    options.retries = ParseUnsigned(*v, "--retries", 10);
  }
  if (const auto v = args.Value("seed")) {
    options.seed = ParseUnsigned(*v, "--seed", 0xFFFFFFFF);
  }
  args.ExpectEnd();
  if (options.threads == 0 || options.timeoutMs == 0) {
    throw UsageError("--threads and --timeout must be at least 1");
  }
  return options;
}

std::string RequestText(std::size_t call) {
  return "stress-" + std::to_string(call);
}

// How an attempt's answer stands to the engine's deadline. The engine starts its clock after the
// ID is handed out, so an answer sent within half the timeout must reach it; one sent close to
// the deadline may race with the timeout either way, and a held-back one must not count.
enum class AnswerTiming { None, InTime, NearDeadline, Late };

AnswerTiming TimingOf(const RequestRecord& attempt, std::chrono::nanoseconds timeout) {
  if (attempt.answers == 0) {
    return AnswerTiming::None;
  }
  if (attempt.late) {
    return AnswerTiming::Late;
  }
  return attempt.answeredAt - attempt.issuedAt < timeout / 2 ? AnswerTiming::InTime
                                                             : AnswerTiming::NearDeadline;
}

// Whether a call's docket agrees with what the device stack did with its attempts.
bool Agrees(const Quor::Docket& docket, const std::string& text,
            const std::vector<const RequestRecord*>& attempts, unsigned long maxAttempts,
            std::chrono::nanoseconds timeout) {
  if (attempts.empty() || attempts.size() > maxAttempts) {
    return false;
  }
  // The engine only tries again after giving up, so no earlier attempt may have been answered.
  for (std::size_t i = 0; i + 1 < attempts.size(); ++i) {
    if (TimingOf(*attempts[i], timeout) == AnswerTiming::InTime) {
      return false;
    }
  }
  const RequestRecord& last = *attempts.back();
  const AnswerTiming timing = TimingOf(last, timeout);
  if (!docket.IsAnswered()) {
    return timing != AnswerTiming::InTime;
  }
  if (timing != AnswerTiming::InTime && timing != AnswerTiming::NearDeadline) {
    return false;
  }
  if (docket.IsReplyValid()) {
    return last.GetOutcome() == Outcome::AnsweredOk && docket.ReadReply() == text;
  }
  return last.GetOutcome() == Outcome::AnsweredWithError && !docket.ReadDeliveryError().empty();
}

std::string Milliseconds(std::chrono::nanoseconds duration) {
  std::ostringstream text;
  text << std::fixed << std::setprecision(3) << duration.count() / 1e6 << " ms";
  return text.str();
}

constexpr std::size_t kLostShown = 10;

std::string DescribeLost(const std::string& text, const Quor::Docket& docket,
                         const std::vector<const RequestRecord*>& attempts) {
  std::ostringstream line;
  line << "quor-om: lost " << text << ": " << Describe(docket) << ", reply '" << docket.ReadReply()
       << "'; attempts:";
  for (const RequestRecord* attempt : attempts) {
    line << " [" << (attempt->requestId.empty() ? "no id" : attempt->requestId) << ' '
         << QuorSim::ToString(attempt->fault) << ' ' << QuorSim::ToString(attempt->GetOutcome())
         << ", answers " << attempt->answers << (attempt->late ? ", late" : "");
    if (attempt->answers > 0) {
      line << " after " << Milliseconds(attempt->answeredAt - attempt->issuedAt);
    }
    line << ']';
  }
  return line.str();
}

std::size_t RunningThreads() {
  // boost's: std::filesystem needs a library of its own on GCC 8.
  boost::system::error_code error;
  boost::filesystem::directory_iterator it("/proc/self/task", error), end;
  return error ? 1 : static_cast<std::size_t>(std::distance(it, end));
}

// What the callers got and the device stack saw.
struct StressRun {
  std::vector<Quor::Docket> dockets;
  std::vector<std::chrono::nanoseconds> latencies;
  std::vector<RequestRecord> records;
};

// The requests from options.threads callers against a faulty simulated device stack, until
// every answer, late ones included, is in.
StressRun RunStress(const StressOptions& options) {
  StressRun run{std::vector<Quor::Docket>(options.requests),
                std::vector<std::chrono::nanoseconds>(options.requests),
                {}};
  SimulatedDeviceStack::Options stackOptions;
  stackOptions.answerJitter = std::chrono::microseconds(100);
  // Well after the waiter gave up, so a late answer can never count as in time.
  stackOptions.lateAnswerDelay = std::chrono::milliseconds(2 * options.timeoutMs);
  stackOptions.seed = static_cast<std::uint32_t>(options.seed);
  Rig rig(milliseconds(static_cast<long>(options.timeoutMs)),
          static_cast<unsigned>(options.retries), stackOptions);
  rig.stack.SetRandomFaults(options.faultRate, static_cast<std::uint32_t>(options.seed));
  std::vector<std::thread> callers;
  for (std::size_t t = 0; t < options.threads; ++t) {
    callers.emplace_back([&, t] {
      for (std::size_t call = t; call < options.requests; call += options.threads) {
        const auto start = std::chrono::steady_clock::now();
        run.dockets[call] = rig.engine.Request(RequestText(call), seconds(0));
        run.latencies[call] = std::chrono::steady_clock::now() - start;
      }
    });
  }
  for (auto& caller : callers) {
    caller.join();
  }
  rig.stack.ReleaseLateAnswers();
  rig.stack.WaitUntilIdle(std::chrono::seconds(10));
  run.records = rig.stack.GetRecords();
  return run;
}

struct StressTally {
  std::size_t valid = 0;
  std::size_t refused = 0;
  std::size_t unanswered = 0;
  std::size_t lost = 0;
};

// Each call's docket against what the device stack saw of it; a lost one is described on err.
StressTally Tally(const StressOptions& options, const StressRun& run, std::ostream& err) {
  const std::chrono::nanoseconds timeout = std::chrono::milliseconds(options.timeoutMs);
  std::map<std::string, std::vector<const RequestRecord*>> attemptsByText;
  for (const RequestRecord& record : run.records) {
    attemptsByText[record.text].push_back(&record);  // records come in issue order
  }
  const std::vector<const RequestRecord*> none;
  StressTally tally;
  std::size_t attributed = 0;
  for (std::size_t call = 0; call < options.requests; ++call) {
    const Quor::Docket& docket = run.dockets[call];
    const std::string text = RequestText(call);
    const auto found = attemptsByText.find(text);
    attributed += found == attemptsByText.end() ? 0 : found->second.size();
    const auto& attempts = found == attemptsByText.end() ? none : found->second;
    if (!Agrees(docket, text, attempts, options.retries + 1, timeout)) {
      if (++tally.lost <= kLostShown) {
        err << DescribeLost(text, docket, attempts) << '\n';
      }
    } else if (!docket.IsAnswered()) {
      ++tally.unanswered;
    } else if (docket.IsReplyValid()) {
      ++tally.valid;
    } else {
      ++tally.refused;
    }
  }
  // A request no call made was never asked for.
  tally.lost += run.records.size() - attributed;
  return tally;
}

int Stress(Args& args, Streams& io) {
  const StressOptions options = TakeStressOptions(args);
  // Muting keeps the thousands of expected fault lines off stderr and out of the latencies.
  const LogLevelOverride logLevel(!options.showLog);
  const std::size_t threadsBefore = RunningThreads();
  StressRun run = RunStress(options);
  const StressTally tally = Tally(options, run, io.err);

  std::vector<std::chrono::nanoseconds>& latencies = run.latencies;
  std::sort(latencies.begin(), latencies.end());
  const auto percentile = [&latencies](double p) {
    return latencies.empty() ? std::chrono::nanoseconds(0)
                             : latencies[static_cast<std::size_t>(p * (latencies.size() - 1))];
  };
  io.out << "requests " << options.requests << ", answered valid " << tally.valid
         << ", answered with error " << tally.refused << ", not answered " << tally.unanswered
         << ", lost " << tally.lost << ", p50 " << Milliseconds(percentile(0.50)) << ", p99 "
         << Milliseconds(percentile(0.99)) << std::endl;

  const std::size_t threadsAfter = RunningThreads();
  if (threadsAfter > threadsBefore) {
    io.err << "quor-om: " << threadsAfter - threadsBefore << " threads still running\n";
    return kExitRefused;
  }
  return tally.lost == 0 ? kExitOk : kExitRefused;
}

}  // namespace

std::vector<Command> RequestCommands() {
  return {
      {"demo",
       "",
       "requests against the simulated device stack",
       "Registers an application, writes and reads CO values of logical device 1 with values\n"
       "converted from and to KNX telegrams, writes from several threads at once, and shows a\n"
       "timeout with its retry and a device-side error. Exit status 1 when a step went\n"
       "otherwise than shown.\n",
       Demo,
       {}},
      {"stress", "[--requests N] [--threads T] [--faults RATE] [--timeout MS] [--retries R]",
       "many requests from several threads with faults injected",
       "Runs N synchronous requests (default 10000) from T threads (default 4) against the\n"
       "simulated device stack, which injects a fault into a request with probability RATE\n"
       "(default 0.05). Then prints one line: requests, answered valid, answered with error,\n"
       "not answered, lost, and the p50 and p99 latency. Lost counts the calls whose docket\n"
       "disagrees with what the device stack did; exit status 1 when any was lost or a\n"
       "thread was left running.\n"
       "  --timeout MS  per attempt (default 100)\n"
       "  --retries R   attempts after the first (default 2)\n"
       "  --seed S      for the faults and answer delays (default 1)\n"
       "  --show-log    keep the library's log records (muted by default: every injected\n"
       "                fault logs)\n",
       Stress, StressOptionNames},
  };
}

}  // namespace QuorOm
