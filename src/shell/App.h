// App: the entry point's work: start-up in its fixed order, the frame loop, and the shutdown
// that always saves the signed-in account.
// Depends on: shell/CommandLine.h and every service.
#pragma once

#include "shell/CommandLine.h"

// Runs the game as the options say; returns the process exit status.
int RunApp(const Options& options);
// Checks the content folder of the options; returns the exit status.
int RunCheck(const Options& options);
