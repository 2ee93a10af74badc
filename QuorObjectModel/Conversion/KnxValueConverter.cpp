// The conversion core: a DPT's row found, the value type or the bit size checked, the work
// handed to the row's converter.

#include <cstdint>
#include <optional>

#include <Quor/Log.h>

#include "QuorObjectModel/Conversion/DptTable.h"
#include "QuorObjectModel/KnxValueConverter.h"

namespace Quor {

namespace {

void LogMissingEntry(const KNXDPT& dpt, const LogSite& site) {
  QUOR_LOG_ERROR_AT(site, "No Entry found for DPT = " << dpt.mainNumber << "." << dpt.subNumber);
  QUOR_LOG_ERROR_AT(site, "Assume validity and accept value!");
}

void LogNoConverter(const KNXDPT& dpt, const LogSite& site) {
  QUOR_LOG_ERROR_AT(
      site, "NULL pointer as KnxConverter for DPT = " << dpt.mainNumber << "." << dpt.subNumber);
}

// A received value without a DPT gets the default DPT of its size: of the group value's when
// the caller gave none, else of the caller's.
bool ChooseReceivedDpt(KnxValueConverter& converter, KNXDPT& dpt, const KnxStack::GroupValue& group,
                       const LogSite& site) {
  if (dpt.bitSize == 0) {
    KNXDPT sized = dpt;
    sized.bitSize = static_cast<uint8_t>(group.GetDefinedSize());
    if (converter.GetDefaultMappingDptForSize(sized)) {
      dpt = sized;
    }
  } else if (!converter.GetDefaultMappingDptForSize(dpt)) {
    QUOR_LOG_AT(site, ::log4cplus::INFO_LOG_LEVEL,
                "Could not find DPT for bit size " << dpt.bitSize);
    return false;
  }
  if (dpt.mainNumber == 0) {
    QUOR_LOG_ERROR_AT(site, "Convert from KNX value failed. Missing DPT. GroupValue = "
                                << group.GetRawData().ToString());
    return false;
  }
  return true;
}

// Whether the received group value has the main type's size. Values of up to 6 bits travel in
// one byte, so their sizes are not compared; a 6-bit value is reread with the main type's own
// size, in resized.
bool FitsMainType(const KNXDPT& dpt, const KnxStack::GroupValue& group,
                  std::optional<KnxStack::GroupValue>& resized, const LogSite& site) {
  const unsigned int expected = BitSizeOfMainType(dpt.mainNumber);
  const unsigned int actual = group.GetDefinedSize();
  if (expected <= 6 && actual <= 6) {
    if (actual == 6) {
      resized.emplace(group.GetRawData(), expected);
    }
    return true;
  }
  if (actual != expected && expected != VariableBitSize) {
    QUOR_LOG_ERROR_AT(site, "Failed to convert a GroupValue for DPT "
                                << dpt.mainNumber << "." << dpt.subNumber
                                << " because of unexpected bit size: " << actual
                                << ", expected: " << expected);
    return false;
  }
  return true;
}

}  // namespace

bool KnxValueConverter::Init() {
  return FillDptValueMap();
}

bool KnxValueConverter::FillDptValueMap() {
  m_map.Clear();
  InsertDptRows(m_map);
  return true;
}

bool KnxValueConverter::AddDptValueMapEntry(unsigned short mainNumber, unsigned short subNumber,
                                            unsigned char bitSize, TevValueType tvt,
                                            TevDP::TevValueSubType tst,
                                            const KnxConverter& converter) {
  // The first registration wins and a duplicate is no failure. The map clones the
  // prototype only for a new entry, so a duplicate costs no throw-away clone.
  m_map.Insert(KNXDPT{bitSize, mainNumber, subNumber}, tvt, tst, converter);
  return true;
}

bool KnxValueConverter::ToKnxValue(KNXDPT& dpt, const TEVVALUE& value,
                                   KnxStack::GroupValue& group) {
  const LogSite site = QUOR_LOG_SITE;
  try {
    if (dpt.mainNumber == 0 && !GetDefaultMappingDptForValueType(dpt, value) &&
        !GetDefaultMappingDptForSize(dpt)) {
      QUOR_LOG_INFO("Could not find DPT for bit size " << dpt.bitSize);
      return false;
    }
    const DptValueEntry& entry = GetEntry(dpt);
    if (entry.tvt == tvtEmpty) {
      LogMissingEntry(dpt, site);
      return true;
    }
    // An invalid value always goes to the converter, which knows how to send it.
    if (value.tvt != tvtInvalid && !AreValueTypesCompatible(value.tvt, entry.tvt)) {
      QUOR_LOG_ERROR("Invalid value type found for DPT = " << dpt.mainNumber << "." << dpt.subNumber
                                                           << " val.tvt="
                                                           << static_cast<int>(value.tvt));
      return false;
    }
    if (!entry.converter) {
      LogNoConverter(dpt, site);
      return false;
    }
    const bool converted = entry.converter->ToKnxValue(dpt, value, group);
    if (!converted) {
      QUOR_LOG_ERROR("Convert to KNX value failed for DPT = "
                     << dpt.mainNumber << "." << dpt.subNumber << " val = " << value.ToString());
    }
    return converted;
  } catch (const KnxStack::GroupValueException& e) {
    QUOR_LOG_ERROR("Exception caught during conversion of TEVVALUE to GroupValue: " << e.what());
    // Callers have always been told that such a value went out.
    return true;
  }
}

bool KnxValueConverter::FromKnxValue(KNXDPT& dpt, const KnxStack::GroupValue& group,
                                     TEVVALUE& value) {
  const LogSite site = QUOR_LOG_SITE;
  try {
    if (dpt.mainNumber == 0 && !ChooseReceivedDpt(*this, dpt, group, site)) {
      return false;
    }
    const DptValueEntry& entry = GetEntry(dpt);
    if (entry.tvt == tvtEmpty) {
      LogMissingEntry(dpt, site);
      value.tvt = tvtEmpty;
      return true;
    }
    value.tvt = entry.tvt;
    std::optional<KnxStack::GroupValue> resized;
    if (!FitsMainType(dpt, group, resized, site)) {
      return false;
    }
    const KnxStack::GroupValue& source = resized ? *resized : group;
    if (!entry.converter) {
      LogNoConverter(dpt, site);
      return false;
    }
    const bool converted = entry.converter->FromKnxValue(dpt, source, value);
    if (!converted) {
      QUOR_LOG_ERROR("Convert from KNX value failed for DPT = " << dpt.mainNumber << "."
                                                                << dpt.subNumber << " GroupValue = "
                                                                << source.GetRawData().ToString());
    }
    return converted;
  } catch (const KnxStack::GroupValueException& e) {
    QUOR_LOG_ERROR("Exception caught during conversion of GroupValue: "
                   << e.what() << "(DPT: " << dpt.mainNumber << "." << dpt.subNumber
                   << ", Value: " << value.ToString() << ")");
    return false;
  }
}

}  // namespace Quor
