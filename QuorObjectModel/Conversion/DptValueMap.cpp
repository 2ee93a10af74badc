// The DPT table's storage: entries that own their converters, and the map that finds them.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>

#include <Quor/Log.h>

#include "QuorObjectModel/DptNumber.h"
#include "QuorObjectModel/KnxValueConverter.h"

namespace Quor {

namespace {

// ---------------------------------------------------------------------------------------
// Map helpers

constexpr uint32_t KeyOf(unsigned short mainNumber, unsigned short subNumber) {
  return static_cast<uint32_t>(DptNumber(mainNumber, subNumber));
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

// The entries of a main number past the index. Kept out of line, so that the indexed case of
// a lookup stays small enough to inline.
template <class Iterator>
__attribute__((noinline)) std::pair<Iterator, Iterator> UnindexedEntriesOf(Iterator unindexed,
                                                                           Iterator end,
                                                                           unsigned short main) {
  const auto first = LowerBound(unindexed, end, KeyOf(main, 0));
  // By main number, not by key: the key after main 65535 does not fit in 32 bits.
  const auto last = std::partition_point(
      first, end, [main](const auto* entry) { return entry->dpt.mainNumber == main; });
  return {first, last};
}

using EntryPointer = const DptValueEntry* const*;

// The entries of a main number: through the index where it reaches, else searched among those
// past it. Raw pointers, so that the lookup keeps them in registers.
template <class Sorted, class Index>
std::pair<EntryPointer, EntryPointer> EntriesOf(const Sorted& sorted, const Index& firstOfMain,
                                                unsigned int indexLimit, unsigned short main) {
  const EntryPointer begin = sorted.data();
  if (main < firstOfMain.size() - 1) {
    return {begin + firstOfMain[std::min<unsigned int>(main, indexLimit)],
            begin + firstOfMain[std::min<unsigned int>(main + 1u, indexLimit)]};
  }
  return UnindexedEntriesOf(begin + firstOfMain[indexLimit], begin + sorted.size(), main);
}

// The entry of exactly sub among a main number's entries. Sub numbers are distinct and
// ascending, so it stands at most sub places in: where it stands exactly there (the sub
// numbers below it all taken, as in 9.001 and most rows) one look finds it, else a search of
// those places does.
EntryPointer FindSub(EntryPointer first, EntryPointer last, unsigned short sub) {
  const auto count = last - first;
  if (sub < count && first[sub]->dpt.subNumber == sub) {
    return first + sub;
  }
  const EntryPointer bound = first + std::min<std::ptrdiff_t>(count, sub + 1);
  const EntryPointer found =
      std::lower_bound(first, bound, sub, [](const DptValueEntry* entry, unsigned short wanted) {
        return entry->dpt.subNumber < wanted;
      });
  return found != bound && (*found)->dpt.subNumber == sub ? found : nullptr;
}

const DptValueEntry& NotFoundEntry() {
  // Created on the first miss (thread-safe one-time initialisation), kept until exit.
  static const DptValueEntry notFound(KNXDPT{0, 0, 0}, tvtEmpty, TevDP::tstGeneric,
                                      std::make_unique<KnxConverterDefault>());
  return notFound;
}

// A miss, said as the lookup: for main.sub when the main number has no entries or main.0 was
// asked, else for main.x. Out of the lookup's way.
__attribute__((noinline, cold)) const DptValueEntry& NotFound(const KNXDPT& dpt, bool ofSubNumber,
                                                              const LogSite& site) {
  if (ofSubNumber) {
    QUOR_LOG_ERROR_AT(site, "No Entry found for DPT = " << dpt.mainNumber << "." << dpt.subNumber);
  } else {
    QUOR_LOG_ERROR_AT(site, "No Entry found for DPT = " << dpt.mainNumber << ".x");
  }
  return NotFoundEntry();
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

// Kept for the ABI: the lookups use EntriesOf.
std::pair<DptValueMap::Sorted::const_iterator, DptValueMap::Sorted::const_iterator>
DptValueMap::EntriesOfMain(unsigned short mainNumber) const {
  const auto [first, last] = EntriesOf(m_sorted, m_firstOfMain, m_indexLimit, mainNumber);
  return {m_sorted.begin() + (first - m_sorted.data()),
          m_sorted.begin() + (last - m_sorted.data())};
}

const DptValueEntry& DptValueMap::GetEntry(const KNXDPT& dpt) const {
  const auto [first, last] = EntriesOf(m_sorted, m_firstOfMain, m_indexLimit, dpt.mainNumber);
  if (const EntryPointer exact = FindSub(first, last, dpt.subNumber)) {
    return **exact;
  }
  // The main.x entry stands for every sub number without an entry of its own.
  if (first != last && dpt.subNumber != 0 && (*first)->dpt.subNumber == 0) {
    return **first;
  }
  return NotFound(dpt, first == last || dpt.subNumber == 0, QUOR_LOG_SITE);
}

bool DptValueMap::Contains(unsigned short mainNumber, unsigned short subNumber) const {
  const auto [first, last] = EntriesOf(m_sorted, m_firstOfMain, m_indexLimit, mainNumber);
  return FindSub(first, last, subNumber) != nullptr;
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
  const DptValueEntry* entry = nullptr;
  if (m_inline.size() < kInlineEntries) {
    entry = &m_inline.emplace_back(dpt, tvt, tst, std::move(clone));
  } else {
    entry = &m_overflow.emplace_back(dpt, tvt, tst, std::move(clone));
  }
  m_sorted.insert(position, entry);

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
