// Entry point of Quellmoor.exe: a thin WinMain over the application object.
#include <windows.h>

#include "app/App.h"

namespace {
// The one application object, constructed before the entry point runs.
qm::CZuvere_KelApp theApp;
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return theApp.Run(); }
