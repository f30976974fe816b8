#include "package/uninstall/uninstall_report.h"

#include <algorithm>

#include "package/product.h"

namespace vexo::uninstall {

namespace {

// Failures listed one by one before the rest is only counted, so the box still fits on the screen.
constexpr std::size_t kListedFailures = 8;

using Kind = RemovalFailure::Kind;

struct KindWords {
  Kind kind;
  const wchar_t* label;
  const wchar_t* prefix;  // put before the item, e.g. the registry root
};

constexpr KindWords kKindWords[] = {
    {Kind::kFile, L"文件", L""},
    {Kind::kFolder, L"文件夹", L""},
    {Kind::kShortcut, L"快捷方式", L""},
    {Kind::kRegistryKey, L"注册表项", L"HKEY_LOCAL_MACHINE\\"},
    {Kind::kUninstaller, L"卸载程序", L""},
};

struct ErrorWords {
  DWORD error;
  const wchar_t* reason;
};

constexpr ErrorWords kErrorWords[] = {
    {ERROR_SHARING_VIOLATION, L"正在被其他程序使用，请先关闭 Vexo助手 再试"},
    {ERROR_LOCK_VIOLATION, L"正在被其他程序使用，请先关闭 Vexo助手 再试"},
    {ERROR_USER_MAPPED_FILE, L"正在被其他程序使用，请先关闭 Vexo助手 再试"},
    // Windows refuses to delete a running program's file this way too.
    {ERROR_ACCESS_DENIED, L"正在运行或没有删除权限，请先关闭 Vexo助手 再试；仍不行时请以管理员身份运行卸载程序"},
    {ERROR_WRITE_PROTECT, L"所在磁盘处于写保护状态"},
    {ERROR_FILE_TOO_LARGE, L"文件过大，不是有效的卸载清单"},
};

std::wstring Reason(DWORD error) {
  const auto* found = std::find_if(std::begin(kErrorWords), std::end(kErrorWords),
                                   [&](const ErrorWords& words) { return words.error == error; });
  if (found != std::end(kErrorWords)) return found->reason;
  return L"Windows 错误代码 " + std::to_wstring(error);
}

std::wstring FailureLine(const RemovalFailure& failure) {
  const auto* words = std::find_if(std::begin(kKindWords), std::end(kKindWords),
                                   [&](const KindWords& entry) { return entry.kind == failure.kind; });
  return std::wstring(L"• ") + words->label + L" " + words->prefix + failure.item + L"：" + Reason(failure.error);
}

}  // namespace

std::wstring ReportCaption() { return std::wstring(product::kDisplayName) + L" 卸载"; }

std::wstring ConfirmationText(const std::wstring& install_folder) {
  return std::wstring(L"确定要从此计算机中卸载 ") + product::kDisplayName + L" 吗？\n\n安装位置：" +
         install_folder + L"\n\n只删除随 " + product::kDisplayName + L" 安装的文件、快捷方式和卸载信息，" +
         L"您自己放在该文件夹中的文件会保留。";
}

std::wstring UnreadableListText(DWORD error) {
  const std::wstring list_name = product::kUninstallListName;
  const std::wstring what = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                                ? L"找不到卸载清单 " + list_name
                                : L"无法读取卸载清单 " + list_name + L"（" + Reason(error) + L"）";
  return what + L"，无法确定要删除哪些文件。未删除任何内容。";
}

std::wstring RefusedListText(const UninstallList& list) {
  const std::wstring line = L"卸载清单 " + std::wstring(product::kUninstallListName) + L" 第 " +
                            std::to_wstring(list.refused_line) + L" 行";
  const std::wstring problem = list.refused_text.empty()
                                   ? L"不是有效的 UTF-8 文本"
                                   : L"“" + list.refused_text + L"”不是安装文件夹内的文件路径";
  return line + problem + L"，清单可能已损坏或被改动。为安全起见，未删除任何内容。";
}

std::wstring OutcomeText(const RemovalOutcome& outcome) {
  const std::wstring name = product::kDisplayName;
  if (outcome.failures.empty()) return name + L" 已从您的计算机中卸载。";
  std::wstring text = name + L" 未能完全卸载，以下项目未能删除：\n";
  const std::size_t listed = std::min(outcome.failures.size(), kListedFailures);
  for (std::size_t i = 0; i < listed; ++i) text += L"\n" + FailureLine(outcome.failures[i]);
  if (outcome.failures.size() > listed) {
    text += L"\n……另有 " + std::to_wstring(outcome.failures.size() - listed) + L" 项";
  }
  if (!outcome.completed) {
    text += L"\n\n卸载程序和卸载信息已保留：解决上述问题后（例如关闭正在运行的 " + name +
            L"），再次运行卸载程序即可完成卸载。";
  }
  return text;
}

std::wstring CommandLineText() {
  return std::wstring(L"无法识别的命令行参数，未删除任何内容。\n\n用法：") + product::kUninstallerExeName +
         L" [/S]\n/S  静默卸载，不显示确认和结果。";
}

}  // namespace vexo::uninstall
