#include "runtime/object_bases.h"

void* CPelBaseDataType::GetValueAddress() { return nullptr; }
