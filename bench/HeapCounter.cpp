// The replaced global allocation functions behind HeapCounter.h. Each block
// is counted by its usable size, which free sees the same as malloc gave,
// so that a block allocated before the start and freed after it subtracts
// exactly what it would have added.
#include "HeapCounter.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace vorn::bench {
namespace {

std::atomic<bool> counting{false};
std::atomic<int64_t> held{0};
std::atomic<int64_t> peak{0};
std::atomic<int64_t> allocations{0};

void Allocated(void* block) {
  if (!counting.load(std::memory_order_relaxed)) return;
  allocations.fetch_add(1, std::memory_order_relaxed);
  const auto size = static_cast<int64_t>(malloc_usable_size(block));
  const int64_t now = held.fetch_add(size, std::memory_order_relaxed) + size;
  int64_t highest = peak.load(std::memory_order_relaxed);
  while (now > highest && !peak.compare_exchange_weak(highest, now, std::memory_order_relaxed)) {
  }
}

void Freed(void* block) {
  if (!counting.load(std::memory_order_relaxed)) return;
  held.fetch_sub(static_cast<int64_t>(malloc_usable_size(block)), std::memory_order_relaxed);
}

void* Allocate(std::size_t size) noexcept {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block != nullptr) Allocated(block);
  return block;
}

void Release(void* block) noexcept {
  if (block == nullptr) return;
  Freed(block);
  std::free(block);
}

}  // namespace

void StartHeapCount() {
  held.store(0, std::memory_order_relaxed);
  peak.store(0, std::memory_order_relaxed);
  allocations.store(0, std::memory_order_relaxed);
  counting.store(true, std::memory_order_relaxed);
}

void StopHeapCount() {
  counting.store(false, std::memory_order_relaxed);
}

int64_t HeapHeld() {
  return held.load(std::memory_order_relaxed);
}

int64_t HeapPeak() {
  return peak.load(std::memory_order_relaxed);
}

int64_t HeapAllocations() {
  return allocations.load(std::memory_order_relaxed);
}

}  // namespace vorn::bench

void* operator new(std::size_t size) {
  void* block = vorn::bench::Allocate(size);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}

void* operator new[](std::size_t size) {
  void* block = vorn::bench::Allocate(size);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return vorn::bench::Allocate(size);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return vorn::bench::Allocate(size);
}

void operator delete(void* block) noexcept {
  vorn::bench::Release(block);
}

void operator delete[](void* block) noexcept {
  vorn::bench::Release(block);
}

void operator delete(void* block, std::size_t) noexcept {
  vorn::bench::Release(block);
}

void operator delete[](void* block, std::size_t) noexcept {
  vorn::bench::Release(block);
}

void operator delete(void* block, const std::nothrow_t&) noexcept {
  vorn::bench::Release(block);
}

void operator delete[](void* block, const std::nothrow_t&) noexcept {
  vorn::bench::Release(block);
}
