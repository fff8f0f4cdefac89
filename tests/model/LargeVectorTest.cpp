#include "model/LargeVector.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>

namespace mivora::testing {
namespace {

// Sizes on both sides of the block that comes straight from the system.
constexpr std::size_t kBig = LargeVector<std::int32_t>::kMappedBytes / sizeof(std::int32_t) * 3;

TEST(LargeVector, KeepsValuesAsItGrowsPastTheMappedSizeAndShrinks) {
  LargeVector<std::int32_t> v;
  for (std::size_t i = 0; i < kBig; ++i) v.push_back(static_cast<std::int32_t>(i));
  ASSERT_EQ(v.size(), kBig);
  for (std::size_t i = 0; i < kBig; i += 4099) ASSERT_EQ(v[i], static_cast<std::int32_t>(i));
  v.resize(kBig / 2);
  v.shrink_to_fit();
  EXPECT_LT(v.capacity(), kBig);
  EXPECT_GE(v.capacity(), kBig / 2);
  EXPECT_EQ(v.back(), static_cast<std::int32_t>(kBig / 2 - 1));
  // Appending its own values while it grows.
  v.append(v.data(), v.size());
  EXPECT_EQ(v.size(), kBig / 2 * 2);
  EXPECT_EQ(v[kBig / 2 + 5], 5);
  v.push_back(v[3]);
  EXPECT_EQ(v.back(), 3);
  // A mapped block shrunk below the mapped size stays mapped, grows and is given back.
  v.resize(10);
  v.shrink_to_fit();
  EXPECT_EQ(v[9], 9);
  for (int i = 0; i < 100000; ++i) v.push_back(i);
  EXPECT_EQ(v.back(), 99999);
}

// Zeros that are not written must still read as zero where values were written before.
TEST(LargeVector, ZerosReadAsZeroAfterWrites) {
  for (const std::size_t n : {std::size_t{100}, kBig}) {
    SCOPED_TRACE(n);
    LargeVector<std::int32_t> v(n, 0);
    for (std::size_t i = 0; i < n; ++i) EXPECT_EQ(v[i], 0) << i;
    std::iota(v.begin(), v.end(), 1);
    v.resize(n / 3);
    v.resize(n, 0);
    for (std::size_t i = n / 3; i < n; ++i) ASSERT_EQ(v[i], 0) << i;
    v.assign(n / 2, -1);
    v.assign(n, 0);
    for (std::size_t i = 0; i < n; ++i) ASSERT_EQ(v[i], 0) << i;
    v.shrink_to_fit();
    v.resize(2 * n, 0);
    for (std::size_t i = 0; i < 2 * n; ++i) ASSERT_EQ(v[i], 0) << i;
  }
}

TEST(LargeVector, CopiesAndMovesAreIndependent) {
  LargeVector<std::uint64_t> a(kBig, 7);
  LargeVector<std::uint64_t> b(a);
  b[0] = 9;
  EXPECT_EQ(a[0], 7u);
  LargeVector<std::uint64_t> c(std::move(b));
  EXPECT_EQ(c[0], 9u);
  EXPECT_TRUE(b.empty());
  a = c;
  EXPECT_EQ(a[0], 9u);
  EXPECT_EQ(a[kBig - 1], 7u);
  const std::int32_t values[] = {3, 1, 2};
  const LargeVector<std::int32_t> d(std::begin(values), std::end(values));
  EXPECT_EQ(d.size(), 3u);
  EXPECT_EQ(d[2], 2);
}

}  // namespace
}  // namespace mivora::testing
