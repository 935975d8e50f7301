// No folder text can leave its quotes: the command either splits back into exactly the
// intended arguments or the folder is refused by IsQuotableFolder.
#include "ui/pure/CommandLineArgs.h"
#include "ui/pure/SyncCommand.h"
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

struct TReader {
  const uint8_t* Data;
  size_t Size;
  bool Empty() const { return Size == 0; }
  uint8_t Byte() {
    if (Size == 0) return 0;
    --Size;
    return *Data++;
  }
};

// One text: a length byte, then per unit either a character of the alphabet or, when the byte's
// high bit is set, any code unit from two more bytes.
std::wstring ReadText(TReader& in) {
  const size_t length = in.Byte() % 24;
  std::wstring text;
  for (size_t i = 0; i < length && !in.Empty(); ++i) {
    const uint8_t b = in.Byte();
    if (b & 0x80)
      text.push_back(static_cast<wchar_t>((in.Byte() << 8) | in.Byte()));
    else
      text.push_back(kAlphabet[b % (sizeof kAlphabet / sizeof kAlphabet[0])]);
  }
  return text;
}

void Require(bool condition) {
  if (!condition) abort();
}

std::vector<std::wstring> Intended(const std::wstring& program, const std::wstring& source,
                                   const std::wstring& destination, const std::wstring& log) {
  return {program,
          source,
          destination,
          L"/MIR",
          L"/R:0",
          L"/W:0",
          L"/TEE",
          L"/ETA",
          L"/XA:SH",
          L"/XD",
          source + L"\\$RECYCLE.BIN",
          source + L"\\System Volume Information",
          L"/LOG:" + log,
          L"/UNICODE",
          L"/MOT:2",
          L"/MON:1"};
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
    c = FoldNameCase(c);
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
    Require(SplitCommandLineArgs(BuildSyncProcessCommandLine(program, source, destination, log)) ==
            Intended(program, source, destination, log));
  return 0;
}
