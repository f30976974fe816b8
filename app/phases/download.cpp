#include "app/phases/download.h"

#include <curl/curl.h>

#include <atomic>
#include <memory>

#include "app/install_log.h"
#include "app/phases/resume.h"
#include "net/file_sink.h"
#include "runtime/pel_mem.h"
#include "runtime/text_array.h"
#include "runtime/win/scoped_handles.h"
#include "runtime/win/windows_api.h"

namespace vexo::app {

namespace {

constexpr DWORD kCopyBlock = 1 << 20;

std::atomic<std::int64_t> progress_base{0};

// The free bytes on the drive of the folder that holds `path`; -1 when Windows cannot tell.
std::int64_t FreeBytesBeside(const CWString& path) {
  const wchar_t* text = path.GetText();
  int last = -1;
  for (int i = 0; text[i] != L'\0'; ++i) {
    if (text[i] == L'\\') last = i;
  }
  const CWString folder = path.Mid(0, last + 1);
  ULARGE_INTEGER free_bytes{};
  if (!::GetDiskFreeSpaceExW(folder.GetText(), &free_bytes, nullptr, nullptr)) return -1;
  return static_cast<std::int64_t>(free_bytes.QuadPart);
}

// A file sink that first makes sure the drive can hold what the answer announces, and hashes what it
// wrote when given a hash.
class SpaceCheckedSink : public vexo::net::BodySink {
 public:
  SpaceCheckedSink(const CWString& path, CURL* easy, PackageHash* hash)
      : file_(path.GetText()), path_(path), easy_(easy), hash_(hash) {}

  bool Consume(const char* data, std::size_t size) override {
    if (!checked_) {
      checked_ = true;
      curl_off_t announced = -1;
      if (easy_ != nullptr) curl_easy_getinfo(easy_, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced);
      const std::int64_t free_bytes = FreeBytesBeside(path_);
      if (announced > 0 && free_bytes >= 0 && announced > free_bytes) {
        needed_ = announced;
        free_ = free_bytes;
        return false;
      }
    }
    if (!file_.Consume(data, size)) return false;
    if (hash_ != nullptr) hash_->Add(data, size);
    return true;
  }

  vexo::net::FileSink& file() { return file_; }
  bool out_of_space() const { return needed_ > 0; }
  std::int64_t needed() const { return needed_; }
  std::int64_t free_bytes() const { return free_; }

