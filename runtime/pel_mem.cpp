#include "runtime/pel_mem.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "runtime/binary_stream.h"
#include "runtime/w_string.h"

namespace {

// Bytes shown by DumpTo when its limit is 0.
constexpr std::int32_t kDefaultDumpLimit = 1024;
constexpr int kDumpRowBytes = 16;
// LoadFrom grows the buffer as bytes arrive, so a corrupt length costs no more memory than the stream
// really holds: first this much, then as much again as has been read.
constexpr std::int32_t kFirstLoadPiece = 0x10000;

// A byte count no buffer of a 32-bit process can hold ends the process like any exhausted heap.
std::int32_t CheckedSize(std::int64_t size) {
  if (size > INT32_MAX) std::exit(-1);
  return static_cast<std::int32_t>(size);
}

// The byte size of `units` UTF-16 units.
std::int32_t UnitBytes(std::size_t units) {
  if (units > INT32_MAX / sizeof(wchar_t)) std::exit(-1);
  return static_cast<std::int32_t>(units * sizeof(wchar_t));
}

// Copies `count` bytes from `source`, or writes zeros when it is null. Small sizes become single stores.
void CopyOrZero(std::uint8_t* target, const void* source, std::int32_t count) {
  if (source == nullptr) {
    std::memset(target, 0, static_cast<std::size_t>(count));
    return;
  }
  switch (count) {
    case 1: std::memcpy(target, source, 1); break;
    case 2: std::memcpy(target, source, 2); break;
    case 4: std::memcpy(target, source, 4); break;
    case 8: std::memcpy(target, source, 8); break;
    default: std::memcpy(target, source, static_cast<std::size_t>(count)); break;
  }
}

void AppendHexByte(wchar_t*& out, std::uint8_t byte) {
  static constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
  *out++ = kDigits[byte >> 4];
  *out++ = kDigits[byte & 0xF];
}

}  // namespace

CPelMem::CPelMem(const CPelMem& other) : CPelObject() { Assign(other); }

CPelMem::CPelMem(CPelMem&& other) noexcept
    : CPelObject(other), data_(other.data_), capacity_(other.capacity_), length_(other.length_), step_(other.step_) {
  other.data_ = nullptr;
  other.capacity_ = 0;
  other.length_ = 0;
}

CPelMem& CPelMem::operator=(const CPelMem& other) {
  Assign(other);
  return *this;
}

CPelMem::~CPelMem() {
  if (data_ != nullptr) Free(data_);
}

void* CPelMem::GetData() { return length_ > 0 ? data_ : nullptr; }

const void* CPelMem::GetData() const { return length_ > 0 ? data_ : nullptr; }

bool CPelMem::Holds(const void* pointer) const {
  const auto address = reinterpret_cast<std::uintptr_t>(pointer);
  const auto start = reinterpret_cast<std::uintptr_t>(data_);
  return data_ != nullptr && address >= start && address - start < static_cast<std::uintptr_t>(capacity_);
}

void* CPelMem::SetLength(std::int32_t length) {
  if (length < 0 || length == length_) return data_;
  if (length == 0) {
    Free(data_);
    data_ = nullptr;
    capacity_ = 0;
    length_ = 0;
    return nullptr;
  }
  const std::int32_t step = EffectiveStep();
  if (data_ == nullptr || capacity_ < length || capacity_ - length > step) {
    const std::int32_t capacity = CheckedSize(std::int64_t{step} + length - length % step);
    data_ = static_cast<std::uint8_t*>(data_ == nullptr ? Alloc(static_cast<std::size_t>(capacity))
                                                        : Realloc(data_, static_cast<std::size_t>(capacity)));
    capacity_ = capacity;
  }
  length_ = length;
  return data_;
}

std::uint8_t* CPelMem::Extend(std::int32_t count) {
  const std::int32_t old_length = length_;
  if (data_ != nullptr && capacity_ - length_ >= count) {
    length_ += count;
  } else {
    SetLength(CheckedSize(std::int64_t{length_} + count));
  }
  return data_ + old_length;
}

