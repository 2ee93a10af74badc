#include <memory>

#include <gtest/gtest.h>

#include <Quor/Function.h>

namespace {

TEST(Function, CopiesShareOneCallable) {
  int calls = 0;
  const Quor::function<int()> counter = [calls]() mutable { return ++calls; };
  const Quor::function<int()> copy =
      counter;  // NOLINT(performance-unnecessary-copy-initialization)
  EXPECT_EQ(counter(), 1);
  EXPECT_EQ(copy(), 2);
  EXPECT_EQ(counter(), 3);
}

TEST(Function, HoldsTheCallableByValueAndReleasesItWithTheLastCopy) {
  auto token = std::make_shared<int>(7);
  std::weak_ptr<int> watch = token;
  {
    Quor::function<int()> reader = [token] { return *token; };
    token.reset();
    const Quor::function<int()> copy = reader;
    reader = Quor::function<int()>();
    EXPECT_FALSE(watch.expired());
    EXPECT_EQ(copy(), 7);
  }
  EXPECT_TRUE(watch.expired());
}

TEST(FunctionDeathTest, CallingAnEmptyFunctionIsReportedAsFailedCheck) {
  const Quor::BoolReader empty;
  EXPECT_DEATH(empty(), "operator\\(\\).*QUOR_ASSERT2\\(m_storage\\) failed");
}

}  // namespace
