// The fastest install this machine can do, the installer benchmark's yardstick: the project's libcurl build
// downloads the package to a file (reading from the connection as the network engine does, through a 1 MiB
// write buffer), then the 7-Zip console of the system folder extracts it, one after the other, with no
// window and nothing else.
//
//   limit_install URL PACKAGE_FILE TARGET_FOLDER
//
// Prints "<download seconds> <unpack seconds> <package bytes>" and exits 0 when the server answered 200,
// the whole body reached the file and 7-Zip exited with 0; otherwise says what failed and exits 1.
#include <curl/curl.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "net/curl_wraper.h"
#include "runtime/win/scoped_handles.h"

namespace {

constexpr std::size_t kWriteBuffer = 1 << 20;

double Now() {
  LARGE_INTEGER frequency, counter;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

struct EasyCleanup {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};

std::size_t WriteBody(char* bytes, std::size_t size, std::size_t count, void* file) {
  return std::fwrite(bytes, size, count, static_cast<std::FILE*>(file)) * size;
}

// The URL as libcurl takes it; the benchmark's URL is ASCII.
std::string Narrow(const wchar_t* text) {
  std::string narrow;
  for (; *text != L'\0'; ++text) narrow.push_back(static_cast<char>(*text));
  return narrow;
}

// Downloads `url` into `path`; the body's size, or -1 (after saying why) when anything failed.
std::int64_t Download(const std::string& url, const wchar_t* path) {
  std::vector<char> buffer(kWriteBuffer);  // outlives the file, which may flush it when closed
  File file(_wfopen(path, L"wb"));
  if (!file) {
    std::fprintf(stderr, "limit_install: cannot create the package file\n");
    return -1;
  }
  std::setvbuf(file.get(), buffer.data(), _IOFBF, buffer.size());
  std::unique_ptr<CURL, EasyCleanup> easy(curl_easy_init());
  if (!easy) return -1;
  curl_easy_setopt(easy.get(), CURLOPT_URL, url.c_str());
  curl_easy_setopt(easy.get(), CURLOPT_WRITEFUNCTION, &WriteBody);
  curl_easy_setopt(easy.get(), CURLOPT_WRITEDATA, file.get());
  curl_easy_setopt(easy.get(), CURLOPT_BUFFERSIZE, vexo::net::kReceiveBufferBytes);
  const CURLcode code = curl_easy_perform(easy.get());
  long status = 0;
  curl_off_t bytes = 0;
  curl_easy_getinfo(easy.get(), CURLINFO_RESPONSE_CODE, &status);
  curl_easy_getinfo(easy.get(), CURLINFO_SIZE_DOWNLOAD_T, &bytes);
  const bool closed = std::fclose(file.release()) == 0;
  if (code != CURLE_OK || status != 200 || !closed) {
    std::fprintf(stderr, "limit_install: download failed: %s, status %ld\n", curl_easy_strerror(code), status);
    return -1;
  }
  return bytes;
}

// Runs the system folder's 7z.exe on the package, its output thrown away; true when it exited with 0.
bool Extract(const wchar_t* package, const wchar_t* folder) {
  wchar_t system[MAX_PATH];
  const UINT length = ::GetSystemDirectoryW(system, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  std::wstring command =
      L"\"" + std::wstring(system) + L"\\7z.exe\" x \"" + package + L"\" -o\"" + folder + L"\" -y -aoa";
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  const vexo::win::ScopedHandle null_device(
      ::CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr));
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = null_device.get();
  startup.hStdError = null_device.get();
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) {
    std::fprintf(stderr, "limit_install: cannot start 7z.exe\n");
    return false;
  }
  const vexo::win::ScopedHandle process(info.hProcess);
  const vexo::win::ScopedHandle thread(info.hThread);
  DWORD exit_code = 1;
  ::WaitForSingleObject(process.get(), INFINITE);
  ::GetExitCodeProcess(process.get(), &exit_code);
  if (exit_code != 0) std::fprintf(stderr, "limit_install: 7z.exe exited with %lu\n", exit_code);
  return exit_code == 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: limit_install URL PACKAGE_FILE TARGET_FOLDER\n");
    return 2;
  }
  if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) return 1;
  const double start = Now();
  const std::int64_t bytes = Download(Narrow(argv[1]), argv[2]);
  const double downloaded = Now();
  const bool extracted = bytes >= 0 && Extract(argv[2], argv[3]);
  const double done = Now();
  curl_global_cleanup();
  if (!extracted) return 1;
  std::printf("%.6f %.6f %lld\n", downloaded - start, done - downloaded, static_cast<long long>(bytes));
  return 0;
}
