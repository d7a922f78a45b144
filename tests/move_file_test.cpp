// The move file's line format as verify and show read it.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "driver/move_file.h"
#include "support/move_printing.h"

namespace {

struct MoveLineCase {
    const char* name;
    std::string line;
    std::optional<Move> move;  // nothing: not a move line
};

TEST(MoveLine, ReadsColumnBlankRowBlankLetterAndNothingElse) {
    const MoveLineCase cases[] = {
        {"a Z move", "3 5 Z", Move{3, 5, South}},
        {"two-digit column, row 0, O", "12 0 O", Move{12, 0, East}},
        {"N", "0 10 N", Move{0, 10, North}},
        {"W", "49 49 W", Move{49, 49, West}},
        {"leading zeros are still decimal numbers", "03 007 O", Move{3, 7, East}},
        {"a column past 32 bits reads as the largest", "99999999999 1 O", Move{4294967295u, 1, East}},
        {"the largest 32-bit row", "1 4294967295 Z", Move{1, 4294967295u, South}},
        {"empty", "", std::nullopt},
        {"no letter", "3 5", std::nullopt},
        {"no blank before the letter", "3 5Z", std::nullopt},
        {"two blanks around no row", "3  Z", std::nullopt},
        {"a leading blank before no column", " 5 Z", std::nullopt},
        {"trailing blank", "3 5 Z ", std::nullopt},
        {"tab for a blank", "3\t5 Z", std::nullopt},
        {"minus sign", "-1 5 Z", std::nullopt},
        {"plus sign", "+1 5 Z", std::nullopt},
        {"lower-case letter", "3 5 z", std::nullopt},
        {"English letter E", "3 5 E", std::nullopt},
        {"two letters", "3 5 ZZ", std::nullopt},
        {"letter for a number", "a 5 Z", std::nullopt},
        {"a carriage return is not part of a move", "3 5 Z\r", std::nullopt},
        {"a fourth field", "3 5 Z 1", std::nullopt},
    };
    for (const MoveLineCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(parseMoveLine(c.line), c.move);
    }
}

}  // namespace
