#pragma once

#include <cstdint>

// Heap allocations made by the whole process so far, counted by its replaced operator new.
std::uint64_t HeapAllocations();
