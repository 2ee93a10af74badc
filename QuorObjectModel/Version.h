#pragma once

#include "QuorObjectModel/Export.h"

namespace Quor {

// "1.0.0"
QUOR_API const char* GetLibraryVersion();

}  // namespace Quor
