#pragma once

#include <string>
#include <utility>

#include <boost/optional.hpp>

#include "QuorHelper/Export.h"

namespace Quor {

// Text that is known to be valid UTF-8.
class QUORHELPER_API UTF8String {
 public:
  UTF8String() = default;

  // Takes over the text when it is valid UTF-8.
  static boost::optional<UTF8String> FromString(std::string text);

  const std::string& str() const { return m_text; }
  std::string Release() && { return std::move(m_text); }

  friend bool operator==(const UTF8String& a, const UTF8String& b) { return a.m_text == b.m_text; }
  friend bool operator!=(const UTF8String& a, const UTF8String& b) { return !(a == b); }

 private:
  explicit UTF8String(std::string text) : m_text(std::move(text)) {}
  std::string m_text;
};

// Single-byte Latin-1 text as KNX carries it.
using KnxStyleString = std::string;

QUORHELPER_API UTF8String getUTF8FromLatin1(const KnxStyleString& latin1);
// Characters without a Latin-1 form become "?".
QUORHELPER_API KnxStyleString getLatin1FromUTF8Lossy(const UTF8String& text);

}  // namespace Quor
