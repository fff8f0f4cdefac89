#pragma once

#include <sys/mman.h>

#include <cstddef>
#include <new>

namespace mivora {

// An allocator for the big contiguous arrays of a table: blocks of a megabyte or more come
// straight from the system with transparent huge pages requested, so filling a million-row
// grid takes a few hundred page faults instead of tens of thousands.
template <typename T>
struct LargeAllocator {
  using value_type = T;
  static constexpr std::size_t kLargeBytes = std::size_t{1} << 20;

  LargeAllocator() = default;
  template <typename U>
  LargeAllocator(const LargeAllocator<U>&) {}

  T* allocate(std::size_t n) {
    const std::size_t bytes = n * sizeof(T);
    if (bytes < kLargeBytes) return static_cast<T*>(::operator new(bytes));
    void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) throw std::bad_alloc();
    madvise(p, bytes, MADV_HUGEPAGE);
    return static_cast<T*>(p);
  }

  void deallocate(T* p, std::size_t n) {
    const std::size_t bytes = n * sizeof(T);
    if (bytes < kLargeBytes)
      ::operator delete(p);
    else
      munmap(p, bytes);
  }

  template <typename U>
  bool operator==(const LargeAllocator<U>&) const {
    return true;
  }
};

}  // namespace mivora
