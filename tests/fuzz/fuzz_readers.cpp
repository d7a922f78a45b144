// Feeds arbitrary bytes to the two level readers. An input is the layout file,
// a 0xFF byte and the supply file; without a 0xFF byte it is the layout file
// alone and the supply file is missing. (Neither file format has a use for
// 0xFF, so any level converts to an input by joining its files with it.)
//
// Every input must end in one of two ways: a LevelError carrying one of the
// readers' messages, namely the one a plain line-by-line reading of the same
// bytes expects, or a Level that holds together and holds what the files say.
// The unit tests run this check on the committed seeds and on variations of them.
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
const char* const kUnfillableFormat = "Ow jee, kolom %u heeft vakken maar geen juwelen\n";

std::string unfillableMessage(std::uint32_t column) {
    char message[96];
    std::snprintf(message, sizeof message, kUnfillableFormat, column);
    return message;
}

// The layout file is always written, so its reader can only complain about
// what the file holds; the messages for a file that cannot be opened or read
// would be faults here.
bool isLayoutMessage(const std::string& message) {
    for (const std::string* known : {&kTooManyRows, &kTooManyColumns, &kUneven, &kBadCell, &kTooSmall})
        if (message == *known) return true;
    return false;
}

bool isSupplyMessage(const std::string& message) {
    if (message == kTooManySupplies || message == kBadJewel || message == kTooFewSupplies) return true;
    unsigned column = 0;
    int consumed = 0;
    return std::sscanf(message.c_str(), "Ow jee, kolom %u heeft vakken maar geen juwelen\n%n", &column, &consumed) == 1 &&
           static_cast<std::size_t>(consumed) == message.size() && message == unfillableMessage(column);
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

// What holds for every level the readers accept, checked field by field.
void checkLevel(const ExpectedLevel& expected) {
    FUZZ_CHECK(Level.columnCount == expected.columns && Level.rowCount == expected.rows,
               "size %ux%u, expected %ux%u", Level.columnCount, Level.rowCount, expected.columns, expected.rows);
    FUZZ_CHECK(Level.columnCount >= kMinFieldSize && Level.columnCount <= kMaxColumns, "column count %u",
               Level.columnCount);
    FUZZ_CHECK(Level.rowCount >= kMinFieldSize && Level.rowCount <= kMaxRows, "row count %u", Level.rowCount);

    std::uint32_t greatest = 0, spaces = 0;
    for (std::uint32_t column = 0; column < kMaxColumns; ++column) {
        const std::uint32_t height = Level.columnHeight[column];
        const std::uint64_t rows = Level.jewelRows[column];
        if (column >= Level.columnCount) {
            FUZZ_CHECK(height == 0 && rows == 0, "column %u beyond the field has height %u", column, height);
            continue;
        }
        FUZZ_CHECK(height == expected.heights[column], "column %u height %u, expected %u", column, height,
                   expected.heights[column]);
        FUZZ_CHECK(height <= Level.rowCount, "column %u height %u above %u rows", column, height, Level.rowCount);
        const std::uint64_t wanted = height == 0 ? 0 : ~std::uint64_t{0} >> (64 - height);
        FUZZ_CHECK(rows == wanted, "column %u of height %u has jewel rows %llx", column, height,
                   static_cast<unsigned long long>(rows));
        if (height > greatest) greatest = height;
        spaces += height;
    }
    FUZZ_CHECK(Level.tallestColumn == greatest, "tallest column %u, greatest height %u", Level.tallestColumn, greatest);
    FUZZ_CHECK(Level.stride == (greatest < 16 ? 16 : greatest), "stride %u, greatest height %u", Level.stride, greatest);
    FUZZ_CHECK(Level.jewelSpaceCount == spaces, "%u jewel spaces counted, heights sum to %u", Level.jewelSpaceCount,
               spaces);
    FUZZ_CHECK(Level.averageColumnHeight == static_cast<float>(spaces) / static_cast<float>(Level.columnCount),
               "average height %f", static_cast<double>(Level.averageColumnHeight));

    FUZZ_CHECK(Level.supply.size() == Level.columnCount, "%zu supplies for %u columns", Level.supply.size(),
               Level.columnCount);
    std::uint32_t jewels = 0, longest = 0;
    std::uint32_t kindCount[kJewelKinds] = {};
    for (std::uint32_t column = 0; column < Level.columnCount; ++column) {
        const std::vector<std::uint8_t>& supply = Level.supply[column].jewels;
        const std::string& digits = expected.supplies[column];
        FUZZ_CHECK(supply.size() == digits.size(), "column %u supply of %zu jewels, line of %zu", column,
                   supply.size(), digits.size());
        for (std::size_t i = 0; i < supply.size(); ++i) {
            FUZZ_CHECK(supply[i] < kJewelKinds, "column %u jewel %zu is %u", column, i, supply[i]);
            FUZZ_CHECK(supply[i] == digits[i] - '0', "column %u jewel %zu is %u, line says %c", column, i, supply[i],
                       digits[i]);
            ++kindCount[supply[i]];
        }
        FUZZ_CHECK(Level.columnHeight[column] == 0 || !supply.empty(), "column %u has spaces but no supply", column);
        jewels += static_cast<std::uint32_t>(supply.size());
        if (supply.size() > longest) longest = static_cast<std::uint32_t>(supply.size());
    }
    FUZZ_CHECK(Level.supplyJewelCount == jewels, "%u supply jewels counted, %u present", Level.supplyJewelCount, jewels);
    FUZZ_CHECK(Level.longestSupply == longest, "longest supply %u, expected %u", Level.longestSupply, longest);
    FUZZ_CHECK(Level.averageSupplyLength == static_cast<float>(jewels) / static_cast<float>(Level.columnCount),
               "average supply %f", static_cast<double>(Level.averageSupplyLength));
    for (std::uint32_t kind = 0; kind < kJewelKinds; ++kind) {
        FUZZ_CHECK(Level.supplyKindCount[kind] == kindCount[kind], "kind %u counted %u times, present %u", kind,
                   Level.supplyKindCount[kind], kindCount[kind]);
        const float share = jewels == 0 ? 0.0f : static_cast<float>(kindCount[kind]) / static_cast<float>(jewels);
        FUZZ_CHECK(Level.supplyKindShare[kind] == share, "kind %u share %f, expected %f", kind,
                   static_cast<double>(Level.supplyKindShare[kind]), static_cast<double>(share));
    }
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
        FUZZ_CHECK(isLayoutMessage(error.what()), "unknown layout message \"%s\"", error.what());
        FUZZ_CHECK(error.what() == expected.error, "layout rejected with \"%s\", expected \"%s\"", error.what(),
                   expected.error.c_str());
        return;
    }
    FUZZ_CHECK(expected.error.empty(), "layout accepted, expected \"%s\"", expected.error.c_str());

    expectSupply(separator != nullptr ? &supply : nullptr, expected);
    try {
        readSupplyFile(folder.supplyFile());
    } catch (const LevelError& error) {
        FUZZ_CHECK(isSupplyMessage(error.what()), "unknown supply message \"%s\"", error.what());
        FUZZ_CHECK(error.what() == expected.error, "supply rejected with \"%s\", expected \"%s\"", error.what(),
                   expected.error.c_str());
        return;
    }
    FUZZ_CHECK(expected.error.empty(), "supply accepted, expected \"%s\"", expected.error.c_str());
    checkLevel(expected);
}
