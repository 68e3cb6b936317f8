#pragma once

#include <string>
#include <vector>

namespace zeb::bench {

// A Cabrillo log of `qsoCount` QSO lines with many distinct calls, countries and member numbers
// spread over the five bands, the same for the same arguments.
std::string syntheticLog(int qsoCount, unsigned seed = 1);

// The logs of a contest of `stationCount` stations (an even number) that each work
// `qsosPerStation` QSOs with one another: every QSO stands in both logs, on the same band, a minute
// apart at most, with each other's calls and member numbers, so that the logs confirm each other.
std::vector<std::string> syntheticContest(int stationCount, int qsosPerStation);

// The logs of syntheticContest as the files stationN.cbr of `folder`, made once and kept for later
// runs; their paths, in the order of the stations.
std::vector<std::string> syntheticContestFolder(const std::string& folder, int stationCount,
                                                int qsosPerStation);

}  // namespace zeb::bench
