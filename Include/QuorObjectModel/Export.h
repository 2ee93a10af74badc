#pragma once
/// \file
/// The library's export macro.
/// \ingroup helpers

/// Marks the library's API; everything else is hidden.
#define QUOR_API __attribute__((visibility("default")))
