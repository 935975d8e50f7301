// The log benchmark's baseline pass, built into ReplimarKORVELL-wholelog in place of
// ui/LogReaderPass.cpp: every pass reads and summarizes the whole log, as the run did before
// the follower.
#include "funcoes/Files.h"
#include "funcoes/SystemText.h"
#include "ui/LogReader.h"

std::optional<TLogSummary> TLogReader::Pass() {
  if (!FileExists(FPath)) return std::nullopt;
  return SummarizeLog(ReadWholeFile(FPath), SystemAnsiDecoder());
}
