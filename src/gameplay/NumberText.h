// NumberText: the game's number conversions for its "key[value]rest" files: leading blanks, an
// optional sign and decimal digits (with point and exponent for floats); reading stops at the
// first other character. Failures carry the conversion's own error texts.
// Depends on: nothing beyond the standard library.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Reads integer text into value; on failure returns false with "invalid stoi argument" or
// "stoi argument out of range" in error.
bool ParseInt32(std::string_view text, int32_t& value, std::string& error);
// Reads floating text into value; on failure returns false with "invalid stof argument" or
// "stof argument out of range" in error (overflow and underflow alike).
bool ParseFloat(std::string_view text, float& value, std::string& error);
