// Feeds arbitrary bytes to the two level readers. An input is the layout file,
// a 0xFF byte and the supply file; without a 0xFF byte it is the layout file
// alone and the supply file is missing. (Neither file format has a use for
// 0xFF, so any level converts to an input by joining its files with it.)
//
// Every input must end in one of two ways: a LevelError carrying one of the
// readers' messages, namely the one a plain line-by-line reading of the same
// bytes expects, or a Level that holds together and holds what the files say.
// The unit tests run this check on the committed seeds and on variations of them.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "level/level.h"

namespace {

const std::string kTooManyRows = "Te veel regels! (>50)\n";
const std::string kTooManyColumns = "Te veel kolommen! (>50)\n";
const std::string kUneven = "Ow jee, deze regel is niet even lang als de eerste :(\n";
const std::string kBadCell = "Ow jee, alleen '0' en '1' toegestaan\n";
const std::string kTooSmall = "Speelveld is te klein!\n";
const std::string kTooManySupplies = "Te veel kolommen, meer dan in speelveld.txt";
const std::string kBadJewel = "Ow jee, alleen '0' tot '9' toegestaan\n";
const std::string kTooFewSupplies = "Aantal kolommen niet gelijk aan data in speelveld.txt";

std::string unfillableMessage(std::uint32_t column) {
    char message[96];
    std::snprintf(message, sizeof message, "Ow jee, kolom %u heeft vakken maar geen juwelen\n", column);
    return message;
}

// Lines as both formats define them: a line ends at a line feed, which takes a
// carriage return directly before it along; whatever follows the last line
// feed is one more line, empty when the file ends in one.
std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t feed = text.find('\n', start);
        if (feed == std::string::npos) {
            lines.push_back(text.substr(start));
            return lines;
        }
        std::string line = text.substr(start, feed - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = feed + 1;
    }
}

struct ExpectedLevel {
    std::string error;  // "" when both files are accepted
    std::uint32_t columns = 0;
    std::uint32_t rows = 0;
    std::vector<std::uint32_t> heights;
    std::vector<std::string> supplies;  // digits, one line per column
};

// The layout read the slow way: the rows as strings, the first fault in file order wins.
void expectLayout(const std::string& text, ExpectedLevel& expected) {
    std::vector<std::string> rows;
    for (const std::string& line : splitLines(text)) {
        if (line.empty()) continue;
        if (rows.size() == kMaxRows) return void(expected.error = kTooManyRows);
        if (rows.empty() && line.size() > kMaxColumns) return void(expected.error = kTooManyColumns);
        if (!rows.empty() && line.size() != rows.front().size()) return void(expected.error = kUneven);
        if (line.find_first_not_of("01") != std::string::npos) return void(expected.error = kBadCell);
        rows.push_back(line);
    }
    expected.rows = static_cast<std::uint32_t>(rows.size());
    expected.columns = rows.empty() ? 0 : static_cast<std::uint32_t>(rows.front().size());
    if (expected.rows < kMinFieldSize || expected.columns < kMinFieldSize) return void(expected.error = kTooSmall);
    for (std::uint32_t column = 0; column < expected.columns; ++column) {
        std::uint32_t height = expected.rows;
        while (height > 0 && rows[height - 1][column] == '1') --height;
        expected.heights.push_back(height);
    }
}

// A missing supply file reads as endless empty lines.
void expectSupply(const std::string* text, ExpectedLevel& expected) {
    const std::vector<std::string> lines =
        text != nullptr ? splitLines(*text) : std::vector<std::string>(expected.columns + 1);
    for (const std::string& line : lines) {
        if (expected.supplies.size() == expected.columns) return void(expected.error = kTooManySupplies);
        if (line.find_first_not_of("0123456789") != std::string::npos) return void(expected.error = kBadJewel);
        expected.supplies.push_back(line);
    }
    if (expected.supplies.size() != expected.columns) return void(expected.error = kTooFewSupplies);
    for (std::uint32_t column = 0; column < expected.columns; ++column)
        if (expected.heights[column] > 0 && expected.supplies[column].empty())
            return void(expected.error = unfillableMessage(column));
}

