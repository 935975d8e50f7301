// No folder text can leave its quotes: the command either splits back into exactly the
// intended arguments or the folder is refused by IsQuotableFolder.
#include "funcoes/pure/CommandLineArgs.h"
#include "funcoes/pure/LetterCase.h"
#include "ui/pure/SyncCommand.h"
#include "tests/SyncIntendedArgs.h"
#include "tests/fuzz/FuzzText.h"
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Characters that matter to quoting and paths, so that short inputs reach them often.
constexpr wchar_t kAlphabet[] = {L'\\',  L'"', L' ',  L'\t', L'\0', L':',  L'C',  L'/',
                                 L'?',   L'a', L'A',  L'%',  L'\n', L'.',  L'^',  L'&',
                                 0xE9,   0xC9, 0x131, 0x3C2, 0x3A3, 0x44F, 0x42F, 0xD800,
                                 0xFFFF, L'U', L'N',  L'x',  L'$',  L'\'', L'*',  L'S'};

const std::wstring kAlphabetText(kAlphabet, sizeof kAlphabet / sizeof kAlphabet[0]);

using fuzz::Require;
using fuzz::TReader;

std::wstring ReadText(TReader& in) {
  return fuzz::ReadText(in, kAlphabetText, 23);
}

std::vector<std::wstring> Intended(const std::wstring& program, const std::wstring& source,
                                   const std::wstring& destination, const std::wstring& log) {
  return IntendedSyncArgs(program, source, destination, log);
}

bool HasQuoteOrNul(const std::wstring& text) {
  return text.find_first_of(std::wstring(L"\"\0", 2)) != std::wstring::npos;
}

void CheckPrepared(const std::wstring& raw) {
  const std::wstring prepared = PrepareSyncFolder(raw);
  Require(raw.compare(0, prepared.size(), prepared) == 0);
  Require(raw.find_first_not_of(L'\\', prepared.size()) == std::wstring::npos);
  Require(prepared.empty() || prepared.back() != L'\\');
  // Every name Windows allows is accepted once prepared.
  if (!HasQuoteOrNul(raw)) Require(IsQuotableFolder(prepared));
}

void CheckOverlap(const std::wstring& a, const std::wstring& b) {
  Require(FoldersOverlap(a, b) == FoldersOverlap(b, a));
  const bool self = FoldersOverlap(a, a);
  // Trailing separators and letter case do not matter; a folder contains its subfolders.
  Require(FoldersOverlap(a, PrepareSyncFolder(a)) == self || PrepareSyncFolder(a).empty());
  std::wstring upper = a;
  for (wchar_t& c : upper)
    c = UpcaseChar(c);
  Require(FoldersOverlap(a, upper) == self);
  // (Unless a is itself the start of a "\\?\" prefix, which the appended part would finish.)
  std::wstring slashed = a;
  for (wchar_t& c : slashed)
    if (c == L'/') c = L'\\';
  if (self && slashed.compare(0, 3, L"\\\\?") != 0) Require(FoldersOverlap(a, a + L"\\x"));
  if (FoldersOverlap(a, b)) Require(self);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TReader in{data, size};
  const std::wstring rawSource = ReadText(in);
  const std::wstring rawDestination = ReadText(in);
  const std::wstring log = ReadText(in);
  const std::wstring program = ReadText(in);

  CheckPrepared(rawSource);
  CheckPrepared(rawDestination);
  CheckOverlap(rawSource, rawDestination);
  SplitCommandLineArgs(rawSource + L" " + rawDestination);

  const std::wstring source = PrepareSyncFolder(rawSource);
  const std::wstring destination = PrepareSyncFolder(rawDestination);
  if (!IsQuotableFolder(source) || !IsQuotableFolder(destination) || !IsQuotableFolder(log))
    return 0;
  Require(SplitCommandLineArgs(BuildSyncCommand(source, destination, log)) ==
          Intended(kSyncProgram, source, destination, log));
  if (!HasQuoteOrNul(program))
    Require(SplitCommandLineArgs(BuildSyncProcessCommandLine(
                program, BuildSyncArguments(source, destination, log))) ==
            Intended(program, source, destination, log));
  return 0;
}
