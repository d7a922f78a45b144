#pragma once

// The whole run in the working directory, from the greeting on; returns the exit status.
int runProgram();
