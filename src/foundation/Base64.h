// Base64 with the standard alphabet and "=" padding, without line breaks.
#pragma once
#include <string>

std::string Base64Encode(const std::string& Data);
// Empty when the length is not a multiple of 4, a character is outside the alphabet, or "="
// stands anywhere but as trailing padding (the last one or two characters).
std::string Base64Decode(const std::string& Text);