void CPelMem::Assign(const CPelMem& other) {
  if (&other == this) return;
  CPelObject::operator=(other);
  AssignBytes(other.data_, other.length_);
}

void CPelMem::AssignBytes(const void* source, std::int32_t count) {
  if (count > 0 && Holds(source)) {
    CPelMem copy;
    copy.Append(source, count);
    AssignBytes(copy.data_, count);
    return;
  }
  length_ = 0;
  if (count > 0) CopyOrZero(Extend(count), source, count);
}

void CPelMem::SwapStorage(CPelMem& other) {
  std::swap(data_, other.data_);
  std::swap(capacity_, other.capacity_);
  std::swap(length_, other.length_);
}

bool CPelMem::TryReserve(std::int32_t capacity) {
  if (capacity <= capacity_) return true;
  const auto size = static_cast<std::size_t>(capacity);
  void* storage = data_ == nullptr ? TryAlloc(size) : GetMemManager().Realloc(data_, size);
  if (storage == nullptr) return false;
  data_ = static_cast<std::uint8_t*>(storage);
  capacity_ = capacity;
  return true;
}

void CPelMem::Append(const void* source, std::int32_t count) { Insert(length_, source, count); }

void CPelMem::AppendWideChars(const wchar_t* text) {
  if (text == nullptr || text[0] == L'\0') return;
  Append(text, UnitBytes(std::wcslen(text)));
}

void CPelMem::AppendWideString(const wchar_t* text) {
  if (text == nullptr || text[0] == L'\0') {
    const wchar_t terminator = L'\0';
    Append(&terminator, sizeof(terminator));
    return;
  }
  Append(text, UnitBytes(std::wcslen(text) + 1));
}

void CPelMem::Insert(std::int32_t position, const void* source, std::int32_t count) {
  if (count <= 0) return;
  if (Holds(source)) {
    CPelMem copy;
    copy.Append(source, count);
    Insert(position, copy.data_, count);
    return;
  }
  position = std::max(position, 0);
  if (position >= length_) {
    CopyOrZero(Extend(count), source, count);
    return;
  }
  const std::int32_t old_length = length_;
  Extend(count);
  std::memmove(data_ + position + count, data_ + position, static_cast<std::size_t>(old_length - position));
  CopyOrZero(data_ + position, source, count);
}

void CPelMem::ReplaceBytes(std::int32_t position, std::int32_t old_count, const void* source,
                           std::int32_t new_count) {
  if (new_count > 0 && Holds(source)) {
    CPelMem copy;
    copy.Append(source, new_count);
    ReplaceBytes(position, old_count, copy.data_, new_count);
    return;
  }
  position = std::clamp(position, 0, length_);
  if (old_count > length_ - position) old_count = length_ - position;
  if (old_count <= 0) {
    Insert(position, source, new_count);
    return;
  }
  if (new_count <= 0) {
    Remove(position, old_count);
    return;
  }
  const std::int32_t old_length = length_;
  const auto tail = static_cast<std::size_t>(old_length - position - old_count);
  if (new_count > old_count) {
    SetLength(CheckedSize(std::int64_t{old_length} + new_count - old_count));
    std::memmove(data_ + position + new_count, data_ + position + old_count, tail);
  } else if (new_count < old_count) {
    std::memmove(data_ + position + new_count, data_ + position + old_count, tail);
    SetLength(old_length + new_count - old_count);
  }
  CopyOrZero(data_ + position, source, new_count);
}

void CPelMem::Remove(std::int32_t position, std::int32_t count) {
  if (count <= 0) return;
  if (position < 0) {
    SetLength(length_ - count > 0 ? length_ - count : 0);
    return;
  }
  if (position >= length_) return;
  const std::int32_t tail = length_ - position;
  if (count < tail) {
    std::memmove(data_ + position, data_ + position + count, static_cast<std::size_t>(tail - count));
    SetLength(length_ - count);
  } else {
    SetLength(position);
  }
}

