// The request engine's synchronous round trip against the simulated device stack answering at
// once, from 1, 2 and 8 caller threads, next to what the stack alone costs (issue a request,
// wait for its answer from the stack's worker) and a bare ping-pong of two thread hand-offs.

#include <benchmark/benchmark.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include <QuorSim/SimulatedDeviceStack.h>
#include <QuorSim/SimulatedRequestEngine.h>

#include "QuorObjectModel/DscAsyncRequestMessenger.h"
#include "QuorObjectModel/RequestMessengerDeviceStack.h"

namespace {

constexpr unsigned long kObjectId = 1001;

// ---- Floors ---------------------------------------------------------------------------------

// One round trip: the caller wakes a partner thread, which wakes the caller again.
void BM_Floor_TwoThreadHandOffs(benchmark::State& state) {
  std::mutex mutex;
  std::condition_variable wake;
  unsigned long turn = 0;  // odd: the partner's move
  bool stop = false;
  std::thread partner([&] {
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
      wake.wait(lock, [&] { return stop || (turn & 1) != 0; });
      if (stop) {
        return;
      }
      ++turn;
      wake.notify_all();
    }
  });
  for (auto _ : state) {
    std::unique_lock<std::mutex> lock(mutex);
    ++turn;
    wake.notify_all();
    wake.wait(lock, [&] { return (turn & 1) == 0; });
  }
  {
    std::lock_guard<std::mutex> lock(mutex);
    stop = true;
  }
  wake.notify_all();
  partner.join();
}
BENCHMARK(BM_Floor_TwoThreadHandOffs)->UseRealTime();

// Waits for the answer under one request ID, as a caller of the bare stack would.
class AnswerWaiter : public Brask::IDeviceStackClient::IResponseHandler {
 public:
  using IError = Brask::IDeviceStackClient::IError;

  void Expect(const std::string& id) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_expected = id;
    m_answered = m_answeredId == id;
  }
  void Wait() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_wake.wait(lock, [this] { return m_answered; });
  }

  void OnGetValue(void*, const std::string& requestId, unsigned long, const std::string&,
                  const std::string&, const IError&) override {
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_answeredId = requestId;
      m_answered = requestId == m_expected;
    }
    m_wake.notify_one();
  }
  void OnResponse(void*, const std::string&, const std::string&, const IError&) override {}
  void OnRegisterApplication(void*, const std::string&, const IError&) override {}
  void OnGetConfiguration(void*, const std::string&, const std::string&, const IError&) override {}
  void OnSetConfiguration(void*, const std::string&, const IError&) override {}
  void OnSetValue(void*, const std::string&, unsigned long, const std::string&, const std::string&,
                  const IError&) override {}

 private:
  std::mutex m_mutex;
  std::condition_variable m_wake;
  std::string m_expected;
  std::string m_answeredId;
  bool m_answered = false;
};

void BM_Floor_SimulatedStackRoundTrip(benchmark::State& state) {
  QuorSim::SimulatedDeviceStack stack;
  stack.SetStoredValue(kObjectId, "21.5");
  AnswerWaiter waiter;
  stack.SetResponseHandler(&waiter, nullptr);
  for (auto _ : state) {
    // The answer may come before Expect: the waiter remembers the last answered ID.
    waiter.Expect(stack.GetValueAsync(kObjectId, false));
    waiter.Wait();
  }
  stack.SetResponseHandler(nullptr, nullptr);
  stack.WaitUntilIdle(std::chrono::seconds(5));
}
BENCHMARK(BM_Floor_SimulatedStackRoundTrip)->UseRealTime();

// ---- The engine -----------------------------------------------------------------------------

// One engine shared by all caller threads of a run, as in a process.
struct Engine : QuorSim::SimulatedRequestEngine {
  Engine() : SimulatedRequestEngine(boost::posix_time::seconds(5), 0) {
    stack.SetStoredValue(kObjectId, "21.5");
  }
  ~Engine() { stack.WaitUntilIdle(std::chrono::seconds(5)); }
};

Engine* g_engine = nullptr;

void BM_Engine_SynchronousRoundTrip(benchmark::State& state) {
  if (state.thread_index() == 0) {
    g_engine = new Engine;
  }
  // Google Benchmark starts the timed loop of all threads together, after this setup.
  for (auto _ : state) {
    const Quor::Docket docket = g_engine->engine.GetValue(kObjectId, false);
    if (!docket.IsReplyValid()) {
      state.SkipWithError("request not answered");
      break;
    }
  }
  state.SetItemsProcessed(state.iterations());
  if (state.thread_index() == 0) {
    delete g_engine;
    g_engine = nullptr;
  }
}
BENCHMARK(BM_Engine_SynchronousRoundTrip)->UseRealTime()->Threads(1)->Threads(2)->Threads(8);

}  // namespace
