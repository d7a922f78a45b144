#pragma once

// Prints as printf does, then hands the text to the system at once: a log read
// through a pipe shows the run as it goes, and a killed run keeps what it printed.
[[gnu::format(printf, 1, 2)]] void printNow(const char* format, ...);
