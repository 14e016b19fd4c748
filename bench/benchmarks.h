#pragma once
// The benchmark groups. Each Register* function adds "<group>/<case>/ours" and the peers it is
// measured against ("<group>/<case>/peer_..."); each Check* function first makes sure that ours and
// the peers compute the same thing on these files, so that the times compare like with like.
#include <string>

#include "fixtures.h"

namespace bench {

void RegisterAviBenchmarks(const DemoDisc& disc);
bool CheckAvi(const DemoDisc& disc);

void RegisterPosterBenchmarks(const std::string& pictureDirectory);
bool CheckPosters(const std::string& pictureDirectory);

void RegisterStartupBenchmarks(const DemoDisc& disc, const std::string& pictureDirectory);
bool CheckStartup(const DemoDisc& disc);

void RegisterProcessBenchmarks(const DemoDisc& disc, const std::string& pictureDirectory);
bool CheckProcesses(const DemoDisc& disc, const std::string& pictureDirectory);

// Prints one line of the self-check and passes `ok` through.
bool Report(bool ok, const std::string& what);
// Prints a measured fact that is not a pass/fail condition.
void Note(const std::string& what);

}  // namespace bench
