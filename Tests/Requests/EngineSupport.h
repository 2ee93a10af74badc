#pragma once
// Doubles for the request engine tests: a messenger that hands out request IDs by script, and a
// thread that delivers answers the way the device-stack client does (never on the caller's
// thread).

#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include <Brask/DeviceStackClient.h>

#include "QuorObjectModel/RequestMessengerDeviceStack.h"

namespace QuorTest {

using Handler = Brask::IDeviceStackClient::IResponseHandler;
using Line = std::pair<int, std::string>;

// Runs posted tasks one after the other on its own thread; the destructor runs what is left.
class Responder {
 public:
  Responder() : m_thread([this] { Run(); }) {}
  ~Responder() {
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_stop = true;
    }
    m_wake.notify_one();
    m_thread.join();
  }
  Responder(const Responder&) = delete;
  Responder& operator=(const Responder&) = delete;

  void Post(std::function<void()> task) {
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_tasks.push_back(std::move(task));
    }
    m_wake.notify_one();
  }

 private:
  void Run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
      m_wake.wait(lock, [this] { return m_stop || !m_tasks.empty(); });
      if (m_tasks.empty()) {
        return;
      }
      std::function<void()> task = std::move(m_tasks.front());
      m_tasks.pop_front();
      lock.unlock();
      task();
      lock.lock();
    }
  }

  std::mutex m_mutex;
  std::condition_variable m_wake;
  std::deque<std::function<void()>> m_tasks;
  bool m_stop = false;
  std::thread m_thread;
};

// Hands out "req-1", "req-2", ... unless `script` says otherwise, and records every call.
// The engine calls the asynchronous operations under its own mutex, so `script` runs there too.
class ScriptedMessenger : public Quor::RequestMessengerDeviceStack {
 public:
  // Gets the call as text and the ID that would be handed out; returns the ID to hand out.
  std::function<std::string(const std::string& call, const std::string& id)> script;

  Handler* handler() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_handler;
  }
  std::vector<std::string> calls() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_calls;
  }

  // Results of the synchronous calls.
  bool configurationResult = true;
  bool deviceConfigResult = true;
  bool nativeFormatResult = true;

  void SetResponseHandler(Handler* h) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_handler = h;
    m_calls.push_back(h ? "SetResponseHandler(handler)" : "SetResponseHandler(null)");
  }
  std::string RegisterApplicationAsync(const std::string& a, const std::string& b,
                                       const std::string& c) override {
    return Issue("RegisterApplicationAsync(" + a + "," + b + "," + c + ")");
  }
  std::string SetValueAsync(unsigned long id, const TEVVALUE& value, bool flag) override {
    std::string text;
    value.Serialize(text, false);
    return Issue("SetValueAsync(" + std::to_string(id) + "," + text + "," + Bool(flag) + ")");
  }
  std::string GetValueAsync(unsigned long id, bool flag) override {
    return Issue("GetValueAsync(" + std::to_string(id) + "," + Bool(flag) + ")");
  }
  std::string RequestAsync(const std::string& request) override {
    return Issue("RequestAsync(" + request + ")");
  }
  std::string SetConfigurationAsync(const std::string& configuration) override {
    return Issue("SetConfigurationAsync(" + configuration + ")");
  }
  bool SetConfiguration(unsigned long id, const PropertyMap& properties, bool flag) override {
    Record("SetConfiguration(" + std::to_string(id) + "," + std::to_string(properties.size()) +
           "," + Bool(flag) + ")");
    return configurationResult;
  }
  bool GetDeviceConfig(std::string& config, bool flag) override {
    Record("GetDeviceConfig(" + Bool(flag) + ")");
    config = "<device/>";
    return deviceConfigResult;
  }
  bool SetDeviceConfig(const std::map<std::string, std::string>& settings) override {
    Record("SetDeviceConfig(" + std::to_string(settings.size()) + ")");
    return deviceConfigResult;
  }
  bool EnableNativeFormat() override {
    Record("EnableNativeFormat()");
    return nativeFormatResult;
  }
  void EnableInternalValueFormat() override { Record("EnableInternalValueFormat()"); }
  void EnableDefaultValueFormat() override { Record("EnableDefaultValueFormat()"); }

 private:
  static std::string Bool(bool b) { return b ? "true" : "false"; }
  void Record(std::string call) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_calls.push_back(std::move(call));
  }
  std::string Issue(const std::string& call) {
    std::string id;
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_calls.push_back(call);
      id = "req-" + std::to_string(++m_issued);
    }
    return script ? script(call, id) : id;
  }

  mutable std::mutex m_mutex;
  Handler* m_handler = nullptr;
  std::vector<std::string> m_calls;
  unsigned m_issued = 0;
};

// True when `wanted` occurs in `lines` in this order, possibly with other lines in between.
inline testing::AssertionResult InOrder(const std::vector<Line>& lines,
                                        const std::vector<Line>& wanted) {
  auto next = lines.begin();
  for (const Line& w : wanted) {
    next = std::find(next, lines.end(), w);
    if (next == lines.end()) {
      return testing::AssertionFailure()
             << "missing or out of order: " << w.first << " " << w.second;
    }
    ++next;
  }
  return testing::AssertionSuccess();
}

}  // namespace QuorTest
