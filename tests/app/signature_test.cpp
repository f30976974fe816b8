// The package signature check against signatures that openssl made with the test key: good ones, missing
// and malformed files, signatures of other files or keys, damaged packages, and the memory a large package
// needs.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "app/package_public_key.h"
#include "app/phases/signature.h"
#include "runtime/win/scoped_handles.h"
#include "runtime/win/windows_api.h"
#include "tests/app/test_package_key.h"
#include "tests/sys/sys_test_support.h"

namespace {

using vexo::app::SignatureCheck;
using vexo::test::ReadWholeFile;
using vexo::test::ScratchFolder;
using vexo::test::WriteWholeFile;
using Key = std::vector<std::uint8_t>;

const Key kTestKey = {VEXO_TEST_PACKAGE_PUBLIC_KEY_BYTES};
// The base point of P-256: a valid public key, but not the one the fixtures were signed with.
const Key kOtherKey = {
    0x6B, 0x17, 0xD1, 0xF2, 0xE1, 0x2C, 0x42, 0x47, 0xF8, 0xBC, 0xE6, 0xE5, 0x63, 0xA4, 0x40, 0xF2,
    0x77, 0x03, 0x7D, 0x81, 0x2D, 0xEB, 0x33, 0xA0, 0xF4, 0xA1, 0x39, 0x45, 0xD8, 0x98, 0xC2, 0x96,
    0x4F, 0xE3, 0x42, 0xE2, 0xFE, 0x1A, 0x7F, 0x9B, 0x8E, 0xE7, 0xEB, 0x4A, 0x7C, 0x0F, 0x9E, 0x16,
    0x2B, 0xCE, 0x33, 0x57, 0x6B, 0x31, 0x5E, 0xCE, 0xCB, 0xB6, 0x40, 0x68, 0x37, 0xBF, 0x51, 0xF5,
};

// Files the build signed with the signing tool: package.bin (3 MiB and a little more, random), other.bin,
// empty.bin, each with its .sig; and zeros-100m.bin.sig.
std::wstring Built(const wchar_t* name) { return std::wstring(L"" VEXO_SIGNATURE_FIXTURE_DIR L"\\") + name; }
// short-integer.txt and its signature, whose r has 31 bytes and whose s needs a leading zero.
std::wstring Kept(const wchar_t* name) {
  return std::wstring(L"" VEXO_SIGNATURE_SOURCE_FIXTURE_DIR L"\\") + name;
}

SignatureCheck Check(const std::wstring& package, const std::wstring& signature, const Key& key = kTestKey) {
  return vexo::app::VerifyPackageSignature(CWString(package.c_str()), CWString(signature.c_str()), key);
}

TEST(PackageSignature, SignaturesOfTheSigningToolVerify) {
  const struct {
    std::wstring package;
    std::wstring signature;
  } cases[] = {
      {Built(L"package.bin"), Built(L"package.bin.sig")},
      {Built(L"other.bin"), Built(L"other.bin.sig")},
      {Built(L"empty.bin"), Built(L"empty.bin.sig")},
      {Kept(L"short-integer.txt"), Kept(L"short-integer.txt.sig")},
  };
  for (const auto& c : cases) EXPECT_EQ(Check(c.package, c.signature), SignatureCheck::kValid) << c.package;
}

TEST(PackageSignature, ASignatureOfAnotherFileOrAnotherKeyDoesNotMatch) {
  const struct {
    std::wstring package;
    std::wstring signature;
    const Key& key;
  } cases[] = {
      {Built(L"package.bin"), Built(L"other.bin.sig"), kTestKey},
      {Built(L"other.bin"), Built(L"package.bin.sig"), kTestKey},
      {Built(L"empty.bin"), Built(L"other.bin.sig"), kTestKey},
      {Built(L"package.bin"), Built(L"empty.bin.sig"), kTestKey},
      {Built(L"package.bin"), Built(L"package.bin.sig"), kOtherKey},
      {Kept(L"short-integer.txt"), Kept(L"short-integer.txt.sig"), kOtherKey},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Check(c.package, c.signature, c.key), SignatureCheck::kMismatch) << c.package << L" " << c.signature;
  }
}

TEST(PackageSignature, AKeyThatIsNotAP256PointIsAnError) {
  Key with_point_prefix = {0x04};
  with_point_prefix.insert(with_point_prefix.end(), kTestKey.begin(), kTestKey.end());
  const Key cases[] = {{}, Key(kTestKey.begin(), kTestKey.end() - 1), with_point_prefix};
  for (const auto& key : cases) {
    EXPECT_EQ(Check(Built(L"package.bin"), Built(L"package.bin.sig"), key), SignatureCheck::kError) << key.size();
  }
}

