// The heap a benchmark's work takes: while counting is on, every block the
// program allocates or frees through operator new and delete (the library,
// the embedded server and the benchmarks themselves) moves a running total,
// and the highest total is kept. SQLite's own allocations (its page cache)
// go through malloc and are not counted: they are bounded by its cache
// size, whatever the row count.
//
// Counting is off by default, so that the other benchmarks pay one load of
// a flag per allocation and nothing more.
#pragma once

#include <cstdint>

namespace vorn::bench {

// Starts counting from zero: the figures that follow are what was
// allocated and not yet freed since this call (negative when more was
// freed than allocated).
void StartHeapCount();
// Stops counting; the figures stay as they were.
void StopHeapCount();
// The bytes held now, and the most held at any moment, since the start.
int64_t HeapHeld();
int64_t HeapPeak();
// The blocks allocated since the start.
int64_t HeapAllocations();

}  // namespace vorn::bench
