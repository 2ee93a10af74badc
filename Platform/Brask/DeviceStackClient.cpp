#include "Brask/DeviceStackClient.h"

#include <utility>

namespace Brask {

// Out of line so that the vtables and type information live in this library.
IDeviceStackClient::~IDeviceStackClient() = default;
IDeviceStackClient::IError::~IError() = default;
IDeviceStackClient::IResponseHandler::~IResponseHandler() = default;

Error::Error(int code, std::string text, std::string detail, std::string description)
    : m_code(code),
      m_text(std::move(text)),
      m_detail(std::move(detail)),
      m_description(std::move(description)) {}

Error::~Error() = default;

}  // namespace Brask
