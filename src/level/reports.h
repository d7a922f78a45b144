#pragma once

// The "Board" statistics of the layout, with a picture of the effective layout.
void printBoardReport();

// The "Jewel supply" statistics: counts, average length and the share of each kind.
void printSupplyReport();
