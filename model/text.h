// Text helpers shared by every subsystem: printf formatting into std::string
// and the program's string table.
#pragma once

#include <string>

namespace tracemont {

// printf into a std::string (any length).
std::string StrFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));

// "%4.4g": how numbers are shown to the user unless a format says otherwise.
std::string FormatG(double v);

// The English text of a string-table id; an unknown id gives "".
// Subsystems add their texts to the table in model/text.cpp, sorted by id.
std::string LoadStr(int id);

}  // namespace tracemont
