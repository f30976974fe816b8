#include "app/download_meter.h"

#include <cmath>

namespace vexo::app {

namespace {

// Weight of a new speed sample: a slow follow, so the line does not jump with every burst.
constexpr double kSmoothing = 0.3;
// A speed sample spans at least this long.
constexpr std::uint32_t kSampleMs = 500;

void AppendAmount(CWString& text, std::int64_t bytes) {
  const double value = static_cast<double>(bytes);
  if (value >= 1024.0 * 1024.0 * 1024.0) {
    text.AppendFormat(L"%.2f GB", value / (1024.0 * 1024.0 * 1024.0));
  } else if (value >= 1024.0 * 1024.0) {
    text.AppendFormat(L"%.1f MB", value / (1024.0 * 1024.0));
  } else {
    text.AppendFormat(L"%.0f KB", value / 1024.0);
  }
}

void AppendTimeLeft(CWString& text, double seconds) {
  const long long whole = static_cast<long long>(std::ceil(seconds));
  if (whole >= 3600) {
    text.AppendFormat(L"剩余 %d 小时 %d 分", static_cast<int>(whole / 3600), static_cast<int>(whole % 3600 / 60));
  } else if (whole >= 60) {
    text.AppendFormat(L"剩余 %d 分 %d 秒", static_cast<int>(whole / 60), static_cast<int>(whole % 60));
  } else {
    text.AppendFormat(L"剩余 %d 秒", static_cast<int>(whole));
  }
}

}  // namespace

bool DownloadMeter::Report(std::int64_t total, std::int64_t received, std::uint32_t now_ms) {
  if (!started_ || received < received_) {
    *this = DownloadMeter();
    started_ = true;
    sample_bytes_ = received;
    sample_ms_ = now_ms;
    shown_ms_ = now_ms;
    total_ = total;
    received_ = received;
    return true;
  }
  total_ = total;
  received_ = received;
  const std::uint32_t since_sample = now_ms - sample_ms_;
  if (since_sample >= kSampleMs) {
    const double sample = static_cast<double>(received - sample_bytes_) * 1000.0 / since_sample;
    speed_ = speed_ == 0 ? sample : speed_ + kSmoothing * (sample - speed_);
    sample_bytes_ = received;
    sample_ms_ = now_ms;
  }
  if (now_ms - shown_ms_ < kRefreshMs) return false;
  shown_ms_ = now_ms;
  return true;
}

CWString DownloadMeter::Text() const {
  CWString text;
  AppendAmount(text, received_);
  if (total_ > 0) {
    text.Append(L" / ");
    AppendAmount(text, total_);
  }
  if (speed_ > 0) {
    text.Append(L" · ");
    AppendAmount(text, static_cast<std::int64_t>(speed_));
    text.Append(L"/s");
    if (total_ > 0 && received_ <= total_) {
      text.Append(L" · ");
      AppendTimeLeft(text, static_cast<double>(total_ - received_) / speed_);
    }
  }
  return text;
}

}  // namespace vexo::app
