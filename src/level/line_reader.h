#pragma once

#include <istream>
#include <string>

// Reads one line as both level files define it: it ends at a line feed or at the
// end of the file, and a carriage return directly before the line feed belongs to
// the line end. A failed read yields an empty line.
inline void readLevelLine(std::istream& in, std::string& line) {
    line.clear();
    std::getline(in, line);
    const bool endedAtLineFeed = !in.eof() && !in.fail();
    if (endedAtLineFeed && !line.empty() && line.back() == '\r') line.pop_back();
}