// What holds for every level the readers accept: the shape and supplies the
// files give, and the figures the reports print worked out from them.
void checkLevel(const ExpectedLevel& expected) {
    FUZZ_CHECK(Level.columnCount == expected.columns && Level.rowCount == expected.rows, "size %ux%u, expected %ux%u",
               Level.columnCount, Level.rowCount, expected.columns, expected.rows);
    std::uint32_t greatest = 0, spaces = 0;
    for (std::uint32_t column = 0; column < kMaxColumns; ++column) {
        const std::uint32_t height = column < expected.columns ? expected.heights[column] : 0;
        const std::uint64_t rows = height == 0 ? 0 : ~std::uint64_t{0} >> (64 - height);
        FUZZ_CHECK(Level.columnHeight[column] == height && Level.jewelRows[column] == rows,
                   "column %u height %u, expected %u", column, Level.columnHeight[column], height);
        greatest = std::max(greatest, height);
        spaces += height;
    }
    FUZZ_CHECK(
        Level.tallestColumn == greatest && Level.stride == std::max(greatest, 16u) && Level.jewelSpaceCount == spaces,
        "tallest %u, stride %u, spaces %u; the heights give %u and %u", Level.tallestColumn, Level.stride,
        Level.jewelSpaceCount, greatest, spaces);
    FUZZ_CHECK(Level.supply.size() == expected.columns, "%zu supplies", Level.supply.size());
    std::uint32_t jewels = 0, longest = 0;
    std::uint32_t kindCount[kJewelKinds] = {};
    for (std::uint32_t column = 0; column < expected.columns; ++column) {
        const std::vector<std::uint8_t>& supply = Level.supply[column].jewels;
        const std::string& digits = expected.supplies[column];
        FUZZ_CHECK(std::equal(supply.begin(), supply.end(), digits.begin(), digits.end(),
                              [](std::uint8_t kind, char digit) { return kind == digit - '0'; }),
                   "column %u supply differs from its line", column);
        for (const std::uint8_t kind : supply) ++kindCount[kind];
        jewels += static_cast<std::uint32_t>(supply.size());
        longest = std::max(longest, static_cast<std::uint32_t>(supply.size()));
    }
    const auto share = [](std::uint32_t part, std::uint32_t whole) {
        return whole == 0 ? 0.0f : static_cast<float>(part) / static_cast<float>(whole);
    };
    bool kindsCounted = true;
    for (std::uint32_t kind = 0; kind < kJewelKinds; ++kind)
        kindsCounted = kindsCounted && Level.supplyKindCount[kind] == kindCount[kind] &&
                       Level.supplyKindShare[kind] == share(kindCount[kind], jewels);
    FUZZ_CHECK(Level.supplyJewelCount == jewels && Level.longestSupply == longest && kindsCounted &&
                   Level.averageSupplyLength == share(jewels, expected.columns) &&
                   Level.averageColumnHeight == share(spaces, expected.columns),
               "supply figures: %u jewels, longest %u; the supplies give %u and %u", Level.supplyJewelCount,
               Level.longestSupply, jewels, longest);
}

}  // namespace

void checkReaderInput(const std::uint8_t* data, std::size_t size) {
    const auto* bytes = reinterpret_cast<const char*>(data);
    const auto* separator = static_cast<const char*>(std::memchr(bytes, 0xFF, size));
    const std::string layout(bytes, separator != nullptr ? separator : bytes + size);
    const std::string supply = separator != nullptr ? std::string(separator + 1, bytes + size) : std::string();

    const LevelFolder& folder = LevelFolder::instance();
    folder.writeLayout(layout);
    if (separator != nullptr)
        folder.writeSupply(supply);
    else
        folder.removeSupply();

    ExpectedLevel expected;
    expectLayout(layout, expected);
    try {
        readLayoutFile(folder.layoutFile());
    } catch (const LevelError& error) {
        // The layout file is always written, so a message for a file that cannot
        // be opened or read is never the one expected.
        FUZZ_CHECK(!expected.error.empty() && error.what() == expected.error,
                   "layout rejected with \"%s\", expected \"%s\"", error.what(), expected.error.c_str());
        return;
    }
    FUZZ_CHECK(expected.error.empty(), "layout accepted, expected \"%s\"", expected.error.c_str());

    expectSupply(separator != nullptr ? &supply : nullptr, expected);
    try {
        readSupplyFile(folder.supplyFile());
    } catch (const LevelError& error) {
        FUZZ_CHECK(!expected.error.empty() && error.what() == expected.error,
                   "supply rejected with \"%s\", expected \"%s\"", error.what(), expected.error.c_str());
        return;
    }
    FUZZ_CHECK(expected.error.empty(), "supply accepted, expected \"%s\"", expected.error.c_str());
    checkLevel(expected);
}
