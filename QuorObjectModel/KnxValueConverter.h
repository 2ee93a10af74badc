#pragma once
// Table-driven conversion between TEVVALUE and KNX group values by DPT.

#include <array>
#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <utility>

#include <boost/container/small_vector.hpp>
#include <boost/container/static_vector.hpp>
#include <boost/range/adaptor/indirected.hpp>

#include <KnxStack/GroupValue.h>
#include <KnxStack/KnxDpt.h>
#include <TevValue/TevValue.h>

#include "QuorObjectModel/Export.h"
#include "QuorObjectModel/KnxConverter.h"

namespace Quor {

// Marks main types of variable length in BitSizeOfMainType.
constexpr unsigned int VariableBitSize = 2147483647;
// KNX bit size of a DPT main number; 0 for main numbers without a known size.
QUOR_API unsigned int BitSizeOfMainType(unsigned int mainNumber);

struct QUOR_API DptValueEntry {
  DptValueEntry(KNXDPT dpt, TevValueType tvt, TevDP::TevValueSubType tst,
                std::unique_ptr<KnxConverter> converter);
  DptValueEntry(const DptValueEntry& other);  // clones the converter
  DptValueEntry& operator=(const DptValueEntry& other);
  DptValueEntry(DptValueEntry&&) noexcept = default;
  DptValueEntry& operator=(DptValueEntry&&) noexcept = default;
  virtual ~DptValueEntry() = default;

  KNXDPT dpt;
  TevValueType tvt;
  TevDP::TevValueSubType tst;
  std::unique_ptr<KnxConverter> converter;
};

// Entries stay where they were registered: inline up to kInlineEntries, in nodes of their own
// after that, so a reference from GetEntry survives later registrations. Lookups go through an
// array of pointers sorted by main number, then sub number, and a small index of where each
// main number starts in it; none of them allocates, and filling the built-in table costs
// the converters' clones and nothing else.
class QUOR_API DptValueMap {
 public:
  static constexpr std::size_t kInlineEntries = 64;
  using Sorted = boost::container::small_vector<const DptValueEntry*, kInlineEntries>;
  using Entries = boost::indirected_range<const Sorted>;

  DptValueMap() = default;
  // Copies clone every converter.
  DptValueMap(const DptValueMap& other);
  DptValueMap& operator=(const DptValueMap& other);
  virtual ~DptValueMap() = default;

  // main.sub, else main.x (sub 0) for a sub without its own entry; the process-wide
  // not-found entry (tvt = tvtEmpty) when neither exists.
  const DptValueEntry& GetEntry(const KNXDPT& dpt) const;
  // Whether an entry is registered for exactly this main and sub number.
  bool Contains(unsigned short mainNumber, unsigned short subNumber) const;
  // Adds an entry with its own clone of the prototype; false (and nothing cloned) when main
  // and sub number are taken.
  bool Insert(KNXDPT dpt, TevValueType tvt, TevDP::TevValueSubType tst,
              const KnxConverter& prototype);
  void Clear();
  // Ascending by main number, then sub number.
  Entries GetEntries() const { return m_sorted | boost::adaptors::indirected; }
  std::size_t Size() const { return m_sorted.size(); }

 private:
  // Main numbers below this are indexed; larger ones are searched among the entries after
  // the indexed ones.
  static constexpr unsigned int kIndexedMains = 256;

  std::pair<Sorted::const_iterator, Sorted::const_iterator> EntriesOfMain(
      unsigned short mainNumber) const;

  boost::container::static_vector<DptValueEntry, kInlineEntries> m_inline;
  std::list<DptValueEntry> m_overflow;
  Sorted m_sorted;
  // m_firstOfMain[k]: index in m_sorted of the first entry whose main number is k or above,
  // kept for k up to m_indexLimit (the largest indexed main number present, plus one);
  // every k above that shares the value at m_indexLimit.
  std::array<std::uint32_t, kIndexedMains + 1> m_firstOfMain{};
  unsigned int m_indexLimit = 0;
};

class QUOR_API KnxValueConverter {
 public:
  KnxValueConverter() = default;
  virtual ~KnxValueConverter() = default;

  // Clears the map and fills it with the DPT table; always true.
  bool Init();
  bool AddDptValueMapEntry(unsigned short mainNumber, unsigned short subNumber,
                           unsigned char bitSize, TevValueType tvt, TevDP::TevValueSubType tst,
                           const KnxConverter& converter);
  const DptValueEntry& GetEntry(const KNXDPT& dpt) const { return m_map.GetEntry(dpt); }
  const DptValueMap& GetMap() const { return m_map; }

  // dpt is in and out: a default chosen for main number 0 is written back.
  bool ToKnxValue(KNXDPT& dpt, const TEVVALUE& value, KnxStack::GroupValue& group);
  bool FromKnxValue(KNXDPT& dpt, const KnxStack::GroupValue& group, TEVVALUE& value);

  // Not symmetric: may a value of valueType stand in for an entry of entryType?
  bool AreValueTypesCompatible(TevValueType valueType, TevValueType entryType);
  bool GetDefaultMappingDptForSize(KNXDPT& dpt);
  bool GetDefaultMappingDptForValueType(KNXDPT& dpt, const TEVVALUE& value);

 private:
  bool FillDptValueMap();

  DptValueMap m_map;
};

// For callers holding serialised values or only a bit size.
class QUOR_API QuorKnxValueConverter {
 public:
  QuorKnxValueConverter();
  ~QuorKnxValueConverter();

  bool Init();
  bool ToKnxValue(KNXDPT& dpt, const TEVVALUE& value, KnxStack::GroupValue& group);
  bool ToKnxValue(KNXDPT& dpt, const std::string& serialized, KnxStack::GroupValue& group);
  bool ToKnxValue(const std::string& serialized, unsigned long bitSize,
                  KnxStack::GroupValue& group);
  bool FromKnxValue(KNXDPT& dpt, const KnxStack::GroupValue& group, TEVVALUE& value);
  bool FromKnxValue(const KnxStack::GroupValue& group, std::string& serialized, bool flag);

 private:
  KnxValueConverter m_converter;
};

}  // namespace Quor
