// The two level readers: the file shapes they accept and every rejection, with its exact text.
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "level/level.h"
#include "support/level_fixture.h"

namespace {

const std::string kBom = "\xEF\xBB\xBF";
const std::string kTooSmall = "Speelveld is te klein!\n";
const std::string kBadCell = "Ow jee, alleen '0' en '1' toegestaan\n";
const std::string kUneven = "Ow jee, deze regel is niet even lang als de eerste :(\n";
const std::string kTooManySupplies = "Te veel kolommen, meer dan in speelveld.txt";
const std::string kTooFewSupplies = "Aantal kolommen niet gelijk aan data in speelveld.txt";
const std::string kBadJewel = "Ow jee, alleen '0' tot '9' toegestaan\n";

const std::vector<std::string> kExampleLayout = {"00000", "00000", "00000", "00010", "11011", "11111"};
const std::string kExampleSupply = "0123\n45\n6789\n0\n11";

std::string repeated(const std::string& text, int times) {
    std::string result;
    for (int i = 0; i < times; ++i) result += text;
    return result;
}

// Reads the bytes as the layout file (no file at all when absent); returns the
// error text, or "" when the file was accepted.
std::string readLayoutBytes(const std::optional<std::string>& bytes) {
    TempDir dir;
    if (bytes) dir.write("speelveld.txt", *bytes);
    try {
        readLayoutFile(dir.file("speelveld.txt"));
    } catch (const LevelError& error) {
        return error.what();
    }
    return "";
}

std::string readSupplyBytes(const std::vector<std::string>& layout, const std::optional<std::string>& bytes) {
    EXPECT_EQ(readLayoutBytes(joinLines(layout)), "");
    TempDir dir;
    if (bytes) dir.write("kolommen.txt", *bytes);
    try {
        readSupplyFile(dir.file("kolommen.txt"));
    } catch (const LevelError& error) {
        return error.what();
    }
    return "";
}

struct AcceptedLayout {
    const char* name;
    std::string bytes;
    std::uint32_t rowCount;
    std::vector<std::uint32_t> heights;
    std::uint32_t tallestColumn;
    std::uint32_t jewelSpaces;
    float averageHeight;
};

TEST(LayoutFile, AcceptedFilesGiveColumnHeights) {
    // Each height counts the rows above the unbroken rock at the column's bottom.
    const AcceptedLayout cases[] = {
        {"example", joinLines(kExampleLayout), 6, {4, 4, 5, 3, 4}, 5, 20, 4.0f},
        {"final line feed", joinLines(kExampleLayout) + "\n", 6, {4, 4, 5, 3, 4}, 5, 20, 4.0f},
        {"CRLF line ends", "00000\r\n00000\r\n00000\r\n00010\r\n11011\r\n11111\r\n", 6, {4, 4, 5, 3, 4}, 5, 20, 4.0f},
        {"empty lines before, between and after the rows", "\n\r\n00000\n00000\n\n\n00000\n00010\n\r\n11011\n11111\n\n",
         6, {4, 4, 5, 3, 4}, 5, 20, 4.0f},
        {"a 1 with a 0 below it is a jewel space", joinLines({"10000", "00000", "10000", "10100", "10101"}), 5,
         {2, 5, 3, 5, 4}, 5, 19, 3.8f},
        {"rock only", repeated("11111\n", 5), 5, {0, 0, 0, 0, 0}, 0, 0, 0.0f},
        {"exactly 50 rows", repeated("00000\n", 50), 50, {50, 50, 50, 50, 50}, 50, 250, 50.0f},
        {"exactly 50 columns, bottom row rock", repeated(std::string(50, '0') + "\n", 4) + std::string(50, '1'), 5,
         std::vector<std::uint32_t>(50, 4), 4, 200, 4.0f},
    };
    for (const AcceptedLayout& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(readLayoutBytes(c.bytes), "");
        EXPECT_EQ(Level.rowCount, c.rowCount);
        ASSERT_EQ(Level.columnCount, c.heights.size());
        EXPECT_EQ(std::vector<std::uint32_t>(Level.columnHeight.begin(), Level.columnHeight.begin() + Level.columnCount),
                  c.heights);
        EXPECT_EQ(Level.tallestColumn, c.tallestColumn);
        EXPECT_EQ(Level.stride, c.tallestColumn < 16 ? 16 : c.tallestColumn) << "a low field stores one block per column";
        EXPECT_EQ(Level.jewelSpaceCount, c.jewelSpaces);
        EXPECT_FLOAT_EQ(Level.averageColumnHeight, c.averageHeight);
    }
}

struct RejectedLayout {
    const char* name;
    std::optional<std::string> bytes;  // absent: no file
    std::string message;
};

TEST(LayoutFile, MalformedFilesAreRejectedWithTheirMessage) {
    const std::string fiftyRows = repeated("00000\n", 50);
    const RejectedLayout cases[] = {
        {"missing file", std::nullopt, "Kon bestand niet openen... asdfjkl; "},
        {"empty file", "", kTooSmall},
        {"only empty lines", "\n\r\n\n", kTooSmall},
        {"four rows", repeated("00000\n", 4), kTooSmall},
        {"four columns", repeated("0000\n", 5), kTooSmall},
        {"too small, but a bad character comes first", "0000\n00x0\n", kBadCell},
        {"too small, but a short row comes first", "0000\n000\n", kUneven},
        {"51st line, whatever it holds", fiftyRows + "x y", "Te veel regels! (>50)\n"},
        {"first row of 51", std::string(51, '0') + "\n" + repeated(std::string(51, '0') + "\n", 4),
         "Te veel kolommen! (>50)\n"},
        {"later row of 51", std::string(20, '0') + "\n" + std::string(51, '0'), kUneven},
        {"byte-order mark before 48 cells", kBom + repeated(std::string(48, '0') + "\n", 5), "Te veel kolommen! (>50)\n"},
        {"byte-order mark before 5 cells", kBom + joinLines(kExampleLayout), kBadCell},
        {"a space", "00000\n00 00\n00000\n00000\n00000\n", kBadCell},
        {"a tab", "00000\n00\t00\n00000\n00000\n00000\n", kBadCell},
        {"trailing space on the first row", "00000 \n00000\n00000\n00000\n00000\n", kBadCell},
        {"trailing space on a later row", "00000\n00000 \n00000\n00000\n00000\n", kUneven},
        {"a lone carriage return", "00000\n00\r00\n00000\n00000\n00000\n", kBadCell},
        // Without a line feed after it the carriage return is a sixth character.
        {"carriage return at the end of the file", repeated("00000\n", 4) + "00000\r", kUneven},
    };
    for (const RejectedLayout& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(readLayoutBytes(c.bytes), c.message);
    }
}

struct SupplyCase {
    const char* name;
    std::vector<std::string> layout;
    std::optional<std::string> bytes;  // absent: no file
    std::string message;               // "" when accepted
    std::vector<std::string> supplies; // when accepted: each column's jewels as digits
};

TEST(SupplyFile, LinesBecomeColumnSuppliesOrAreRejected) {
    const std::vector<std::string> lastColumnRock(5, "00001");
    const std::vector<std::string> middleColumnRock(5, "00100");
    const std::string threeHundred = repeated("0123456789", 30);
    const std::vector<std::string> exampleSupplies = {"0123", "45", "6789", "0", "11"};
    const SupplyCase cases[] = {
        {"one line per column", kExampleLayout, kExampleSupply, "", exampleSupplies},
        {"CRLF line ends", kExampleLayout, "0123\r\n45\r\n6789\r\n0\r\n11", "", exampleSupplies},
        {"300 jewels in one line", kExampleLayout, threeHundred + "\n45\n6789\n0\n11", "",
         {threeHundred, "45", "6789", "0", "11"}},
        {"line feed after the last line", kExampleLayout, kExampleSupply + "\n", kTooManySupplies, {}},
        {"a line too many, holding junk", kExampleLayout, kExampleSupply + "\nx y", kTooManySupplies, {}},
        {"missing file", kExampleLayout, std::nullopt, kTooManySupplies, {}},
        {"one line short then a line feed, last column rock", lastColumnRock, "0\n1\n2\n3\n", "",
         {"0", "1", "2", "3", ""}},
        {"one line short then a line feed, last column has spaces", kExampleLayout, "0\n1\n2\n3\n",
         "Ow jee, kolom 4 heeft vakken maar geen juwelen\n", {}},
        {"empty line over a rock column", middleColumnRock, "01\n2\n\n345\n6", "", {"01", "2", "", "345", "6"}},
        {"empty line over jewel spaces", kExampleLayout, "01\n2\n\n345\n6",
         "Ow jee, kolom 2 heeft vakken maar geen juwelen\n", {}},
        {"fewer lines than columns", kExampleLayout, "0123\n45\n6789", kTooFewSupplies, {}},
        {"empty file", kExampleLayout, "", kTooFewSupplies, {}},
        {"a space", kExampleLayout, "0123\n4 5\n6789\n0\n11", kBadJewel, {}},
        {"a letter", kExampleLayout, "0123\n45\n67a9\n0\n11", kBadJewel, {}},
        {"a colon, the character after 9", kExampleLayout, "0123\n45\n6789\n0\n1:", kBadJewel, {}},
        {"a sign", kExampleLayout, "0123\n45\n6789\n-0\n11", kBadJewel, {}},
        {"a byte-order mark", kExampleLayout, kBom + kExampleSupply, kBadJewel, {}},
        {"a lone carriage return", kExampleLayout, "01\r23\n45\n6789\n0\n11", kBadJewel, {}},
        {"a carriage return at the end of the file", kExampleLayout, kExampleSupply + "\r", kBadJewel, {}},
    };
    for (const SupplyCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(readSupplyBytes(c.layout, c.bytes), c.message);
        if (!c.message.empty()) continue;
        std::vector<std::string> supplies;
        for (const SupplyColumn& column : Level.supply) {
            std::string digits;
            for (std::uint8_t jewel : column.jewels) digits += static_cast<char>('0' + jewel);
            supplies.push_back(digits);
        }
        EXPECT_EQ(supplies, c.supplies);
    }
}

struct SupplyStatistics {
    const char* name;
    std::string bytes;
    std::uint32_t jewelCount;
    std::array<std::uint32_t, kJewelKinds> kindCount;
    std::uint32_t longest;
    float average;
};

TEST(SupplyFile, StatisticsCountEveryJewel) {
    const SupplyStatistics cases[] = {
        // 4 + 2 + 4 + 1 + 2 jewels; kind 0 twice, kind 1 three times.
        {"example", kExampleSupply, 13, {2, 3, 1, 1, 1, 1, 1, 1, 1, 1}, 4, 2.6f},
        {"kinds that never occur", "1111\n22\n333\n1\n2", 11, {0, 5, 3, 3, 0, 0, 0, 0, 0, 0}, 4, 2.2f},
    };
    for (const SupplyStatistics& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(readSupplyBytes(kExampleLayout, c.bytes), "");
        EXPECT_EQ(Level.supplyJewelCount, c.jewelCount);
        EXPECT_EQ(Level.supplyKindCount, c.kindCount);
        for (std::uint32_t kind = 0; kind < kJewelKinds; ++kind)
            EXPECT_FLOAT_EQ(Level.supplyKindShare[kind], static_cast<float>(c.kindCount[kind]) / c.jewelCount);
        EXPECT_EQ(Level.longestSupply, c.longest);
        EXPECT_FLOAT_EQ(Level.averageSupplyLength, c.average);
    }
}

}  // namespace
