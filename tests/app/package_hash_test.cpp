// The package hash: known SHA-256 digests whatever the pieces, and the processor's SHA code on a stack
// that is only 4-byte aligned, as Windows starts 32-bit threads.
#include "app/phases/package_hash.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using vexo::app::HashedPackage;
using vexo::app::PackageHash;

std::string Hex(const HashedPackage& hashed) {
  std::string text;
  char digits[3];
  for (unsigned char byte : hashed.sha256) {
    std::snprintf(digits, sizeof(digits), "%02x", byte);
    text += digits;
  }
  return text;
}

// The hash of `bytes` added in pieces of `piece` bytes (all at once for 0).
std::string HashInPieces(const std::string& bytes, std::size_t piece) {
  PackageHash hash;
  if (piece == 0) piece = bytes.size() + 1;
  for (std::size_t at = 0; at < bytes.size(); at += piece) {
    hash.Add(bytes.data() + at, std::min(piece, bytes.size() - at));
  }
  HashedPackage hashed;
  EXPECT_TRUE(hash.Finish(hashed));
  EXPECT_EQ(hashed.bytes, bytes.size());
  return Hex(hashed);
}

// FIPS 180-2 examples and the digest of a million 'a'.
struct KnownDigest {
  std::string bytes;
  const char* sha256;
};
const std::vector<KnownDigest>& KnownDigests() {
  static const std::vector<KnownDigest> digests = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  return digests;
}

TEST(PackageHash, KnownDigestsWhateverThePieces) {
  for (const KnownDigest& known : KnownDigests()) {
    for (std::size_t piece : {std::size_t{0}, std::size_t{1}, std::size_t{63}, std::size_t{64}, std::size_t{16384}}) {
      EXPECT_EQ(HashInPieces(known.bytes, piece), known.sha256) << known.bytes.size() << " bytes in pieces of " << piece;
    }
  }
}

TEST(PackageHash, AFinishedHashTakesNothingMore) {
  PackageHash hash;
  HashedPackage first;
  ASSERT_TRUE(hash.Add("abc", 3));
  ASSERT_TRUE(hash.Finish(first));
  HashedPackage again;
  EXPECT_FALSE(hash.Add("d", 1));
  EXPECT_FALSE(hash.Finish(again));
  EXPECT_EQ(hash.bytes(), 3u);
}

// 32-bit Windows starts threads on a 4-byte aligned stack; the 64-bit ABI always aligns it to 16 bytes.
#if defined(__i386__)
// Hashes the million 'a' and stores the hex digest at `out`.
void HashMillion(std::string* out) { *out = HashInPieces(KnownDigests()[3].bytes, 16384); }

// Calls HashMillion(out) with the stack pointer 4 bytes below a 16-byte boundary's alignment.
__attribute__((noinline)) void HashOnMisalignedStack(std::string* out) {
  asm volatile(
      "movl %%esp, %%ebx\n\t"
      "andl $-16, %%esp\n\t"
      "subl $8, %%esp\n\t"  // with the argument pushed below: the call sees esp = 4 mod 16
      "pushl %0\n\t"
      "call %P1\n\t"
      "movl %%ebx, %%esp\n\t"
      :
      : "r"(out), "i"(&HashMillion)
      : "ebx", "eax", "ecx", "edx", "memory", "cc");
}

TEST(PackageHash, RunsOnAStackThatIsOnlyFourByteAligned) {
  std::string digest;
  HashOnMisalignedStack(&digest);
  EXPECT_EQ(digest, KnownDigests()[3].sha256);
}
#endif

}  // namespace
