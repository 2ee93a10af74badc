#include "Brask/DeviceStackClient.h"

namespace Brask {

// Out of line so that the vtables and type information live in this library.
IDeviceStackClient::~IDeviceStackClient() = default;
IDeviceStackClient::IError::~IError() = default;
IDeviceStackClient::IResponseHandler::~IResponseHandler() = default;

}  // namespace Brask
