// Entry point of Install.exe: hands the process to the runtime's host with the installer's startup class.
#include <cstdlib>

#include "app/startup_class.h"
#include "runtime/app_host.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  return vexo::RunApplication<rg_Pelor_ChengXu::rg_QiDongLei>(instance, __argc, __wargv);
}
