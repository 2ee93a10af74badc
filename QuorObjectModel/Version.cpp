#include "QuorObjectModel/Version.h"

namespace Quor {

const char* GetLibraryVersion() {
  return QUOR_OBJECTMODEL_VERSION_STRING;
}

}  // namespace Quor
