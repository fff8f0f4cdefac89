#pragma once

#include <sys/mman.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <new>
#include <type_traits>
#include <utility>

namespace mivora {

// A vector of plain values for the big arrays of tables and searches. A block of a megabyte
// or more comes straight from the system and grows and shrinks in place or by remapping its
// pages, not by copying them (except once it has taken over another block's pages, see
// AppendTaking); and its fresh pages are known to read as zero, so sizing it with zeros
// touches no memory until it is written. On a machine where first touching memory is slow,
// that is most of the cost of a big table. Huge pages are not requested: faulting them in can
// stall on compacting memory, which cost more than it saved (system time of 1-2 s against
// 0.15 s for a million-row search).
template <typename T>
class LargeVector {
  static_assert(std::is_trivially_copyable_v<T>);

 public:
  using value_type = T;
  using size_type = std::size_t;
  using iterator = T*;
  using const_iterator = const T*;

  static constexpr std::size_t kMappedBytes = std::size_t{1} << 20;

  LargeVector() = default;
  explicit LargeVector(std::size_t n) { resize(n); }
  LargeVector(std::size_t n, const T& value) { resize(n, value); }
  template <std::input_iterator It>
  LargeVector(It first, It last) {
    if constexpr (std::forward_iterator<It>)
      reserve(static_cast<std::size_t>(std::distance(first, last)));
    for (; first != last; ++first) push_back(*first);
  }
  LargeVector(const LargeVector& other) { append(other.data_, other.size_); }
  LargeVector(LargeVector&& other) noexcept { swap(other); }
  LargeVector& operator=(const LargeVector& other) {
    if (this != &other) {
      clear();
      append(other.data_, other.size_);
    }
    return *this;
  }
  LargeVector& operator=(LargeVector&& other) noexcept {
    LargeVector gone(std::move(*this));
    swap(other);
    return *this;
  }
  ~LargeVector() { Release(); }

  void swap(LargeVector& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
    std::swap(capacity_, other.capacity_);
    std::swap(clean_, other.clean_);
    std::swap(mapped_, other.mapped_);
  }

  std::size_t size() const { return size_; }
  std::size_t capacity() const { return capacity_; }
  bool empty() const { return size_ == 0; }
  T* data() { return data_; }
  const T* data() const { return data_; }
  T* begin() { return data_; }
  T* end() { return data_ + size_; }
  const T* begin() const { return data_; }
  const T* end() const { return data_ + size_; }
  T& operator[](std::size_t i) { return data_[i]; }
  const T& operator[](std::size_t i) const { return data_[i]; }
  T& back() { return data_[size_ - 1]; }
  const T& back() const { return data_[size_ - 1]; }

  void reserve(std::size_t n) {
    if (n > capacity_) Reallocate(n);
  }
  void push_back(const T& value) {
    const T copy = value;  // the value may live in this vector
    if (size_ == capacity_) Reallocate(Grown(size_ + 1));
    data_[size_++] = copy;
    clean_ = std::max(clean_, size_);
  }
  void append(const T* values, std::size_t count) {
    if (count == 0) return;
    if (size_ + count > capacity_) {
      // The values may live in this vector, which may move.
      if (values >= data_ && values < data_ + size_) {
        const std::size_t at = static_cast<std::size_t>(values - data_);
        Reallocate(Grown(size_ + count));
        values = data_ + at;
      } else {
        Reallocate(Grown(size_ + count));
      }
    }
    std::memmove(data_ + size_, values, count * sizeof(T));
    size_ += count;
    clean_ = std::max(clean_, size_);
  }
  // AppendTaking's fix when the values are taken as they are (moved with memmove).
  struct Unchanged {
    T operator()(const T& value) const { return value; }
  };
  // Appends the values of `other`, each as fix(value) gives it, and leaves `other` empty.
  // When both are big mapped blocks, the pages of `other` are moved in behind these values
  // instead of being copied into fresh ones (which is mostly the cost of first touching
  // them): its values are shifted to the place the seam has in a page, and the seam page gets
  // this block's values before the seam.
  template <typename Fix = Unchanged>
  void AppendTaking(LargeVector&& other, Fix fix = {}) {
    constexpr bool kUnchanged = std::is_same_v<Fix, Unchanged>;
    LargeVector taken(std::move(other));
    const std::size_t n = taken.size_;
    if (n == 0) return;
    reserve(size_ + n);
    const std::size_t at = size_ * sizeof(T);
    const std::size_t head = at % kPage;
    if (mapped_ && taken.mapped_ && n * sizeof(T) >= kMappedBytes && kPage % sizeof(T) == 0) {
      const std::size_t shift = head / sizeof(T);
      taken.reserve(n + shift);
      if constexpr (kUnchanged) {
        std::memmove(taken.data_ + shift, taken.data_, n * sizeof(T));
      } else {
        // Back to front, as the values move up within the same block.
        for (std::size_t i = n; i-- > 0;) taken.data_[shift + i] = fix(taken.data_[i]);
      }
      char* const block = reinterpret_cast<char*>(taken.data_);
      std::memcpy(block, reinterpret_cast<const char*>(data_) + (at - head), head);
      const std::size_t used = head + n * sizeof(T);
      const std::size_t bytes = PageRounded(used);
      std::memset(block + used, 0, bytes - used);  // past the values, the page reads as zero
      void* target = reinterpret_cast<char*>(data_) + (at - head);
      if (mremap(block, taken.capacity_ * sizeof(T), bytes, MREMAP_MAYMOVE | MREMAP_FIXED,
                 target) != MAP_FAILED) {
        taken.data_ = nullptr;  // its pages are this block's now
        taken.size_ = taken.capacity_ = taken.clean_ = 0;
        taken.mapped_ = false;
      } else {
        std::memcpy(data_ + size_, taken.data_ + shift, n * sizeof(T));
      }
    } else if constexpr (kUnchanged) {
      std::memcpy(data_ + size_, taken.data_, n * sizeof(T));
    } else {
      for (std::size_t i = 0; i < n; ++i) data_[size_ + i] = fix(taken.data_[i]);
    }
    size_ += n;
    clean_ = std::max(clean_, size_);
  }
  void resize(std::size_t n) { resize(n, T{}); }
  void resize(std::size_t n, const T& value) {
    const T copy = value;
    if (n > capacity_) Reallocate(std::max(n, Grown(n)));
    if (n > size_) {
      // Past clean_ the values are still zero from the system: nothing to write for zero.
      const std::size_t to = IsZero(copy) ? std::min(n, clean_) : n;
      for (std::size_t i = size_; i < to; ++i) data_[i] = copy;
      clean_ = std::max(clean_, n);
    }
    size_ = n;
  }
  void assign(std::size_t n, const T& value) {
    const T copy = value;
    clear();
    resize(n, copy);
  }
  void clear() { size_ = 0; }