class SignatureFiles : public ::testing::Test {
 protected:
  // Writes `bytes` as a file of the scratch folder and returns its path.
  std::wstring Write(const wchar_t* name, const std::string& bytes) {
    const std::wstring path = scratch_.path() + name;
    EXPECT_TRUE(WriteWholeFile(path, bytes));
    return path;
  }

  ScratchFolder scratch_;
};

TEST_F(SignatureFiles, APackageVerifiesWhereverItLies) {
  ASSERT_TRUE(::CreateDirectoryW((scratch_.path() + L"下载 目录").c_str(), nullptr));
  const std::wstring package = Write(L"下载 目录\\installpack.zip", ReadWholeFile(Built(L"package.bin")));
  const std::wstring signature = Write(L"下载 目录\\installpack.zip.sig", ReadWholeFile(Built(L"package.bin.sig")));
  EXPECT_EQ(Check(package, signature), SignatureCheck::kValid);
}

TEST_F(SignatureFiles, AChangedPackageNoLongerMatches) {
  const std::string original = ReadWholeFile(Built(L"package.bin"));
  ASSERT_GT(original.size(), 3u << 20) << "the package spans several hash blocks";
  std::string first_of_second_block = original;
  first_of_second_block[1 << 20] ^= 0x01;
  std::string last_byte = original;
  last_byte.back() ^= 0x80;
  const struct {
    const char* change;
    std::string bytes;
  } cases[] = {
      {"a bit of the second block flipped", first_of_second_block},
      {"the last byte changed", last_byte},
      {"one byte appended", original + '\0'},
      {"the last byte dropped", original.substr(0, original.size() - 1)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Check(Write(L"package.bin", c.bytes), Built(L"package.bin.sig")), SignatureCheck::kMismatch) << c.change;
  }
}

TEST_F(SignatureFiles, NoSignatureFileIsMissingEvenWithoutAPackage) {
  EXPECT_EQ(Check(Built(L"package.bin"), scratch_.path() + L"installpack.zip.sig"), SignatureCheck::kMissing);
  EXPECT_EQ(Check(Built(L"package.bin"), scratch_.path() + L"no folder\\installpack.zip.sig"),
            SignatureCheck::kMissing);
  EXPECT_EQ(Check(scratch_.path() + L"installpack.zip", scratch_.path() + L"installpack.zip.sig"),
            SignatureCheck::kMissing);
}

TEST_F(SignatureFiles, AHashTakenDuringTheDownloadStandsForThePackage) {
  const std::string package = ReadWholeFile(Built(L"package.bin"));
  vexo::app::PackageHash hash;
  vexo::app::HashedPackage hashed;
  // Pieces that do not fill the hash's 64-byte blocks, as a download's pieces may be.
  ASSERT_TRUE(hash.Add(package.data(), 1000) && hash.Add(package.data() + 1000, 3) &&
              hash.Add(package.data() + 1003, package.size() - 1003));
  ASSERT_TRUE(hash.Finish(hashed));
  EXPECT_FALSE(hash.Add(package.data(), 1)) << "a finished hash takes no more bytes";
  // The file is not read again: a hash of the signed bytes verifies even where no file is.
  const CWString nowhere((scratch_.path() + L"installpack.zip").c_str());
  const CWString signature(Built(L"package.bin.sig").c_str());
  EXPECT_EQ(vexo::app::VerifyPackageSignature(nowhere, signature, kTestKey, &hashed), SignatureCheck::kValid);
  hashed.sha256[31] ^= 0x01;
  EXPECT_EQ(vexo::app::VerifyPackageSignature(nowhere, signature, kTestKey, &hashed), SignatureCheck::kMismatch);
}

TEST_F(SignatureFiles, AGoodSignatureWithoutItsPackageIsAnError) {
  EXPECT_EQ(Check(scratch_.path() + L"installpack.zip", Built(L"package.bin.sig")), SignatureCheck::kError);
  EXPECT_EQ(Check(scratch_.path(), Built(L"package.bin.sig")), SignatureCheck::kError) << "a folder";
}

// DER building blocks for hand-made signatures.
std::string Tlv(char tag, const std::string& value) {
  return std::string(1, tag) + static_cast<char>(value.size()) + value;
}
std::string Integer(const std::string& value) { return Tlv(0x02, value); }
std::string Sequence(const std::string& content) { return Tlv(0x30, content); }

