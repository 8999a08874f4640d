// RecordLines: the reading rules of the game's own small record files (the packs file, the play
// statistics): UTF-8 text, one record a line, fields separated by tabs with the free-text field
// last, empty lines and lines starting with "#" skipped.
// Depends on: the standard library only.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

// Hands each record line to take; the 1-based numbers of the lines it refuses go to bad.
void ReadRecordLines(std::string_view text, const std::function<bool(std::string_view)>& take,
                     std::vector<int>& bad);
// Splits a line at its first count - 1 tabs into count fields (the last keeps any further
// tabs); false when it has fewer.
bool SplitRecord(std::string_view line, std::string_view* fields, int count);
// Reads a count of digits only (at most 18, so it fits); false for anything else.
bool ReadDigits(std::string_view text, int64_t& value);
