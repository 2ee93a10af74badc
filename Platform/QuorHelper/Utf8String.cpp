#include "QuorHelper/Utf8String.h"

#include <utf8.h>

namespace Quor {

boost::optional<UTF8String> UTF8String::FromString(std::string text) {
  if (!utf8::is_valid(text.begin(), text.end())) {
    return boost::none;
  }
  return UTF8String(std::move(text));
}

UTF8String getUTF8FromLatin1(const KnxStyleString& latin1) {
  std::string out;
  out.reserve(latin1.size() * 2);
  for (unsigned char c : latin1) {
    utf8::append(static_cast<uint32_t>(c), std::back_inserter(out));
  }
  return std::move(*UTF8String::FromString(std::move(out)));
}

KnxStyleString getLatin1FromUTF8Lossy(const UTF8String& text) {
  const std::string& s = text.str();
  KnxStyleString out;
  out.reserve(s.size());
  for (auto it = s.begin(); it != s.end();) {
    const uint32_t cp = utf8::next(it, s.end());
    out.push_back(cp <= 0xFF ? static_cast<char>(cp) : '?');
  }
  return out;
}

}  // namespace Quor
