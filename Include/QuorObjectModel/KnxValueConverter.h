#pragma once
/// \file
/// Table-driven conversion between TEVVALUE and KNX group values by DPT.
/// \ingroup conversion

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

/// What BitSizeOfMainType gives for main types of variable length.
/// \ingroup conversion
constexpr unsigned int VariableBitSize = 2147483647;
/// KNX bit size of a DPT main number: 0 for main numbers without a known size,
/// VariableBitSize for those of variable length. The same sizes as the "bits" column of
/// `quor-om table` (and `quor-om table bit-sizes`). A received telegram carries bytes only:
/// this is the bit size to build its KnxStack::GroupValue with.
/// \code
/// // Two bytes received for a DPT 9.001 data point.
/// const unsigned char bytes[] = {0x0c, 0x33};
/// const KnxStack::GroupValue group(KnxStack::BinaryData(bytes, sizeof bytes),
///                                  Quor::BitSizeOfMainType(9));  // 16
/// \endcode
/// \ingroup conversion
QUOR_API unsigned int BitSizeOfMainType(unsigned int mainNumber);

/// One row of the DPT table: the DPT with its bit size, the value type and sub-type it
/// converts to and from, and the converter that does it. The entry owns its converter.
/// \ingroup conversion
struct QUOR_API DptValueEntry {
  /// Takes ownership of converter.
  DptValueEntry(KNXDPT dpt, TevValueType tvt, TevDP::TevValueSubType tst,
                std::unique_ptr<KnxConverter> converter);
  /// Clones the other entry's converter.
  DptValueEntry(const DptValueEntry& other);
  /// Clones the other entry's converter.
  DptValueEntry& operator=(const DptValueEntry& other);
  /// Takes the other entry's converter.
  DptValueEntry(DptValueEntry&&) noexcept = default;
  /// Takes the other entry's converter.
  DptValueEntry& operator=(DptValueEntry&&) noexcept = default;
  virtual ~DptValueEntry() = default;

  KNXDPT dpt;                               ///< Main and sub number; the row's bit size.
  TevValueType tvt;                         ///< Value type of the platform side.
  TevDP::TevValueSubType tst;               ///< Value sub-type of the platform side.
  std::unique_ptr<KnxConverter> converter;  ///< The encoding; a KnxConverterDefault in the
                                            ///< not-found entry.
};

/// The DPT table's storage.
///
/// Entries stay where they were registered: inline up to kInlineEntries, in nodes of their own
/// after that, so a reference from GetEntry survives later registrations. Lookups go through an
/// array of pointers sorted by main number, then sub number, and a small index of where each
/// main number starts in it; none of them allocates, and filling the built-in table costs
/// the converters' clones and nothing else. Reading from several threads is safe once filled.
/// \ingroup conversion
class QUOR_API DptValueMap {
 public:
  /// Entries held without an allocation of their own.
  static constexpr std::size_t kInlineEntries = 64;
  /// The entries in lookup order.
  using Sorted = boost::container::small_vector<const DptValueEntry*, kInlineEntries>;
  /// A range over the entries, as returned by GetEntries().
  using Entries = boost::indirected_range<const Sorted>;

  DptValueMap() = default;
  /// Clones every converter.
  DptValueMap(const DptValueMap& other);
  /// Clones every converter.
  DptValueMap& operator=(const DptValueMap& other);
  virtual ~DptValueMap() = default;

  /// The entry of main.sub, else of main.x (sub 0) for a sub without its own entry; the
  /// process-wide not-found entry (tvt = tvtEmpty, a KnxConverterDefault), logged at ERROR, when
  /// neither exists. The reference stays valid until Clear() or the map's end.
  const DptValueEntry& GetEntry(const KNXDPT& dpt) const;
  /// Whether an entry is registered for exactly this main and sub number.
  bool Contains(unsigned short mainNumber, unsigned short subNumber) const;
  /// Adds an entry with its own clone of the prototype; false (and nothing cloned) when main
  /// and sub number are taken.
  bool Insert(KNXDPT dpt, TevValueType tvt, TevDP::TevValueSubType tst,
              const KnxConverter& prototype);
  /// Removes every entry.
  void Clear();
  /// The entries, ascending by main number, then sub number.
  Entries GetEntries() const { return m_sorted | boost::adaptors::indirected; }
  /// The number of entries.
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

/// Table-driven conversion between TEVVALUE and KNX group values by DPT: the 53 rows of the
/// DPT table, each with its converter and range.
///
/// Construct it and call Init() once; after that, conversions may run from any number of
/// threads at once, as the table is only read. Refusals return false, most of them logged at
/// ERROR (a main number 0 without a default DPT at INFO); each member says which outcomes
/// return true.
///
/// Without Init() the table is empty, and every DPT is one without a row: ToKnxValue()
/// returns true and leaves the group value untouched, FromKnxValue() returns true with an
/// Empty value (tvtEmpty), each with three ERROR records: "No Entry found for DPT =
/// \<main\>.\<sub\>" twice (from the table's lookup, then from the conversion) and "Assume
/// validity and accept value!". Look for those lines when values come out empty.
///
/// Decoding received bytes: build the group value from the bytes and the DPT's bit size
/// (BitSizeOfMainType()), then convert with the DPT.
/// \code
/// Quor::KnxValueConverter converter;
/// converter.Init();
/// const unsigned char bytes[] = {0x0c, 0x33};
/// const KnxStack::GroupValue group(KnxStack::BinaryData(bytes, sizeof bytes),
///                                  Quor::BitSizeOfMainType(9));
/// KNXDPT dpt{16, 9, 1};  // bit size, main, sub: DPT 9.001
/// TEVVALUE value;
/// if (converter.FromKnxValue(dpt, group, value)) {
///   // value.tvt is tvtFloat, value.value.doubleValue 21.5
/// }
/// \endcode
/// \ingroup conversion
class QUOR_API KnxValueConverter {
 public:
  /// An empty table: call Init().
  KnxValueConverter() = default;
  virtual ~KnxValueConverter() = default;

