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

// A big block is taken over by moving its pages in, wherever the seam falls in a page; the
// block then grows, shrinks and reads zeros past its values as any other.
TEST(LargeVector, AppendTakingKeepsEveryValueWhereverTheSeamFalls) {
  using Words = LargeVector<std::uint64_t>;
  constexpr std::size_t kPerPage = 4096 / sizeof(std::uint64_t);
  constexpr std::size_t kTaken = Words::kMappedBytes / sizeof(std::uint64_t) * 2 + 3;
  for (const std::size_t before : {std::size_t{0}, std::size_t{1}, kPerPage, 300 * kPerPage + 1,
                                   301 * kPerPage - 1, kTaken}) {
    for (const std::size_t count : {std::size_t{5}, kTaken}) {
      SCOPED_TRACE(::testing::Message() << before << " + " << count);
      Words v;
      for (std::size_t i = 0; i < before; ++i) v.push_back(i);
      Words other;
      for (std::size_t i = 0; i < count; ++i) other.push_back(1'000'000 + i);
      v.AppendTaking(std::move(other), [](std::uint64_t x) { return x + 1; });
      EXPECT_TRUE(other.empty());
      ASSERT_EQ(v.size(), before + count);
      auto check = [&](std::size_t upto) {
        for (std::size_t i = 0; i < upto; ++i)
          ASSERT_EQ(v[i], i < before ? i : 1'000'001 + (i - before)) << i;
      };
      check(v.size());
      // Growing past the room copies a block made of two mappings.
      const std::size_t full = v.size();
      v.resize(v.capacity() + 1, 0);
      for (std::size_t i = full; i < v.size(); ++i) ASSERT_EQ(v[i], 0u) << i;
      check(full);
      v.resize(before + 2);
      v.shrink_to_fit();
      v.resize(before + 2 + 3 * kPerPage, 0);
      for (std::size_t i = before + 2; i < v.size(); ++i) ASSERT_EQ(v[i], 0u) << i;
      check(before + 2);
    }
  }
  // Bytes, moved unchanged behind a seam one byte short of a page.
  LargeVector<char> text(4095, 'a');
  LargeVector<char> more(LargeVector<char>::kMappedBytes + 7, 'b');
  more[0] = 'c';
  text.AppendTaking(std::move(more));
  ASSERT_EQ(text.size(), 4095 + LargeVector<char>::kMappedBytes + 7);
  EXPECT_EQ(text[4094], 'a');
  EXPECT_EQ(text[4095], 'c');
  EXPECT_EQ(text[4096], 'b');
  EXPECT_EQ(text.back(), 'b');
}

}  // namespace
}  // namespace mivora::testing
