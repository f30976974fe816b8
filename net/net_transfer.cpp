#include "net/net_transfer.h"

#include "net/body_collector.h"
#include "net/header_line_collector.h"

namespace rg_Pelor_ShiChuang_WangLao {

namespace {

// The four counts travel to the owner thread as eight 32-bit words, low word first.
constexpr int kArgumentWords = 8;

void SplitCounts(const vexo::net::ProgressCounts& counts, std::uint32_t (&words)[kArgumentWords]) {
  const std::int64_t values[4] = {counts.download_total, counts.downloaded, counts.upload_total, counts.uploaded};
  for (int i = 0; i < 4; ++i) {
    auto value = static_cast<std::uint64_t>(values[i]);
    words[2 * i] = static_cast<std::uint32_t>(value);
    words[2 * i + 1] = static_cast<std::uint32_t>(value >> 32);
  }
}

std::int64_t JoinWords(const std::uint32_t* words) {
  return static_cast<std::int64_t>((std::uint64_t{words[1]} << 32) | words[0]);
}

}  // namespace

rg_WangLaoChuanShuLei::rg_WangLaoChuanShuLei() : holder_(vexo::CountedRef<CurlHolder>::Adopt(new CurlHolder())) {
  InstallCallbacks();
  // The targets are set per request; until then the collectors drop what arrives, instead of taking
  // libcurl's default target, stdout, for a buffer.
  GetCurl().SetOption(CURLOPT_WRITEDATA, static_cast<void*>(nullptr));
  GetCurl().SetOption(CURLOPT_HEADERDATA, static_cast<void*>(nullptr));
}

rg_WangLaoChuanShuLei::rg_WangLaoChuanShuLei(const rg_WangLaoChuanShuLei& other)
    : CPelObject(other), IPelNoticeReceiver(other), holder_(other.holder_) {}

rg_WangLaoChuanShuLei& rg_WangLaoChuanShuLei::operator=(const rg_WangLaoChuanShuLei& other) {
  CPelObject::operator=(other);
  if (holder_.get() != other.holder_.get()) {
    LeaveHolder();
    holder_ = other.holder_;
  }
  GetCurl().SetProgressTarget(this);
  return *this;
}

rg_WangLaoChuanShuLei::~rg_WangLaoChuanShuLei() { LeaveHolder(); }

void rg_WangLaoChuanShuLei::InstallCallbacks() {
  CCurlWraper& curl = GetCurl();
  curl.SetProgressTarget(this);
  curl.SetOption(CURLOPT_WRITEFUNCTION, &vexo::net::CollectBody);
  curl.SetOption(CURLOPT_HEADERFUNCTION, &vexo::net::CollectHeaderLine);
  curl.SetOption(CURLOPT_XFERINFOFUNCTION, &rg_WangLaoChuanShuLei::ReportProgress);
  curl.SetOption(CURLOPT_XFERINFODATA, static_cast<void*>(holder_.get()));
}

void rg_WangLaoChuanShuLei::LeaveHolder() {
  if (holder_) holder_->GetData().ClearProgressTarget(this);
}

void rg_WangLaoChuanShuLei::BeginTransfer() {
  // Again, for a handle that libcurl could only make after construction.
  InstallCallbacks();
  // A notice of an earlier transfer that never ran must not hold back this one's.
  vexo::SpinLockGuard guard(latest_lock_);
  notice_queued_ = false;
  last_notice_ms_ = 0;
}

int rg_WangLaoChuanShuLei::ReportProgress(void* holder, curl_off_t download_total, curl_off_t downloaded,
                                          curl_off_t upload_total, curl_off_t uploaded) {
  rg_WangLaoChuanShuLei* target = static_cast<CurlHolder*>(holder)->GetData().GetProgressTarget();
  if (target == nullptr) return 0;
  const vexo::net::ProgressCounts counts{download_total, downloaded, upload_total, uploaded};
  if (!target->latest_only_) return target->SendProgress(counts);
  target->PostProgress(counts);
  return 0;
}

void rg_WangLaoChuanShuLei::PostProgress(const vexo::net::ProgressCounts& counts) {
  const std::uint64_t now = ::GetTickCount64();
  bool queue = false;
  {
    vexo::SpinLockGuard guard(latest_lock_);
    latest_ = counts;
    latest_pending_ = true;
    queue = !notice_queued_ && now - last_notice_ms_ >= kNoticeGapMs;
    if (queue) {
      notice_queued_ = true;
      last_notice_ms_ = now;
    }
  }
  // Counts held back by the gap go with the next report's notice, or with EndTransfer.
  if (queue && !PostNotice(0, 0)) {
    vexo::SpinLockGuard guard(latest_lock_);
    notice_queued_ = false;
  }
}

bool rg_WangLaoChuanShuLei::TakeLatest(vexo::net::ProgressCounts* counts) {
  vexo::SpinLockGuard guard(latest_lock_);
  if (!latest_pending_) return false;
  *counts = latest_;
  latest_pending_ = false;
  return true;
}

void rg_WangLaoChuanShuLei::EndTransfer() {
  vexo::net::ProgressCounts counts;
  if (latest_only_ && TakeLatest(&counts)) SendProgress(counts);
}

int rg_WangLaoChuanShuLei::SendProgress(const vexo::net::ProgressCounts& counts) {
  if (GetNoticeWindow() == nullptr) return 0;
  std::uint32_t words[kArgumentWords];
  SplitCounts(counts, words);
  return static_cast<int>(SendNotice(0, words, 0));
}

std::uint32_t rg_WangLaoChuanShuLei::OnNotice(std::uint32_t, void* arguments, std::uint32_t) {
  if (arguments == nullptr) {
    {
      vexo::SpinLockGuard guard(latest_lock_);
      notice_queued_ = false;
    }
    vexo::net::ProgressCounts counts;
    if (!TakeLatest(&counts)) return 0;
    return static_cast<std::uint32_t>(
        progress_.Raise(this, counts.download_total, counts.downloaded, counts.upload_total, counts.uploaded));
  }
  const auto* words = static_cast<const std::uint32_t*>(arguments);
  return static_cast<std::uint32_t>(
      progress_.Raise(this, JoinWords(words), JoinWords(words + 2), JoinWords(words + 4), JoinWords(words + 6)));
}

}  // namespace rg_Pelor_ShiChuang_WangLao
