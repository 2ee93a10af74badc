#include "Setpoint.h"

#include <Quor/TevValueHelper.h>
#include <QuorObjectModel/KnxZebMapping.h>
#include <TevValue/TevValue.h>

namespace SetpointApp {

Setpoint::Setpoint(Quor::DscAsyncRequestMessenger& engine, unsigned short coNumber)
    : m_engine(engine),
      // Throws boost::bad_optional_access for a CO number beyond the device's COs.
      m_objectId(
          Quor::KnxZebMapping::GetCoValueObjModelId(coNumber, Quor::LogicalDeviceId(1)).value()) {}

WriteResult Setpoint::Write(double celsius) {
  if (!(celsius >= kLowest && celsius <= kHighest)) {
    return WriteResult::OutOfRange;
  }
  // Blocks until the answer, or until every attempt has timed out.
  const Quor::Docket docket =
      m_engine.SetValue(m_objectId, Quor::ToTevValue(celsius, tvtFloat), false);
  if (!docket.IsAnswered()) {
    // Silence and "not issued" look the same here; the engine's log tells them apart.
    return WriteResult::NoAnswer;
  }
  if (!docket.IsReplyValid()) {
    // The docket keeps the description, not the error code.
    m_lastRefusal = docket.ReadDeliveryError();
    return WriteResult::Refused;
  }
  return WriteResult::Written;
}

boost::optional<double> Setpoint::Read() {
  const Quor::Docket docket = m_engine.GetValue(m_objectId, false);
  TEVVALUE value;
  if (!docket.IsReplyValid() || !value.Deserialize(docket.ReadReply())) {
    return boost::none;
  }
  // The value text does not say its type: 20.0 travels as "20" and comes back an Integer.
  switch (value.tvt) {
    case tvtFloat:
      return value.value.doubleValue;
    case tvtInteger:
      return static_cast<double>(value.value.intValue);
    default:
      return boost::none;
  }
}

}  // namespace SetpointApp
