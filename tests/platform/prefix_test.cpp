// Checks that the wine prefix the tests run in was prepared as the other tests assume: CJK fonts, the
// 7-Zip console in the system folder and the test CA trusted machine-wide.
#include <windows.h>
#include <wincrypt.h>

#include <gtest/gtest.h>

#include <string>

#include "runtime/win/scoped_certs.h"
#include "runtime/win/scoped_handles.h"
#include "tests/platform/fixture_files.h"

namespace vexo::test {
namespace {

std::wstring ReadUserText(const wchar_t* key, const wchar_t* value) {
  wchar_t data[256] = {};
  DWORD size = sizeof(data);
  if (RegGetValueW(HKEY_CURRENT_USER, key, value, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS) {
    return L"";
  }
  return data;
}

TEST(Prefix, ChineseFaceNamesMapToAnInstalledCjkFont) {
  for (const wchar_t* face : {L"Microsoft YaHei", L"\x5FAE\x8F6F\x96C5\x9ED1", L"SimSun"}) {
    EXPECT_EQ(ReadUserText(L"Software\\Wine\\Fonts\\Replacements", face), L"WenQuanYi Micro Hei") << face;
  }
}

TEST(Prefix, CjkFontDrawsChineseGlyphs) {
  win::ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
  ASSERT_TRUE(dc);
  LOGFONTW lf = {};
  lf.lfHeight = -16;
  lf.lfCharSet = DEFAULT_CHARSET;
  wcscpy(lf.lfFaceName, L"Microsoft YaHei");
  win::ScopedFont font(CreateFontIndirectW(&lf));
  ASSERT_TRUE(font);
  win::ScopedSelectObject selected(dc.get(), font.get());
  WORD glyphs[2] = {};
  DWORD converted = GetGlyphIndicesW(dc.get(), L"\x52A9\x624B", 2, glyphs, GGI_MARK_NONEXISTING_GLYPHS);
  EXPECT_EQ(converted, 2u);
  EXPECT_NE(glyphs[0], 0xFFFF);
  EXPECT_NE(glyphs[1], 0xFFFF);
}

TEST(Prefix, SevenZipIsInTheSystemFolderThisProgramSees) {
  wchar_t system_dir[MAX_PATH] = {};
  UINT length = GetSystemDirectoryW(system_dir, MAX_PATH);
  ASSERT_GT(length, 0u);
  std::wstring seven_zip = std::wstring(system_dir, length) + L"\\7z.exe";
  DWORD attributes = GetFileAttributesW(seven_zip.c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << "missing " << std::string(seven_zip.begin(), seven_zip.end());
  EXPECT_EQ(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

// The certificate in a PEM file of the test PKI; empty when the file is missing or not a certificate.
win::ScopedCertContext LoadPkiCertificate(const std::string& name) {
  std::optional<std::string> pem = ReadWholeFile(PkiPath(name));
  if (!pem) return {};
  DWORD size = 0;
  if (!CryptStringToBinaryA(pem->data(), static_cast<DWORD>(pem->size()), CRYPT_STRING_BASE64HEADER, nullptr,
                            &size, nullptr, nullptr)) {
    return {};
  }
  std::string der(size, '\0');
  if (!CryptStringToBinaryA(pem->data(), static_cast<DWORD>(pem->size()), CRYPT_STRING_BASE64HEADER,
                            reinterpret_cast<BYTE*>(der.data()), &size, nullptr, nullptr)) {
    return {};
  }
  return win::ScopedCertContext(CertCreateCertificateContext(
      X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()), size));
}

bool InMachineRootStore(PCCERT_CONTEXT cert) {
  win::ScopedCertStore root(
      CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root"));
  if (!root) return false;
  win::ScopedCertContext found(
      CertFindCertificateInStore(root.get(), X509_ASN_ENCODING, 0, CERT_FIND_EXISTING, cert, nullptr));
  return static_cast<bool>(found);
}

TEST(Prefix, OnlyTheTestCaIsAddedToTheMachineRootStore) {
  struct Case {
    const char* file;
    bool trusted;
  };
  for (const Case& c : {Case{"ca.pem", true}, Case{"other-ca.pem", false}}) {
    win::ScopedCertContext cert = LoadPkiCertificate(c.file);
    ASSERT_TRUE(cert) << c.file;
    EXPECT_EQ(InMachineRootStore(cert.get()), c.trusted) << c.file;
  }
}

// Trust status of a certificate's chain as the machine's default chain engine sees it.
DWORD ChainErrorStatus(PCCERT_CONTEXT cert) {
  CERT_CHAIN_PARA para = {};
  para.cbSize = sizeof(para);
  win::ScopedCertChain chain;
  if (!CertGetCertificateChain(HCCE_LOCAL_MACHINE, cert, nullptr, cert->hCertStore, &para, 0, nullptr,
                               chain.receive())) {
    return CERT_TRUST_IS_PARTIAL_CHAIN;
  }
  return chain.get()->TrustStatus.dwErrorStatus;
}

TEST(Prefix, ServerCertificatesChainToTheTestCaOnly) {
  win::ScopedCertContext from_test_ca = LoadPkiCertificate("localhost.pem");
  win::ScopedCertContext from_other_ca = LoadPkiCertificate("other-ca-localhost.pem");
  ASSERT_TRUE(from_test_ca);
  ASSERT_TRUE(from_other_ca);
  EXPECT_EQ(ChainErrorStatus(from_test_ca.get()), static_cast<DWORD>(CERT_TRUST_NO_ERROR));
  EXPECT_NE(ChainErrorStatus(from_other_ca.get()), static_cast<DWORD>(CERT_TRUST_NO_ERROR));
}

}  // namespace
}  // namespace vexo::test
