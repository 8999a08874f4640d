// SelectionFile: the selection's order and grouping, remembered in a small file of their own,
// "Selection.cfg" beside "Display.cfg" ("Config.cfg" keeps its format exactly):
//     Order[title]
//     Group[1]
// Order is one of list, title, credit, rating, added, played, most-played; Group is 0 or 1.
// Read and written in the working directory, like "Config.cfg".
// Depends on: settings/KeyValueReader.h, selection/SongOrder.h, platform/files.
#pragma once

#include <string>
#include <string_view>

#include "selection/SongOrder.h"

// The file's name.
inline constexpr const char* kSelectionFile = "Selection.cfg";

// Reads the file's text into rule's order and grouping; false with "LINE: message" in error
// for an unknown order or a Group other than 0 or 1. Other keys are skipped.
bool ParseSelectionText(std::string_view text, ViewRule* rule, std::string* error);
// The file's text for a rule.
std::string FormatSelectionText(const ViewRule& rule);

// Reads the file; a missing one gives the list's order without grouping. A file that cannot
// be read or says something else is named on stderr, set aside and read as missing.
ViewRule LoadSelectionRule();
// Writes the rule's order and grouping atomically (private to the player); false with the
// reason on stderr.
bool SaveSelectionRule(const ViewRule& rule);
