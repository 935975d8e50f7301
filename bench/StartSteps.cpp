// The start benchmark's marks (widgets/StartSteps.h): the time of each step since the process
// was created, written as "name<TAB>milliseconds" lines when the window has been painted.
#include "widgets/StartSteps.h"
#include "bench/SinceCreation.h"
#include <windows.h>
#include <cstdio>
#include <string>
#include <vector>

namespace {
struct TStep {
  const wchar_t* Name;
  double Ms;
};

std::vector<TStep>& Steps() {
  static std::vector<TStep> steps;
  return steps;
}

} // namespace

void StartStep(const wchar_t* name) {
  Steps().push_back({name, SinceCreation()});
}

void StartStepsDone() {
  static bool done = false;
  if (done) return;
  done = true;
  wchar_t path[MAX_PATH] = {};
  if (!GetEnvironmentVariableW(L"REPLIMAR_START_STEPS_FILE", path, MAX_PATH)) return;
  FILE* file = _wfopen(path, L"a");
  if (!file) return;
  for (const TStep& step : Steps())
    std::fprintf(file, "%ls\t%.2f\n", step.Name, step.Ms);
  std::fprintf(file, "end\n");
  std::fclose(file);
}
