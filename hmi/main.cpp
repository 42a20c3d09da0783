// The main program's entry: the framework runs the application object's InitInstance, which holds
// the program's whole life.
#include "CHmiApp.h"

int main() {
  // g_app registers itself as the application when the statics are built.
  return &g_app == AfxGetApp() ? panel::RunApp() : 1;
}
