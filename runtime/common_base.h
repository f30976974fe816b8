// Roots of the runtime's class tree: the plain root and the root whose first virtual slots route all memory
// requests (and new/delete of its objects) to the process's memory manager.
#pragma once

#include <cstddef>

#include "runtime/pool_mem.h"

// Root interface; no operations of its own.
class CPelCommonBase {
 protected:
  CPelCommonBase() = default;
  ~CPelCommonBase() = default;
};

// Slots 0-4: the memory operations of every runtime object. Objects of this tree are created with new
// (served by the memory manager: a pool block when the object fits one, else the process heap) and are
// never deleted through a pointer to this class.
class CPelCommonBaseWithMemManager : public CPelCommonBase {
 public:
  // Slot 0: memory from the manager; ends the process with exit code -1 when the heap fails.
  virtual void* Alloc(std::size_t size);
  // Slot 1: memory from the manager; null when the heap fails.
  virtual void* TryAlloc(std::size_t size);
  // Slot 2: resizes memory from Alloc (null: allocates); ends the process with exit code -1 when the
  // heap fails.
  virtual void* Realloc(void* pointer, std::size_t size);
  // Slot 3: gives memory back to the manager; null is ignored.
  virtual void Free(void* pointer);
  // Slot 4: the process-wide memory manager (owned by the application instance).
  virtual CPoolMem& GetMemManager();

  // Object storage from the memory manager; ends the process with exit code -1 when the heap fails.
  static void* operator new(std::size_t size);
  static void* operator new[](std::size_t size);
  static void operator delete(void* pointer);
  static void operator delete[](void* pointer);

 protected:
  CPelCommonBaseWithMemManager() = default;
  CPelCommonBaseWithMemManager(const CPelCommonBaseWithMemManager&) = default;
  CPelCommonBaseWithMemManager& operator=(const CPelCommonBaseWithMemManager&) = default;
  ~CPelCommonBaseWithMemManager() = default;
};
