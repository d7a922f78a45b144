#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ai/ai.h"
#include "driver/benchmark.h"

// The class name of the survival strategy, which the match keeps outside the roster.
inline constexpr const char* kFallbackAiName = "SurviveAi";

// A strategy as people name it: a roster index 0 to 9, 7777 for the survival
// strategy, or the class name of either. Answers the index, or kFallbackAiNumber.
// Throws ToolError for any other name.
unsigned strategyNumber(const std::string& name);

// A new strategy of the kind strategyNumber answered.
std::unique_ptr<Ai> makeStrategy(unsigned number);

// The roster strategies named in a list, by index or class name. Throws ToolError
// for a name that is not in the roster.
RosterSelection rosterSelection(const std::vector<std::string>& names);
