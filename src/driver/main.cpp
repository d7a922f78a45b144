#include "driver/run_sequence.h"

// The program takes no arguments: the level files and the move file have fixed
// names in the working directory.
int main() { return runProgram(); }