TEST_F(SignatureFiles, OnlyOneStrictDerSignatureIsWellFormed) {
  const std::string good = ReadWholeFile(Built(L"package.bin.sig"));
  const std::string kept = ReadWholeFile(Kept(L"short-integer.txt.sig"));
  ASSERT_EQ(kept.size(), 70u);
  ASSERT_EQ(kept.substr(0, 4), std::string("\x30\x44\x02\x1f", 4)) << "r has 31 bytes";
  const std::string kept_r = kept.substr(4, 31);
  const std::string kept_s = kept.substr(35);
  ASSERT_EQ(Sequence(Integer(kept_r) + kept_s), kept) << "the blocks rebuild a real signature";
  const std::string one(1, '\x01');
  const std::string high(1, '\x80');
  const std::string zero(1, '\0');
  const std::string full(32, '\x7f');
  const struct {
    const char* form;
    std::string bytes;
    SignatureCheck check;
  } cases[] = {
      {"empty file", "", SignatureCheck::kMalformed},
      {"the good signature less its last byte", good.substr(0, good.size() - 1), SignatureCheck::kMalformed},
      {"the good signature and one more byte", good + '\0', SignatureCheck::kMalformed},
      {"the good signature and more than any signature holds", good + std::string(100, 'x'),
       SignatureCheck::kMalformed},
      {"an error page", "<html><body>404 Not Found</body></html>", SignatureCheck::kMalformed},
      {"64 bytes r || s without DER", std::string(64, '\x11'), SignatureCheck::kMalformed},
      {"not a SEQUENCE", "\x31" + good.substr(1), SignatureCheck::kMalformed},
      {"a long-form length", std::string("\x30\x81", 2) + kept.substr(1), SignatureCheck::kMalformed},
      {"r padded with a needless zero", Sequence(Integer(zero + kept_r) + kept_s), SignatureCheck::kMalformed},
      {"a negative r", Sequence(Integer(high + full.substr(1)) + Integer(one)), SignatureCheck::kMalformed},
      {"r of 33 bytes", Sequence(Integer(zero + high + full) + Integer(one)), SignatureCheck::kMalformed},
      {"r of 33 bytes without sign", Sequence(Integer(one + full) + Integer(one)), SignatureCheck::kMalformed},
      {"an empty r", Sequence(Integer("") + Integer(one)), SignatureCheck::kMalformed},
      {"no s", Sequence(Integer(one)), SignatureCheck::kMalformed},
      {"a third integer", Sequence(Integer(one) + Integer(one) + Integer(one)), SignatureCheck::kMalformed},
      {"s as a bit string", Sequence(Integer(one) + Tlv(0x03, one)), SignatureCheck::kMalformed},
      {"s after the end of the sequence", Sequence(Integer(one)) + Integer(one), SignatureCheck::kMalformed},
      // Well-formed signatures that simply are not the package's.
      {"r and s of one byte", Sequence(Integer(one) + Integer(one)), SignatureCheck::kMismatch},
      {"r with its sign zero, s of 32 bytes", Sequence(Integer(zero + high + full.substr(1)) + Integer(full)),
       SignatureCheck::kMismatch},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Check(Built(L"package.bin"), Write(L"installpack.zip.sig", c.bytes)), c.check) << c.form;
  }
}

TEST_F(SignatureFiles, AHundredMegabytePackageIsHashedWithoutBeingHeldInMemory) {
  constexpr std::int64_t kSize = 100 << 20;
  const std::wstring package = scratch_.path() + L"zeros.bin";
  {
    vexo::win::ScopedHandle file(
        ::CreateFileW(package.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file);
    LARGE_INTEGER end{};
    end.QuadPart = kSize;
    ASSERT_TRUE(::SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN));
    ASSERT_TRUE(::SetEndOfFile(file.get()));
  }
  const std::string output =
      vexo::test::RunAndCapture(L"\"" + vexo::test::ExecutableFolder() + L"signature_probe.exe\" \"" + package +
                                L"\" \"" + Built(L"zeros-100m.bin.sig") + L"\"");
  int check = -1;
  unsigned long long before = 0;
  unsigned long long peak = 0;
  ASSERT_EQ(std::sscanf(output.c_str(), "%d %llu %llu", &check, &before, &peak), 3) << output;
  EXPECT_EQ(check, static_cast<int>(SignatureCheck::kValid)) << "all of the file was hashed";
  ASSERT_GE(peak, before);
  EXPECT_LT(peak - before, 16ull << 20) << "the peak working set grew by " << ((peak - before) >> 20) << " MiB";
}

#ifdef VEXO_SIGNED_SAMPLE_PACKAGE
TEST(PackageSignature, TheSamplePackageIsSignedForTheInstallersKey) {
  const std::wstring package = L"" VEXO_SIGNED_SAMPLE_PACKAGE;
  EXPECT_EQ(Check(package, package + L".sig", {VEXO_PACKAGE_PUBLIC_KEY_BYTES}), SignatureCheck::kValid);
}
#endif

}  // namespace
