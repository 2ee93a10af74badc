#pragma once
/// \file
/// A small copyable, type-erased nullary callable.
/// \ingroup helpers

#include <memory>
#include <type_traits>
#include <utility>

#include <Quor/Assert.h>

namespace Quor {

/// A copyable, type-erased callable; only the nullary form function<R()> exists.
/// \ingroup helpers
template <class Signature>
class function;

/// A copyable, type-erased nullary callable. Copies share the one stored callable: passing a
/// predicate around never clones it. Calling it from several threads at once is as safe as
/// calling the stored callable so.
/// \ingroup helpers
template <class R>
class function<R()> {
 public:
  /// Empty: calling it is a contract violation.
  function() noexcept = default;

  /// Stores callable; one allocation for it and the shared pointer's control block.
  template <class F, class = std::enable_if_t<!std::is_same<std::decay_t<F>, function>::value>>
  function(F&& callable)  // NOLINT(google-explicit-constructor): a lambda should just convert
      : m_storage(std::make_shared<Storage<std::decay_t<F>>>(std::forward<F>(callable))) {}

  /// Calls the stored callable; an empty function is reported through QUOR_ASSERT2.
  R operator()() const {
    QUOR_ASSERT2(m_storage);
    return m_storage->Invoke();
  }

  /// Whether a callable is stored.
  explicit operator bool() const noexcept { return static_cast<bool>(m_storage); }

 private:
  class BasicStorage {
   public:
    virtual ~BasicStorage() = default;
    virtual R Invoke() = 0;
  };

  template <class F>
  class Storage final : public BasicStorage {
   public:
    // Never copied (it lives behind the shared_ptr), so the forwarding constructor hides nothing.
    template <class G>
    explicit Storage(G&& callable)  // NOLINT(bugprone-forwarding-reference-overload)
        : m_callable(std::forward<G>(callable)) {}
    R Invoke() override { return m_callable(); }

   private:
    F m_callable;
  };

  std::shared_ptr<BasicStorage> m_storage;
};

/// A predicate, as the request engine takes it.
using BoolReader = function<bool()>;

}  // namespace Quor
