#include "runtime/common_base.h"

#include <cstdlib>

#include "runtime/app_instance.h"

namespace {

void* AllocOrExit(std::size_t size) {
  void* memory = vexo::TheMemManager().Alloc(size);
  if (memory == nullptr) std::exit(-1);
  return memory;
}

}  // namespace

void* CPelCommonBaseWithMemManager::Alloc(std::size_t size) { return AllocOrExit(size); }

void* CPelCommonBaseWithMemManager::TryAlloc(std::size_t size) { return vexo::TheMemManager().Alloc(size); }

void* CPelCommonBaseWithMemManager::Realloc(void* pointer, std::size_t size) {
  void* memory = vexo::TheMemManager().Realloc(pointer, size);
  if (memory == nullptr) std::exit(-1);
  return memory;
}

void CPelCommonBaseWithMemManager::Free(void* pointer) { vexo::TheMemManager().Free(pointer); }

CPoolMem& CPelCommonBaseWithMemManager::GetMemManager() { return vexo::TheMemManager(); }

void* CPelCommonBaseWithMemManager::operator new(std::size_t size) { return AllocOrExit(size); }

void* CPelCommonBaseWithMemManager::operator new[](std::size_t size) { return AllocOrExit(size); }

void CPelCommonBaseWithMemManager::operator delete(void* pointer) { vexo::TheMemManager().Free(pointer); }

void CPelCommonBaseWithMemManager::operator delete[](void* pointer) { vexo::TheMemManager().Free(pointer); }
