#pragma once
// The DPT table's rows, for KnxValueConverter::Init() (not part of the API).

#include "QuorObjectModel/KnxValueConverter.h"

namespace Quor {

// Inserts the rows into map in registration order; a row whose DPT is taken is left out, so the
// first registration stays.
void InsertDptRows(DptValueMap& map);

}  // namespace Quor