  // Has the system map the size's pages now, in one go, instead of one fault at a time as
  // they are first written: for an array written all over at random, such as a hash table.
  // Only a hint; without it the pages come as before.
  void Prefault() {
#ifdef MADV_POPULATE_WRITE
    if (mapped_ && size_ != 0) madvise(data_, PageRounded(size_ * sizeof(T)), MADV_POPULATE_WRITE);
#endif
  }

  // Gives back the room beyond the size; a mapped block keeps its pages where they are.
  void shrink_to_fit() {
    if (capacity_ == size_) return;
    if (size_ == 0) {
      Release();
      data_ = nullptr;
      capacity_ = clean_ = 0;
      mapped_ = false;
      return;
    }
    if (!mapped_) {
      Reallocate(size_);
      return;
    }
    const std::size_t bytes = PageRounded(size_ * sizeof(T));
    if (bytes >= capacity_ * sizeof(T)) return;
    void* p = mremap(data_, capacity_ * sizeof(T), bytes, 0);
    if (p == MAP_FAILED) return;  // keeping the room is harmless
    capacity_ = bytes / sizeof(T);
    clean_ = std::min(clean_, capacity_);
  }

 private:
  static bool IsZero(const T& value) {
    unsigned char bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    return std::all_of(bytes, bytes + sizeof(T), [](unsigned char b) { return b == 0; });
  }
  static constexpr std::size_t kPage = 4096;
  static std::size_t PageRounded(std::size_t bytes) { return (bytes + kPage - 1) / kPage * kPage; }
  std::size_t Grown(std::size_t needed) const { return std::max(needed, capacity_ * 2); }

  void Release() {
    if (data_ == nullptr) return;
    if (mapped_)
      munmap(data_, capacity_ * sizeof(T));
    else
      std::free(data_);
  }

  // Moves the values into room for n (at least the size). Small blocks are copied; a mapped
  // block is remapped, its pages moved rather than copied. Only ever grows a mapped block.
  void Reallocate(std::size_t n) {
    n = std::max(n, size_);
    if (mapped_ || n * sizeof(T) >= kMappedBytes) {
      const std::size_t bytes = PageRounded(n * sizeof(T));
      // A block holding pages taken from another is two mappings, which cannot be remapped
      // as one: it is copied instead.
      void* p = mapped_ ? mremap(data_, capacity_ * sizeof(T), bytes, MREMAP_MAYMOVE) : MAP_FAILED;
      if (p == MAP_FAILED) {
        p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED) throw std::bad_alloc();
        if (size_ != 0) std::memcpy(p, data_, size_ * sizeof(T));
        Release();
        clean_ = size_;
        mapped_ = true;
      }
      data_ = static_cast<T*>(p);
      capacity_ = bytes / sizeof(T);
      return;
    }
    // A small block (a mapped one stays mapped, however it shrinks).
    if (n == 0) n = 1;
    T* p = static_cast<T*>(std::realloc(data_, n * sizeof(T)));
    if (p == nullptr) throw std::bad_alloc();
    data_ = p;
    capacity_ = n;
    // A small block's room holds whatever the heap left there.
    clean_ = capacity_;
  }

  T* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
  // From here on the values are zero as the system gave them (for a small block: capacity_).
  std::size_t clean_ = 0;
  bool mapped_ = false;  // data_ comes from mmap, else from malloc
};

}  // namespace mivora
