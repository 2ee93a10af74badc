#pragma once

// Marks the library's API; everything else is hidden.
#define QUOR_API __attribute__((visibility("default")))
