#pragma once

#include <cstdint>
#include <exception>
#include <thread>

namespace mivora {

// Runs work(from, to) over [0, n) as two halves at once, the first half on a second thread.
// For work whose parts stand alone, so the result is the one a single pass gives. An exception
// from either half is thrown here once both have ended.
template <typename Work>
void InTwoHalves(std::int64_t n, Work&& work) {
  const std::int64_t mid = n / 2;
  std::exception_ptr failed;
  std::thread first([&] {
    try {
      work(std::int64_t{0}, mid);
    } catch (...) {
      failed = std::current_exception();
    }
  });
  try {
    work(mid, n);
  } catch (...) {
    first.join();
    throw;
  }
  first.join();
  if (failed) std::rethrow_exception(failed);
}

}  // namespace mivora
