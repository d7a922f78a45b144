#include <cstdio>

#include "tool/commands.h"
#include "tool/run_chart.h"
#include "tool/run_log.h"
#include "tool/run_summary.h"
#include "tool/text_file.h"

int runReport(const ReportOptions& options) {
    std::vector<RunLog> logs;
    for (const std::string& file : options.logFiles) logs.push_back(readRunLog(file));
    std::printf("%s", summaryTable(logs).c_str());
    if (!options.svgFile.empty()) writeTextFile(options.svgFile, runChartSvg(logs));
    return 0;
}
