#pragma once
/// \file
/// The helper library's UTF-8 text and Latin-1 conversions. Part of the platform contract the
/// library relies on.
/// \ingroup platform

#include <string>
#include <utility>

#include <boost/optional.hpp>

#include "QuorHelper/Export.h"

namespace Quor {

/// Text that is known to be valid UTF-8.
/// \ingroup platform
class QUORHELPER_API UTF8String {
 public:
  /// The empty text.
  UTF8String() = default;

  /// Takes over the text when it is valid UTF-8; empty otherwise.
  static boost::optional<UTF8String> FromString(std::string text);

  /// The text.
  const std::string& str() const { return m_text; }
  /// Hands the text over.
  std::string Release() && { return std::move(m_text); }

  /// Same text.
  friend bool operator==(const UTF8String& a, const UTF8String& b) { return a.m_text == b.m_text; }
  /// Different text.
  friend bool operator!=(const UTF8String& a, const UTF8String& b) { return !(a == b); }

 private:
  explicit UTF8String(std::string text) : m_text(std::move(text)) {}
  std::string m_text;
};

/// Single-byte Latin-1 text as KNX carries it.
/// \ingroup platform
using KnxStyleString = std::string;

/// The UTF-8 form of Latin-1 text.
/// \ingroup platform
QUORHELPER_API UTF8String getUTF8FromLatin1(const KnxStyleString& latin1);
/// The Latin-1 form of UTF-8 text; characters without a Latin-1 form become "?".
/// \ingroup platform
QUORHELPER_API KnxStyleString getLatin1FromUTF8Lossy(const UTF8String& text);

}  // namespace Quor
