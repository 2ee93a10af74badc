#pragma once
// A converter whose clones report to one shared probe, so tests see what the core hands on.

#include <stdexcept>
#include <string>

#include <KnxStack/GroupValue.h>
#include <KnxStack/KnxDpt.h>
#include <TevValue/TevValue.h>

#include "QuorObjectModel/KnxConverter.h"

namespace QuorTest {

struct ConverterProbe {
  enum class Throw { Nothing, GroupValueException, OtherException };

  bool result = true;
  Throw throws = Throw::Nothing;
  bool cloneToNull = false;

  int toCalls = 0;
  int fromCalls = 0;
  int clones = 0;
  KNXDPT lastDpt{0, 0, 0};
  TevValueType lastTvt = tvtEmpty;
  KnxStack::GroupValue lastGroup;
};

class FakeConverter final : public Quor::KnxConverter {
 public:
  explicit FakeConverter(ConverterProbe& probe) : m_probe(&probe) {}

  bool ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value, KnxStack::GroupValue& group) override {
    ++m_probe->toCalls;
    m_probe->lastDpt = dpt;
    m_probe->lastTvt = value.tvt;
    static_cast<void>(group);
    Raise();
    return m_probe->result;
  }

  bool FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group,
                    TEVVALUE& value) override {
    ++m_probe->fromCalls;
    m_probe->lastDpt = dpt;
    m_probe->lastTvt = value.tvt;
    m_probe->lastGroup = group;
    Raise();
    return m_probe->result;
  }

  KnxConverter* Clone() const override {
    ++m_probe->clones;
    return m_probe->cloneToNull ? nullptr : new FakeConverter(*this);
  }

 private:
  void Raise() const {
    switch (m_probe->throws) {
      case ConverterProbe::Throw::GroupValueException:
        throw KnxStack::GroupValueException("raw data too short");
      case ConverterProbe::Throw::OtherException:
        throw std::logic_error("not a group value fault");
      case ConverterProbe::Throw::Nothing:
        break;
    }
  }

  ConverterProbe* m_probe;
};

}  // namespace QuorTest
