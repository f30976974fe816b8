#include "app/install_outcome.h"

namespace vexo::app {

namespace {

struct FailureText {
  InstallFailure failure;
  const wchar_t* name;
  const wchar_t* message;
};

// One row per failure: its log name and what the user reads (%d: the HTTP status).
constexpr FailureText kFailureTexts[] = {
    {InstallFailure::kNone, L"none", L""},
    {InstallFailure::kNoConnection, L"no-connection", L"无法连接到下载服务器，请检查网络连接后重试。"},
    {InstallFailure::kConnectionLost, L"connection-lost", L"网络连接中断，安装包没有下载完整，请重试。"},
    {InstallFailure::kStalled, L"stalled", L"下载停滞：服务器长时间没有发送数据，请检查网络后重试。"},
    {InstallFailure::kSecureConnection, L"secure-connection",
     L"无法建立安全连接：下载服务器的证书无法验证，请检查网络环境或系统时间。"},
    {InstallFailure::kTooManyRedirects, L"too-many-redirects", L"下载失败：下载地址被反复重定向，请稍后重试。"},
    {InstallFailure::kHttpStatus, L"http-status", L"下载失败：服务器返回错误 (HTTP %d)，请稍后重试。"},
    {InstallFailure::kDiskSpace, L"disk-space", L"磁盘空间不足：需要 %s，可用 %s。请清理磁盘后重试。"},
    {InstallFailure::kDiskWrite, L"disk-write", L"无法保存安装包：磁盘空间不足或临时文件夹不可写入。"},
    {InstallFailure::kSignatureMissing, L"signature-missing", L"安装包缺少数字签名，无法确认来源，已停止安装。"},
    {InstallFailure::kSignatureInvalid, L"signature-invalid",
     L"安装包的数字签名无效：文件可能已被篡改或损坏，已停止安装。"},
    {InstallFailure::kDamagedPackage, L"damaged-package", L"安装包已损坏，请重试。"},
    {InstallFailure::kUnsafePackage, L"unsafe-package", L"安装包含有不安全的文件路径，已停止安装。"},
    {InstallFailure::kUnpackFailed, L"unpack-failed",
     L"解压安装包失败：安装包可能已损坏，或安装目录空间不足、不可写入。"},
    {InstallFailure::kClientMissing, L"client-missing", L"安装包不完整：缺少主程序 VexoClient.exe。"},
    {InstallFailure::kRegistrationFailed, L"registration-failed",
     L"无法创建快捷方式或写入卸载信息，请以管理员身份运行安装程序。"},
    {InstallFailure::kNoWorker, L"no-worker", L"系统资源不足，无法开始安装，请关闭其他程序后重试。"},
};

const FailureText& TextOf(InstallFailure failure) {
  for (const FailureText& row : kFailureTexts) {
    if (row.failure == failure) return row;
  }
  return kFailureTexts[0];
}

}  // namespace

CWString SizeText(std::int64_t bytes) {
  CWString text;
  const double megabytes = static_cast<double>(bytes) / (1024.0 * 1024.0);
  if (megabytes >= 1024.0) {
    text.Format(L"%.1f GB", megabytes / 1024.0);
  } else {
    text.Format(L"%.1f MB", megabytes);
  }
  return text;
}

CWString DescribeOutcome(const InstallOutcome& outcome) {
  CWString text;
  if (outcome.ok()) return text;
  const wchar_t* message = TextOf(outcome.failure).message;
  if (outcome.failure == InstallFailure::kDiskSpace) {
    text.Format(message, SizeText(outcome.needed_bytes).GetText(), SizeText(outcome.free_bytes).GetText());
  } else {
    text.Format(message, outcome.http_status);
  }
  return text;
}

const wchar_t* FailureName(InstallFailure failure) { return TextOf(failure).name; }

}  // namespace vexo::app
