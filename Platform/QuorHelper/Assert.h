#pragma once
/// \file
/// The helper library's assertion reporter. Part of the platform contract the library relies
/// on.
/// \ingroup platform

#include "QuorHelper/Export.h"

namespace Quor {

/// Reports a failed check from its null-terminated list of pieces and ends the process.
/// \ingroup platform
[[noreturn]] QUORHELPER_API void AssertionFailed(const char* const* pieces);

}  // namespace Quor
