#include "install/run_state.h"

bool UninstallEnabled = false;
bool InstallErrors = false;
bool AbortRequested = false;
