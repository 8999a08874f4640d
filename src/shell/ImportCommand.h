// ImportCommand: `lyrandel --import PATH... [--data DIR]`: imports the songs of the paths into
// the data folder, prints the report on stdout and returns the exit status (0 when every song
// found was imported, 1 when any was skipped or nothing could be written).
// Depends on: shell/CommandLine.h, import/Importer.h.
#pragma once

#include "shell/CommandLine.h"

// Runs the import the options ask for; returns the exit status.
int RunImport(const Options& options);
