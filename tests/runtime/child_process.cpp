#include "tests/runtime/child_process.h"

#include <set>

#include "runtime/win/scoped_handles.h"

namespace testing_support {

namespace {

std::wstring WindowText(HWND window) {
  wchar_t text[1024] = {};
  ::GetWindowTextW(window, text, 1024);
  return text;
}

std::wstring ClassName(HWND window) {
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  return name;
}

struct BoxSearch {
  DWORD process_id;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectBoxes(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<BoxSearch*>(context);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner == search->process_id && ClassName(window) == L"#32770" && ::IsWindowVisible(window)) {
    search->found.push_back(window);
  }
  return TRUE;
}

struct BoxContent {
  std::wstring text;
  HICON icon = nullptr;
};

// A message box holds its text in a static control with text, its icon in a static control with SS_ICON.
BOOL CALLBACK ReadBoxChild(HWND child, LPARAM context) {
  auto* content = reinterpret_cast<BoxContent*>(context);
  if (ClassName(child) != L"Static") return TRUE;
  if ((::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
    content->icon = reinterpret_cast<HICON>(::SendMessageW(child, STM_GETICON, 0, 0));
    return TRUE;
  }
  std::wstring text = WindowText(child);
  if (!text.empty()) content->text = text;
  return TRUE;
}

}  // namespace

std::wstring SiblingPath(const wchar_t* file_name) {
  wchar_t path[MAX_PATH] = {};
  DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  return folder.substr(0, folder.find_last_of(L"\\/") + 1) + file_name;
}

ChildOutcome RunChildAnsweringBoxes(const std::wstring& program, const std::wstring& arguments,
                                    const std::vector<int>& answers, DWORD timeout_ms) {
  ChildOutcome outcome;
  std::wstring command_line = L"\"" + program + L"\" " + arguments;
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  if (!::CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
    return outcome;
  }
  outcome.started = true;
  outcome.process_id = info.dwProcessId;
  vexo::win::ScopedHandle process(info.hProcess);
  vexo::win::ScopedHandle thread(info.hThread);

  std::set<HWND> answered;
  DWORD waited = 0;
  for (;;) {
    BoxSearch search{info.dwProcessId, {}};
    ::EnumWindows(CollectBoxes, reinterpret_cast<LPARAM>(&search));
    for (HWND box : search.found) {
      if (!answered.insert(box).second) continue;
      BoxContent content;
      ::EnumChildWindows(box, ReadBoxChild, reinterpret_cast<LPARAM>(&content));
      const int answer = outcome.boxes.size() < answers.size() ? answers[outcome.boxes.size()] : IDOK;
      outcome.boxes.push_back({WindowText(box), content.text, content.icon});
      ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
    }
    if (::WaitForSingleObject(process.get(), 50) == WAIT_OBJECT_0) break;
    waited += 50;
    if (waited >= timeout_ms) {
      outcome.timed_out = true;
      ::TerminateProcess(process.get(), 1);
      ::WaitForSingleObject(process.get(), INFINITE);
      break;
    }
  }
  ::GetExitCodeProcess(process.get(), &outcome.exit_code);
  return outcome;
}

}  // namespace testing_support
