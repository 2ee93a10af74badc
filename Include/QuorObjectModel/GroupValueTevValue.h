#pragma once
/// \file
/// Conversion between TEVVALUE and KNX group values for a data point of the object model,
/// which names its DPT as one number: main type in the upper 16 bits, sub type in the lower
/// (DPT 9.001 is 0x90001). The encoding is chosen by the main type alone; the value type a
/// main type expects comes from the object model's main-type table (KnxZebMapping). The
/// functions are reentrant.
/// \ingroup conversion

#include <boost/optional.hpp>

#include <KnxStack/GroupValue.h>
#include <TevValue/TevValue.h>

#include "QuorObjectModel/DptNumber.h"
#include "QuorObjectModel/Export.h"

namespace Quor {

/// The group value to send for value; empty when the value has the wrong type for the DPT, or
/// cannot or need not be sent (refusals are logged). Exceptions of the KNX stack pass to the
/// caller.
/// \ingroup conversion
QUOR_API boost::optional<KnxStack::GroupValue> TevValueToGroupValue(const TEVVALUE& value,
                                                                    unsigned long dpt);
/// The value a received group value carries, or empty, logged, for a DPT without a value
/// type or a received value that is not valid for it. Exceptions of the KNX stack pass to the
/// caller.
/// \ingroup conversion
QUOR_API boost::optional<TEVVALUE> GroupValueToTevValue(const KnxStack::GroupValue& group,
                                                        unsigned long dpt);
/// Whether a received group value passes the table-driven converter for this DPT; a DPT the
/// table has no row for passes.
/// \ingroup conversion
QUOR_API bool CheckGroupValue(const KnxStack::GroupValue& group, unsigned long dpt);

}  // namespace Quor
