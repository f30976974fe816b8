#include "tests/support/test_server.h"

#include <cstdio>
#include <memory>

namespace vexo::test {

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

std::map<std::string, long> ReadServerPorts(const std::wstring& state_dir) {
  std::map<std::string, long> ports;
  std::unique_ptr<std::FILE, FileCloser> file(_wfopen((state_dir + L"\\ports").c_str(), L"r"));
  if (!file) return ports;
  char name[64];
  long port = 0;
  while (std::fscanf(file.get(), "%63s %ld", name, &port) == 2) ports[name] = port;
  return ports;
}

}  // namespace vexo::test
