#include "QuorObjectModel/Version.h"

namespace Quor {

const char* GetLibraryVersion() { return "1.0.0"; }

}  // namespace Quor
