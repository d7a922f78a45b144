#include "tool/strategy_choice.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "ai/survive.h"
#include "driver/match.h"
#include "tool/tool_errors.h"

namespace {

bool isDecimal(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<unsigned> numberNamed(const std::string& name) {
    if (isDecimal(name)) {
        unsigned number = 0;
        const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), number);
        if (error == std::errc() && (number < kRosterSize || number == kFallbackAiNumber)) return number;
        return std::nullopt;
    }
    if (name == kFallbackAiName) return kFallbackAiNumber;
    const auto named = std::find(kRosterNames.begin(), kRosterNames.end(), name);
    if (named == kRosterNames.end()) return std::nullopt;
    return static_cast<unsigned>(named - kRosterNames.begin());
}

}  // namespace

unsigned strategyNumber(const std::string& name) {
    const std::optional<unsigned> number = numberNamed(name);
    if (!number)
        throw ToolError("unknown strategy '" + name + "': give 0 to 9, " + std::to_string(kFallbackAiNumber) +
                        " or a class name such as " + kRosterNames[0]);
    return *number;
}

std::unique_ptr<Ai> makeStrategy(unsigned number) {
    if (number == kFallbackAiNumber) return std::make_unique<SurviveAi>();
    return makeRosterAi(number);
}

RosterSelection rosterSelection(const std::vector<std::string>& names) {
    RosterSelection selection;
    for (const std::string& name : names) {
        const unsigned number = strategyNumber(name);
        if (number == kFallbackAiNumber)
            throw ToolError("strategy '" + name + "' is not in the roster the benchmark measures");
        selection.set(number);
    }
    return selection;
}
