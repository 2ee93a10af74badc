#pragma once
/// \file
/// The base name of the source file being compiled, without its directories, as a constant
/// string: `__FILE_NAME__` where the compiler has it (GCC 12, clang 9), else computed from
/// `__FILE__` at compile time.
/// \ingroup helpers

#include <cstddef>
#include <type_traits>

/// \cond INTERNAL
namespace Quor {
namespace Detail {
constexpr std::size_t FileNameOffset(const char* path) {
  std::size_t offset = 0;
  for (std::size_t i = 0; path[i] != '\0'; ++i) {
    if (path[i] == '/') {
      offset = i + 1;
    }
  }
  return offset;
}
}  // namespace Detail
}  // namespace Quor
/// \endcond

#ifdef __FILE_NAME__
/// The base name of the file being compiled ("main.cpp" for src/main.cpp), a `const char*`
/// constant.
#define QUOR_FILE_NAME __FILE_NAME__
#else
/// The base name of the file being compiled ("main.cpp" for src/main.cpp), a `const char*`
/// constant.
#define QUOR_FILE_NAME \
  (__FILE__ +          \
   ::std::integral_constant<::std::size_t, ::Quor::Detail::FileNameOffset(__FILE__)>::value)
#endif
