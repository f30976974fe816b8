// CPelMem: the runtime's growable byte buffer, with the one growth rule that every writer uses.
#pragma once

#include <cstdint>

#include "runtime/class_family.h"
#include "runtime/pel_object.h"

// Storage comes from the buffer's own memory slots (the memory manager) and is never shared. After a
// reallocation the capacity is the smallest multiple of the step strictly greater than the length asked
// for. Positions and counts are bytes; each operation says how it treats ones out of range. A buffer that
// cannot get memory ends the process with exit code -1 (TryReserve alone reports it instead). One thread
// at a time.
class CPelMem : public CPelObject {
  PEL_OBJECT_CLASS(CPelMem, CPelObject, "CPelMem")

  // Growth step after construction, and the step used while the step is 0 or negative.
  static constexpr std::int32_t kDefaultStep = 64;

  CPelMem() = default;
  // A buffer holding a copy of `other`'s flags, reserved word and bytes, with the default step.
  CPelMem(const CPelMem& other);
  // Takes `other`'s storage, flags and step; `other` is left empty.
  CPelMem(CPelMem&& other) noexcept;
  // Assign.
  CPelMem& operator=(const CPelMem& other);
  // Frees the storage.
  ~CPelMem() override;

  // The bytes when the length is positive, else null. Owned by the buffer; valid until it next changes.
  void* GetData();
  const void* GetData() const;
  // Bytes in use.
  std::int32_t GetLength() const { return length_; }
  // Bytes allocated (0 when no storage is held).
  std::int32_t GetCapacity() const { return capacity_; }
  // The growth step as set (64 after construction).
  std::int32_t GetStep() const { return step_; }
  // Sets the growth step for later reallocations (0 or negative: the default step).
  void SetStep(std::int32_t step) { step_ = step; }
  // Whether `pointer` points into the storage this buffer holds (used to detect a source that would move
  // while the buffer is edited).
  bool Holds(const void* pointer) const;

  // Sets the length by the growth rule and returns the storage (null after length 0, which frees it).
  // The bytes up to the smaller of the old and new lengths are kept; new bytes are not initialised.
  // A negative length changes nothing.
  void* SetLength(std::int32_t length);
  // Copies `other`'s flags word, reserved word and bytes; storage that is large enough is reused, never
  // shrunk. Assigning the buffer to itself changes nothing.
  void Assign(const CPelMem& other);
  // Replaces the bytes with `count` bytes from `source` (zeros when it is null), reusing storage that is
  // large enough; flags stay. A count of 0 or less leaves the buffer empty with its storage kept.
  void AssignBytes(const void* source, std::int32_t count);
  // Exchanges the storage (data, capacity, length) with `other`; flags and steps stay with each buffer.
  void SwapStorage(CPelMem& other);
  // Makes the storage hold exactly `capacity` bytes when it holds fewer, keeping the bytes, the length and
  // the step; for writers that size a buffer from an untrusted figure. Unlike every other operation it
  // does not end the process when memory runs out: it returns false and leaves the buffer as it was.
  // True (nothing changed) when the storage already holds `capacity` bytes. Appends that fit go into the
  // new room; the next reallocation by the growth rule sizes the storage again.
  bool TryReserve(std::int32_t capacity);

  // Appends `count` bytes from `source` (zeros when it is null); nothing when count <= 0.
  void Append(const void* source, std::int32_t count);
  // Appends the UTF-16 units of zero-terminated `text` without its terminator; nothing for null or empty.
  void AppendWideChars(const wchar_t* text);
  // Appends the units of zero-terminated `text` and one zero unit; null or empty appends the zero unit.
  void AppendWideString(const wchar_t* text);
  // Inserts `count` bytes from `source` (zeros when null) at `position`; a position at or past the end
  // appends, a negative one inserts at the start. Nothing when count <= 0.
  void Insert(std::int32_t position, const void* source, std::int32_t count);
  // Replaces the `old_count` bytes at `position` (cut at the end of the buffer) with `new_count` bytes from
  // `source` (zeros when null). The position is clamped to 0...length.
  void ReplaceBytes(std::int32_t position, std::int32_t old_count, const void* source, std::int32_t new_count);
  // Removes `count` bytes at `position`, or from the end when the position is negative; a position at or
  // past the end, or a count <= 0, changes nothing. Removing everything frees the storage.
  void Remove(std::int32_t position, std::int32_t count);
  // Writes the bytes to the file at `path` (created or truncated). False for a null or empty path, or when
  // the file cannot be opened or not every byte reaches it.
  bool WriteToFile(const wchar_t* path) const;

  // Appends a hex dump to `output`: all bytes when `limit` < 0, else at most `limit` (0: 1024).
  void DumpTo(CWString& output, int limit) const override;
  // Reads a 32-bit length and that many bytes. A short read of the length, or a negative length, fails
  // the stream (kShortRead) and changes nothing; a short read of the bytes fails it and empties the buffer.
  void LoadFrom(vexo::BinaryStream& stream) override;
  // Replaces the content with `length` (>= 0) bytes read from `stream`, in pieces that grow with what has
  // arrived, so that a wrong length costs no more memory than the bytes that came. A short read fails the
  // stream (kShortRead) and empties the buffer.
  void LoadBytesFrom(vexo::BinaryStream& stream, std::int32_t length);
  // Writes the 32-bit length, then the bytes.
  void SaveTo(vexo::BinaryStream& stream) const override;

 protected:
  bool HasEqualFields(const CPelMem& other) const;

 private:
  // Makes room for `count` more bytes (in free capacity when there is enough) and returns where they go.
  std::uint8_t* Extend(std::int32_t count);
  // The step in force: the step, or the default when the step is 0 or negative.
  std::int32_t EffectiveStep() const { return step_ > 0 ? step_ : kDefaultStep; }

  std::uint8_t* data_ = nullptr;
  std::int32_t capacity_ = 0;
  std::int32_t length_ = 0;
  std::int32_t step_ = kDefaultStep;
};

// Object header, data, capacity, length, step: 28 bytes in the 32-bit program; the 64-bit build pads the
// three 32-bit words to its 8-byte alignment.
static_assert(sizeof(CPelMem) == (sizeof(void*) == 4 ? 28 : 40), "object header, data, capacity, length, step");
