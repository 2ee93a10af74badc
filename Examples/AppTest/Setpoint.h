#pragma once
// An app's own logic, kept apart from main() so that it can be tested on a PC: the heating
// setpoint of a room, a DPT 9.001 CO of logical device 1, written and read back through
// blocking requests. SetpointTest.cpp tests it against the simulated device stack; on the
// device the same code runs over the platform's device-stack client.

#include <string>

#include <boost/optional.hpp>

#include <QuorObjectModel/DscAsyncRequestMessenger.h>

namespace SetpointApp {

enum class WriteResult {
  Written,     // the device stack took the value
  OutOfRange,  // refused by the app itself; nothing was asked
  Refused,     // the device stack answered with an error (see Setpoint::LastRefusal)
  NoAnswer,    // no answer on any attempt: silence, or the request was never issued
};

class Setpoint {
 public:
  // Setpoints outside this range are not sent.
  static constexpr double kLowest = 5.0;
  static constexpr double kHighest = 30.0;

  // `engine` is set up and set as response handler by the host; it must outlive this object.
  Setpoint(Quor::DscAsyncRequestMessenger& engine, unsigned short coNumber);

  WriteResult Write(double celsius);
  // The setpoint the device holds; empty when there is no valid answer or it is not a number
  // (a float or, for a whole number, an integer).
  boost::optional<double> Read();
  // The device stack's description of the last refusal.
  const std::string& LastRefusal() const { return m_lastRefusal; }

 private:
  Quor::DscAsyncRequestMessenger& m_engine;
  unsigned long m_objectId;
  std::string m_lastRefusal;
};

}  // namespace SetpointApp
