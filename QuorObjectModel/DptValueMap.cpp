// The DPT table's storage: entries that own their converters, and the map that finds them.

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>

#include <Quor/Log.h>

#include "QuorObjectModel/KnxValueConverter.h"

namespace Quor {

namespace {

// ---------------------------------------------------------------------------------------
// Map helpers

constexpr uint32_t KeyOf(unsigned short mainNumber, unsigned short subNumber) {
  return (static_cast<uint32_t>(mainNumber) << 16) | subNumber;
}

uint32_t KeyOf(const DptValueEntry& entry) {
  return KeyOf(entry.dpt.mainNumber, entry.dpt.subNumber);
}

template <class Iterator>
Iterator LowerBound(Iterator first, Iterator last, uint32_t key) {
  return std::lower_bound(first, last, key, [](const DptValueEntry* entry, uint32_t wanted) {
    return KeyOf(*entry) < wanted;
  });
}

const DptValueEntry& NotFoundEntry() {
  // Created on the first miss (thread-safe one-time initialisation), kept until exit.
  static const DptValueEntry notFound(KNXDPT{0, 0, 0}, tvtEmpty, TevDP::tstGeneric,
                                      std::make_unique<KnxConverterDefault>());
  return notFound;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// DptValueEntry

DptValueEntry::DptValueEntry(KNXDPT dpt, TevValueType tvt, TevDP::TevValueSubType tst,
                             std::unique_ptr<KnxConverter> converter)
    : dpt(dpt), tvt(tvt), tst(tst), converter(std::move(converter)) {}

DptValueEntry::DptValueEntry(const DptValueEntry& other)
    : dpt(other.dpt),
      tvt(other.tvt),
      tst(other.tst),
      converter(other.converter ? other.converter->Clone() : nullptr) {}

DptValueEntry& DptValueEntry::operator=(const DptValueEntry& other) {
  if (this != &other) {
    DptValueEntry copy(other);
    *this = std::move(copy);
  }
  return *this;
}

// ---------------------------------------------------------------------------------------
// DptValueMap

DptValueMap::DptValueMap(const DptValueMap& other) {
  *this = other;
}

DptValueMap& DptValueMap::operator=(const DptValueMap& other) {
  if (this != &other) {
    Clear();
    for (const DptValueEntry& entry : other.GetEntries()) {
      Insert(entry.dpt, entry.tvt, entry.tst, *entry.converter);
    }
  }
  return *this;
}

void DptValueMap::Clear() {
  m_sorted.clear();
  m_inline.clear();
  m_overflow.clear();
  m_firstOfMain[0] = 0;
  m_indexLimit = 0;
}

std::pair<DptValueMap::Sorted::const_iterator, DptValueMap::Sorted::const_iterator>
DptValueMap::EntriesOfMain(unsigned short mainNumber) const {
  const auto begin = m_sorted.begin();
  if (mainNumber < kIndexedMains) {
    const unsigned int first = std::min<unsigned int>(mainNumber, m_indexLimit);
    const unsigned int last = std::min<unsigned int>(mainNumber + 1u, m_indexLimit);
    return {begin + m_firstOfMain[first], begin + m_firstOfMain[last]};
  }
  const auto unindexed = begin + m_firstOfMain[m_indexLimit];
  const auto first = LowerBound(unindexed, m_sorted.end(), KeyOf(mainNumber, 0));
  // By main number, not by key: the key after main 65535 does not fit in 32 bits.
  const auto last = std::partition_point(first, m_sorted.end(), [mainNumber](const auto* entry) {
    return entry->dpt.mainNumber == mainNumber;
  });
  return {first, last};
}

const DptValueEntry& DptValueMap::GetEntry(const KNXDPT& dpt) const {
  const auto [first, last] = EntriesOfMain(dpt.mainNumber);
  const auto exact = std::lower_bound(first, last, dpt.subNumber,
                                      [](const DptValueEntry* entry, unsigned short wanted) {
                                        return entry->dpt.subNumber < wanted;
                                      });
  if (exact != last && (*exact)->dpt.subNumber == dpt.subNumber) {
    return **exact;
  }
  if (first == last || dpt.subNumber == 0) {
    QUOR_LOG_ERROR("No Entry found for DPT = " << dpt.mainNumber << "." << dpt.subNumber);
    return NotFoundEntry();
  }
  // The main.x entry stands for every sub number without an entry of its own.
  if ((*first)->dpt.subNumber == 0) {
    return **first;
  }
  QUOR_LOG_ERROR("No Entry found for DPT = " << dpt.mainNumber << ".x");
  return NotFoundEntry();
}

bool DptValueMap::Contains(unsigned short mainNumber, unsigned short subNumber) const {
  const auto [first, last] = EntriesOfMain(mainNumber);
  return std::any_of(first, last, [subNumber](const DptValueEntry* entry) {
    return entry->dpt.subNumber == subNumber;
  });
}

bool DptValueMap::Insert(KNXDPT dpt, TevValueType tvt, TevDP::TevValueSubType tst,
                         const KnxConverter& prototype) {
  const uint32_t key = KeyOf(dpt.mainNumber, dpt.subNumber);
  // Tables register mostly in ascending order: appending needs no search.
  auto position = m_sorted.end();
  if (!m_sorted.empty() && KeyOf(*m_sorted.back()) >= key) {
    position = LowerBound(m_sorted.begin(), m_sorted.end(), key);
    if (KeyOf(**position) == key) {
      return false;
    }
  }
  // One clone for a new entry and none for a duplicate: the same map as cloning first, with
  // half the allocations in Init().
  std::unique_ptr<KnxConverter> clone(prototype.Clone());
  const DptValueEntry& entry = m_inline.size() < kInlineEntries
                                   ? m_inline.emplace_back(dpt, tvt, tst, std::move(clone))
                                   : m_overflow.emplace_back(dpt, tvt, tst, std::move(clone));
  m_sorted.insert(position, &entry);

  if (dpt.mainNumber < kIndexedMains) {
    // A new largest main number first extends the index over the main numbers up to it,
    // then everything after the new entry moves up by one.
    const unsigned int limit = dpt.mainNumber + 1u;
    if (limit > m_indexLimit) {
      const auto begin = m_firstOfMain.begin();
      std::fill(begin + m_indexLimit + 1, begin + limit + 1, m_firstOfMain[m_indexLimit]);
      m_indexLimit = limit;
    }
    for (unsigned int k = limit; k <= m_indexLimit; ++k) {
      ++m_firstOfMain[k];
    }
  }
  return true;
}

}  // namespace Quor