 private:
  vexo::net::FileSink file_;
  CWString path_;
  CURL* easy_;
  PackageHash* hash_;
  bool checked_ = false;
  std::int64_t needed_ = 0;
  std::int64_t free_ = 0;
};

// What one GET ended with: the outcome, the answer's headers and the bytes that reached the file.
struct Attempt {
  InstallOutcome outcome;
  AnswerHeaders answer;
  std::int64_t bytes = 0;
};

InstallFailure TransferFailure(std::int32_t error, bool reached) {
  switch (error) {
    case CURLE_OPERATION_TIMEDOUT:
      return reached ? InstallFailure::kStalled : InstallFailure::kNoConnection;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
      return InstallFailure::kSecureConnection;
    case CURLE_TOO_MANY_REDIRECTS:
      return InstallFailure::kTooManyRedirects;
    default:
      return reached ? InstallFailure::kConnectionLost : InstallFailure::kNoConnection;
  }
}

// One GET of `url` into `path`, from byte `from` on when it is positive; the bytes written also go to
// `hash` when it is not null.
Attempt Fetch(rg_Pelor_ShiChuang_WangLao::rg_WangLaoFangWenLei& net, const CWString& url, const CWString& path,
              std::int64_t from, const CWString& proxy, PackageHash* hash) {
  Attempt attempt;
  SpaceCheckedSink sink(path, net.GetTransfer().GetCurl().GetEasy(), hash);
  if (!sink.file().ok()) {
    LogFormat(L"download: cannot create %s", path.GetText());
    attempt.outcome.failure = InstallFailure::kDiskWrite;
    return attempt;
  }
  rg_Pelor_JiBen::rg_WenBenShuZuLei headers = MakeNullObject<rg_Pelor_JiBen::rg_WenBenShuZuLei>();
  if (from > 0) {
    CWString range;
    range.Format(L"Range: bytes=%I64d-", from);
    headers = rg_Pelor_JiBen::rg_WenBenShuZuLei();
    headers.Add(range);
  }
  const CWString empty;
  const rg_Pelor_ShiChuang_WangLao::rg_WangYeFangWenXiangYingLei response = net.WebAccess(
      url, CWString(L"GET"), MakeNullObject<CPelMem>(), headers, empty, empty, proxy, empty, empty, &sink);
  // What arrived is kept even when the transfer broke: a retry may continue from it.
  const bool written = sink.file().Finish();
  attempt.answer = ParseLastAnswer(response.GetHeaderLines());
  attempt.bytes = sink.file().bytes();
  const std::int32_t status = response.GetStatusCode();
  // Where a slow attempt spent its time: the connection (TLS included) and the wait for the first byte.
  curl_off_t connected_us = 0;
  curl_off_t first_byte_us = 0;
  if (CURL* easy = net.GetTransfer().GetCurl().GetEasy()) {
    curl_easy_getinfo(easy, CURLINFO_APPCONNECT_TIME_T, &connected_us);
    curl_easy_getinfo(easy, CURLINFO_STARTTRANSFER_TIME_T, &first_byte_us);
  }
  LogFormat(L"download: attempt from byte %I64d: status %d (HTTP %d), libcurl result %d, %I64d bytes, %d ms "
            L"(connected at %d ms, first byte at %d ms)",
            from, status, attempt.answer.status, response.GetTransferError(), attempt.bytes,
            static_cast<int>(response.GetTotalTime() / 1000), static_cast<int>(connected_us / 1000),
            static_cast<int>(first_byte_us / 1000));
  InstallOutcome& outcome = attempt.outcome;
  if (sink.out_of_space()) {
    outcome.failure = InstallFailure::kDiskSpace;
    outcome.needed_bytes = sink.needed();
    outcome.free_bytes = sink.free_bytes();
  } else if (!written) {
    outcome.failure = InstallFailure::kDiskWrite;
  } else if (status == 0) {
    const bool reached = attempt.bytes > 0 || response.GetHeaderLines().GetCount() > 0;
    outcome.failure = TransferFailure(response.GetTransferError(), reached);
  } else if (status != 200 && !(from > 0 && status == 206)) {
    outcome.failure = InstallFailure::kHttpStatus;
    outcome.http_status = status;
  }
  return attempt;
}

bool IsRetryable(InstallFailure failure) {
  return failure == InstallFailure::kNoConnection || failure == InstallFailure::kConnectionLost ||
         failure == InstallFailure::kStalled;
}

// Appends the file `piece` to the file `whole` in large blocks; false when a byte could not be copied.
bool AppendFile(const CWString& piece, const CWString& whole) {
  vexo::win::ScopedHandle source(::CreateFileW(piece.GetText(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                               OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  vexo::win::ScopedHandle target(::CreateFileW(whole.GetText(), FILE_APPEND_DATA, 0, nullptr, OPEN_EXISTING,
                                               FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!source || !target) return false;
  std::unique_ptr<char[]> buffer(new char[kCopyBlock]);
  for (;;) {
    DWORD read = 0;
    if (!::ReadFile(source.get(), buffer.get(), kCopyBlock, &read, nullptr)) return false;
    if (read == 0) return true;
    DWORD written = 0;
    if (!::WriteFile(target.get(), buffer.get(), read, &written, nullptr) || written != read) return false;
  }
}

}  // namespace

std::int64_t DownloadProgressBase() { return progress_base.load(); }

InstallOutcome DownloadPackage(rg_Pelor_ShiChuang_WangLao::rg_WangLaoFangWenLei& net, const CWString& url,
                               const CWString& file_path, const DownloadOptions& options) {
  const CWString part = CWString::Concat(file_path, L".part");
  const CWString piece = CWString::Concat(file_path, L".piece");
  ::DeleteFileW(file_path.GetText());
  ::DeleteFileW(piece.GetText());
  LogFormat(L"download: GET %s%s%s", url.GetText(), options.proxy.IsEmpty() ? L"" : L" through proxy ",
            options.proxy.GetText());

  constexpr int kRetries = sizeof(options.retry_pauses_ms) / sizeof(options.retry_pauses_ms[0]);
  std::int64_t held = 0;
  std::int64_t total = -1;
  InstallOutcome outcome;
  // The hash of an attempt from byte 0, which covers the whole file when that attempt brings all of it.
  std::unique_ptr<PackageHash> hash;
  if (options.arrived_hash != nullptr) options.arrived_hash->reset();
  for (int retry = 0; retry <= kRetries; ++retry) {
    if (retry > 0) {
      if (options.on_retry) options.on_retry(retry, kRetries);
      ::Sleep(static_cast<DWORD>(options.retry_pauses_ms[retry - 1]));
    }
    // An attempt opens a connection of its own: none whose server certificate was refused or that broke
    // off is used again. Only a successful download's connection may carry the next download.
    CCurlWraper& curl = net.GetTransfer().GetCurl();
    curl.SetOption(CURLOPT_FRESH_CONNECT, retry == 0 && options.reuse_connection ? 0L : 1L);
    const bool resuming = held > 0 && total > 0 && held < total;
    progress_base.store(resuming ? held : 0);
    hash.reset(!resuming && options.arrived_hash != nullptr ? new PackageHash() : nullptr);
    Attempt attempt = Fetch(net, url, resuming ? piece : part, resuming ? held : 0, options.proxy, hash.get());
    outcome = attempt.outcome;
    if (!resuming) {
      held = attempt.bytes;
      if (attempt.answer.status == 200) total = attempt.answer.content_length;
    } else {
      switch (DecideResume(held, total, attempt.answer)) {
        case ResumeStep::kAppend:
          if (!AppendFile(piece, part)) outcome.failure = InstallFailure::kDiskWrite;
          held += attempt.bytes;
          LogFormat(L"download: the server continued the package; %I64d of %I64d bytes held", held, total);
          break;
        case ResumeStep::kReplace:
          if (!::MoveFileExW(piece.GetText(), part.GetText(), MOVEFILE_REPLACE_EXISTING)) {
            outcome.failure = InstallFailure::kDiskWrite;
          }
          held = attempt.bytes;
          total = attempt.answer.content_length;
          LogLine(CWString(L"download: the server ignored the range and sent the package from its start"));
          break;
        case ResumeStep::kRestart:
          held = 0;
          total = -1;
          ::DeleteFileW(part.GetText());
          LogLine(CWString(L"download: the server's range does not continue the package; starting again"));
          // Bytes that do not join the package are never taken for it, however the transfer ended.
          if (outcome.ok() || outcome.failure == InstallFailure::kHttpStatus) {
            outcome = InstallOutcome();
            outcome.failure = InstallFailure::kConnectionLost;
          }
          break;
      }
      ::DeleteFileW(piece.GetText());
    }
    if (outcome.ok() && total >= 0 && held != total) outcome.failure = InstallFailure::kConnectionLost;
    if (!IsRetryable(outcome.failure)) break;
  }
  progress_base.store(0);
  if (outcome.ok() &&
      !::MoveFileExW(part.GetText(), file_path.GetText(), MOVEFILE_REPLACE_EXISTING)) {
    outcome.failure = InstallFailure::kDiskWrite;
  }
  if (!outcome.ok()) {
    ::DeleteFileW(part.GetText());
    ::DeleteFileW(piece.GetText());
  }
  HashedPackage hashed;
  if (outcome.ok() && hash && hash->Finish(hashed) && static_cast<std::int64_t>(hashed.bytes) == held) {
    *options.arrived_hash = hashed;
  }
  LogFormat(L"download: %s -> %s", FailureName(outcome.failure), file_path.GetText());
  return outcome;
}

}  // namespace vexo::app