  /// Clears the table and fills it with the built-in DPT rows; always true.
  bool Init();
  /// Adds a row with its own clone of converter. When main and sub number are taken, the
  /// first row stays, nothing is added, nothing is logged and the result is true all the
  /// same: callers have always counted a duplicate as registered.
  bool AddDptValueMapEntry(unsigned short mainNumber, unsigned short subNumber,
                           unsigned char bitSize, TevValueType tvt, TevDP::TevValueSubType tst,
                           const KnxConverter& converter);
  /// The row of dpt, as DptValueMap::GetEntry gives it.
  const DptValueEntry& GetEntry(const KNXDPT& dpt) const { return m_map.GetEntry(dpt); }
  /// The table.
  const DptValueMap& GetMap() const { return m_map; }

  /// Encodes value into group by dpt's row. dpt is in and out: for main number 0 a default
  /// DPT is chosen (by the value type, else by the bit size) and written back. False, logged at
  /// ERROR, when the value type does not fit the row or the converter refuses, and logged at
  /// INFO when main number 0 finds no default DPT. True without conversion, group untouched:
  /// a DPT without a row (or any DPT before Init()), with three ERROR records saying so. True as
  /// well when the KNX stack throws KnxStack::GroupValueException while encoding: it is logged
  /// at ERROR, and group is then unspecified.
  bool ToKnxValue(KNXDPT& dpt, const TEVVALUE& value, KnxStack::GroupValue& group);
  /// Decodes group into value by dpt's row; dpt is in and out as for ToKnxValue (for main
  /// number 0 the default DPT of the bit size: dpt's, or the group's when dpt has none).
  /// False, logged at ERROR, when the group's bit size does not fit the main type, the
  /// converter refuses or the KNX stack throws; false as well when main number 0 finds no
  /// default DPT (logged at INFO or ERROR). True with an Empty value (tvtEmpty) for a
  /// DPT without a row (or any DPT before Init()), with three ERROR records saying so. On
  /// false, value may already be changed (its type set): read it only on true.
  bool FromKnxValue(KNXDPT& dpt, const KnxStack::GroupValue& group, TEVVALUE& value);

  /// Whether a value of valueType may stand in for a row of entryType; not symmetric.
  bool AreValueTypesCompatible(TevValueType valueType, TevValueType entryType);
  /// Chooses a default DPT by dpt's bit size and writes it into dpt; false when the size has
  /// none.
  bool GetDefaultMappingDptForSize(KNXDPT& dpt);
  /// Chooses a default DPT by the value's type and writes it into dpt; false when the type
  /// has none.
  bool GetDefaultMappingDptForValueType(KNXDPT& dpt, const TEVVALUE& value);

 private:
  bool FillDptValueMap();

  DptValueMap m_map;
};

/// Facade over one KnxValueConverter for callers that hold serialised values or only a bit
/// size. Same threading rules and the same results without Init(): Init() once, then
/// conversions from any thread.
/// \ingroup conversion
class QUOR_API QuorKnxValueConverter {
 public:
  /// An empty table: call Init().
  QuorKnxValueConverter();
  ~QuorKnxValueConverter();

  /// Fills the table; always true.
  bool Init();
  /// As KnxValueConverter::ToKnxValue.
  bool ToKnxValue(KNXDPT& dpt, const TEVVALUE& value, KnxStack::GroupValue& group);
  /// Deserialises the value with TEVVALUE::Deserialize(), then converts it by dpt. A text
  /// that does not deserialise is not refused here: the conversion's type check decides.
  bool ToKnxValue(KNXDPT& dpt, const std::string& serialized, KnxStack::GroupValue& group);
  /// Deserialises the value and converts it with main number 0 and bitSize, so that the
  /// default DPT is chosen as for ToKnxValue.
  bool ToKnxValue(const std::string& serialized, unsigned long bitSize,
                  KnxStack::GroupValue& group);
  /// As KnxValueConverter::FromKnxValue.
  bool FromKnxValue(KNXDPT& dpt, const KnxStack::GroupValue& group, TEVVALUE& value);
  /// Decodes group by the default DPT of its bit size and serialises the value
  /// (internalFormat goes to TEVVALUE::Serialize()); serialized is untouched when the
  /// conversion is refused.
  bool FromKnxValue(const KnxStack::GroupValue& group, std::string& serialized,
                    bool internalFormat);

 private:
  KnxValueConverter m_converter;
};

}  // namespace Quor
