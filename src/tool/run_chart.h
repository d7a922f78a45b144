#pragma once

#include <string>
#include <vector>

#include "tool/run_log.h"

// A chart of runs as an SVG document: the game's score over the moves played,
// a line per log in a colour of its own, labelled with the log's name in the
// legend; the time left as a dashed line on a second axis; a cross at every
// failure and a ring at every reset, on the log's score line; and below the
// chart a band per jewels log with the strategy of each chunk in its colour,
// with a legend of the strategy names. Each score line's points carry class
// "point log-N", N counting the logs from 0.
std::string runChartSvg(const std::vector<RunLog>& logs);
