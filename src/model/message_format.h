#pragma once
// Values written into the texts of the message files. The texts are data,
// never printf formats: this formatter knows "%i" and "%d" (the value cut
// to a whole number), "%f" (six decimals), "%.Nf" (N decimals, 0 to 9) and
// "%%"; every other '%' sequence ("%s", "%n", "%5d", ...) is copied as it
// stands, and so is a conversion for which no value is left.
#include <cstddef>

// Writes text with the values into out, at most size - 1 characters and a
// NUL (nothing when size is 0). Returns the characters written. Allocates
// nothing.
size_t ZorFormatMessageText(char* out, size_t size, const char* text, const double* values, int count);
// True when text holds a conversion the formatter fills.
bool ZorMessageTextHasConversion(const char* text);
