// The launcher's entry: the framework runs the application object's InitInstance, which holds the
// launcher's whole life.
#include "CLauncherApp.h"

namespace {
CLauncherApp g_launcherApp;
}

int main() { return &g_launcherApp == AfxGetApp() ? panel::RunApp() : 1; }
