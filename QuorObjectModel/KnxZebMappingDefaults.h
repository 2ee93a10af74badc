#pragma once
// Value type, value sub-type and default value of a data point, chosen by the KNX main type of
// its DPT alone. DPT numbers carry the main type in the upper 16 bits and the sub type in the
// lower 16 bits (DPT 6.020 is 0x60014).

#include <functional>
#include <string>

#include <boost/optional.hpp>

#include <TevValue/TevValue.h>

#include "QuorObjectModel/Export.h"

namespace Quor {
namespace KnxZebMapping {

// Receives the value type of its own row and returns that row's default value.
using DefaultValueCreator = std::function<TEVVALUE(TevValueType)>;

struct DefaultValueEntry {
  TevValueType tvt;
  TevDP::TevValueSubType tst;
  DefaultValueCreator create;
};

// Platform name of the row's value type; "Empty" for a main type without a row.
QUOR_API std::string GetTvtFromMainType(unsigned long mainType);
// Platform name of the row's sub-type; "Generic" for a main type without a row.
QUOR_API std::string GetTstFromMainType(unsigned long mainType);
// Value type of the DPT's main type; tvtEmpty for a main type without a row.
QUOR_API TevValueType GetTvtFromDpt(unsigned int dpt);
// The default value serialised by the platform (the flag is handed to TEVVALUE::Serialize);
// empty for a main type without a row.
QUOR_API boost::optional<std::string> GetDefaultValueFromDpt(unsigned long dpt,
                                                             bool internalFormat);

// The empty value; tvt must be tvtEmpty.
QUOR_API TEVVALUE CreateDefaultValueEmpty(TevValueType tvt);

}  // namespace KnxZebMapping
}  // namespace Quor
