#pragma once
/// \file
/// A request engine wired to a simulated device stack, as an app host wires it to the
/// device's client: for tests, demonstrations and benchmarks on a PC.

#include <boost/date_time/posix_time/posix_time_types.hpp>

#include <QuorObjectModel/DscAsyncRequestMessenger.h>
#include <QuorObjectModel/RequestMessengerDeviceStack.h>
#include <QuorSim/SimulatedDeviceStack.h>

namespace QuorSim {

/// The simulated device stack, the adapter over it and the engine, in the order a host sets
/// them up: the engine is the stack's response handler from construction to destruction.
///
/// \code
/// QuorSim::SimulatedRequestEngine rig(boost::posix_time::seconds(1), 2);
/// rig.stack.SetStoredValue(100109, "21.5");
/// const Quor::Docket docket = rig.engine.GetValue(100109, false);  // answered, "21.5"
/// \endcode
/// \ingroup testkit
struct SimulatedRequestEngine {
  /// `defaultTimeout` and `maxRetries` go to the engine; `options` to the stack.
  SimulatedRequestEngine(boost::posix_time::time_duration defaultTimeout, unsigned int maxRetries,
                         const SimulatedDeviceStack::Options& options = {})
      : stack(options), messenger(stack), engine(messenger, defaultTimeout, maxRetries) {
    engine.SetAsResponseHandler();
  }
  /// Unsets the engine as response handler before anything goes.
  ~SimulatedRequestEngine() { engine.UnsetAsResponseHandler(); }
  SimulatedRequestEngine(const SimulatedRequestEngine&) = delete;
  SimulatedRequestEngine& operator=(const SimulatedRequestEngine&) = delete;

  SimulatedDeviceStack stack;                         ///< the client: script and inspect it here
  Quor::RemoteRequestMessengerDeviceStack messenger;  ///< the adapter over the stack
  Quor::DscAsyncRequestMessenger engine;              ///< make the requests here
};

}  // namespace QuorSim
