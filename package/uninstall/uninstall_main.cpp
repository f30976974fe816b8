// Entry point of Uninstall.exe, the product's uninstaller.
#include <cstdlib>

#include "package/uninstall/uninstaller.h"
#include "runtime/win/windows_api.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return vexo::uninstall::RunUninstaller(__argc, __wargv); }