bool CPelMem::WriteToFile(const wchar_t* path) const {
  if (path == nullptr || path[0] == L'\0' || length_ < 0) return false;
  std::FILE* file = ::_wfopen(path, L"wb");
  if (file == nullptr) return false;
  const std::size_t length = static_cast<std::size_t>(length_);
  const std::size_t written = length > 0 ? std::fwrite(data_, 1, length, file) : 0;
  // A failed close means buffered bytes never reached the file.
  const bool closed = std::fclose(file) == 0;
  return written == length && closed;
}

void CPelMem::DumpTo(CWString& output, int limit) const {
  const std::int32_t shown = limit < 0 ? length_ : std::min(length_, limit == 0 ? kDefaultDumpLimit : limit);
  if (shown == length_) {
    output.AppendFormat(L"<字节集> 总共 %d 个字节:", length_);
  } else {
    output.AppendFormat(L"<字节集> 总共 %d 个字节,输出了 %d 个,还有 %d 个未被输出.", length_, shown,
                        length_ - shown);
  }
  // One row: "\r\n[" offset "]:", 16 × " XX", " | ", 16 characters.
  wchar_t row[3 + 8 + 2 + 3 * kDumpRowBytes + 3 + kDumpRowBytes + 1];
  for (std::int32_t offset = 0; offset < shown; offset += kDumpRowBytes) {
    const int count = std::min(kDumpRowBytes, static_cast<int>(shown - offset));
    wchar_t* out = row;
    *out++ = L'\r';
    *out++ = L'\n';
    *out++ = L'[';
    for (int shift = 24; shift >= 0; shift -= 8) AppendHexByte(out, static_cast<std::uint8_t>(offset >> shift));
    *out++ = L']';
    *out++ = L':';
    for (int i = 0; i < count; ++i) {
      *out++ = L' ';
      AppendHexByte(out, data_[offset + i]);
    }
    for (int i = count; i < kDumpRowBytes; ++i) {
      for (int pad = 0; pad < 3; ++pad) *out++ = L' ';
    }
    *out++ = L' ';
    *out++ = L'|';
    *out++ = L' ';
    for (int i = 0; i < count; ++i) {
      const std::uint8_t byte = data_[offset + i];
      *out++ = byte >= 0x20 && byte <= 0x7E ? static_cast<wchar_t>(byte) : L'.';
    }
    *out = L'\0';
    output.Append(row);
  }
}

void CPelMem::LoadFrom(vexo::BinaryStream& stream) {
  std::int32_t length = 0;
  if (!stream.ReadValue(length)) return;
  if (length < 0) {
    stream.SetError(vexo::BinaryStream::kShortRead);
    return;
  }
  LoadBytesFrom(stream, length);
}

void CPelMem::LoadBytesFrom(vexo::BinaryStream& stream, std::int32_t length) {
  std::int32_t loaded = 0;
  do {
    const std::int32_t piece = std::min(length - loaded, std::max(kFirstLoadPiece, loaded));
    SetLength(loaded + piece);
    if (piece > 0 && !stream.Read(data_ + loaded, static_cast<std::size_t>(piece))) {
      SetLength(0);
      return;
    }
    loaded += piece;
  } while (loaded < length);
}

void CPelMem::SaveTo(vexo::BinaryStream& stream) const {
  if (!stream.WriteValue(length_) || length_ == 0) return;
  stream.Write(data_, static_cast<std::size_t>(length_));
}

bool CPelMem::HasEqualFields(const CPelMem& other) const {
  return CPelObject::HasEqualFields(other) && length_ == other.length_ &&
         (length_ == 0 || std::memcmp(data_, other.data_, static_cast<std::size_t>(length_)) == 0);
}
