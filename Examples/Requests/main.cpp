// Synchronous requests: set and read a CO value through the request engine. On the device the
// client is the platform's device-stack client; here a small one keeps values in memory and
// answers from its own thread, as the real one does.
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include <log4cplus/configurator.h>
#include <log4cplus/initializer.h>
#include <log4cplus/logger.h>
#include <boost/date_time/posix_time/posix_time_types.hpp>

#include <Brask/DeviceStackClient.h>
#include <QuorObjectModel/DscAsyncRequestMessenger.h>
#include <QuorObjectModel/KnxZebMapping.h>
#include <QuorObjectModel/RequestMessengerDeviceStack.h>
#include <TevValue/TevValue.h>

namespace {

class Success final : public Brask::IDeviceStackClient::IError {
 public:
  int GetCode() const override { return 0; }
  const std::string& GetText() const override { return m_empty; }
  const std::string& GetDetail() const override { return m_empty; }
  std::string GetDescription() const override { return {}; }

 private:
  std::string m_empty;
};

// Answers every request later, on its own thread: never from inside the request call.
class InMemoryClient final : public Brask::IDeviceStackClient {
 public:
  InMemoryClient() : m_worker([this] { Run(); }) {}
  ~InMemoryClient() override {
    Post(nullptr);
    m_worker.join();
  }

  void SetResponseHandler(IResponseHandler* handler, void* context) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_handler = handler;
    m_context = context;
  }
  std::string SetValueAsync(unsigned long id, const std::string& value, bool,
                            std::uint32_t) override {
    const std::string requestId = NextId();
    Post([=](IResponseHandler& handler, void* context) {
      m_values[id] = value;
      handler.OnSetValue(context, requestId, id, "", value, m_success);
    });
    return requestId;
  }
  std::string GetValueAsync(unsigned long id, bool) override {
    const std::string requestId = NextId();
    Post([=](IResponseHandler& handler, void* context) {
      handler.OnGetValue(context, requestId, id, "", m_values[id], m_success);
    });
    return requestId;
  }
  // Not used here: not issued.
  std::string RegisterApplicationAsync(const std::string&, const std::string&,
                                       const std::string&) override {
    return {};
  }
  std::string RequestAsync(const std::string&) override { return {}; }
  std::string SetConfigurationAsync(const std::string&) override { return {}; }
  bool SetConfiguration(unsigned long, const std::map<PropertyType, Property>&, bool) override {
    return false;
  }
  bool GetDeviceConfig(std::string&, bool) override { return false; }
  bool SetDeviceConfig(const std::map<std::string, std::string>&) override { return false; }
  bool SelectValueFormat(const std::string&) override { return true; }
  void SetInternalValueFormat(bool) override {}

 private:
  using Answer = std::function<void(IResponseHandler&, void*)>;

  std::string NextId() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return std::to_string(++m_lastId);
  }
  void Post(Answer answer) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_answers.push_back(std::move(answer));
    m_wake.notify_one();
  }
  void Run() {
    for (;;) {
      std::unique_lock<std::mutex> lock(m_mutex);
      m_wake.wait(lock, [this] { return !m_answers.empty(); });
      Answer answer = std::move(m_answers.front());
      m_answers.pop_front();
      if (!answer) {
        return;
      }
      IResponseHandler* handler = m_handler;
      void* context = m_context;
      lock.unlock();
      if (handler != nullptr) {
        answer(*handler, context);
      }
    }
  }

  std::mutex m_mutex;
  std::condition_variable m_wake;
  std::deque<Answer> m_answers;
  IResponseHandler* m_handler = nullptr;
  void* m_context = nullptr;
  unsigned long m_lastId = 0;
  std::map<unsigned long, std::string> m_values;  // only the worker touches it
  Success m_success;
  std::thread m_worker;
};

}  // namespace

int main() {
  log4cplus::Initializer logInitializer;
  log4cplus::BasicConfigurator::doConfigure();
  // The engine logs every request at DEBUG; from WARN on shows only what went wrong.
  log4cplus::Logger::getRoot().setLogLevel(log4cplus::WARN_LOG_LEVEL);

  // On the device the client comes from the platform's device-stack client library; this
  // library never makes one.
  InMemoryClient client;
  // Set up in this order, and unset the handler before the engine goes.
  Quor::RemoteRequestMessengerDeviceStack messenger(client);
  Quor::DscAsyncRequestMessenger engine(messenger, boost::posix_time::seconds(5), 2);
  engine.SetAsResponseHandler();

  const unsigned long co5 =
      Quor::KnxZebMapping::GetCoValueObjModelId(5, Quor::LogicalDeviceId(1)).value();
  TEVVALUE on(tvtBoolean);
  on.value.boolValue = true;
  // Blocks until the answer, the timeout or the last of 1 + 2 attempts; any thread may call.
  Quor::Docket set = engine.SetValue(co5, on, /*notify=*/false);
  Quor::Docket get = engine.GetValue(co5, /*fromCache=*/false);
  std::printf("set %lu: %s; read back: '%s'\n", co5,
              set.IsAnswered() && set.IsReplyValid() ? "done" : "failed", get.ReadReply().c_str());

  engine.UnsetAsResponseHandler();
  return set.IsReplyValid() && get.IsReplyValid() ? 0 : 1;
}
