// The folder and file lists' path rules on arbitrary texts: the rows down to a folder rebuild its
// path, every row below the root is one name, and the mask splits back into what was written.
#include "fuzz/FuzzText.h"
#include "funcoes/pure/PathText.h"
#include "widgets/pure/FileMask.h"
#include <algorithm>
#include <string>

namespace {

using fuzz::Require;

const std::wstring kAlphabet = std::wstring(L"\\\\\\:;;*.?Cc ab/", 15) + L'\0' + wchar_t(0x65E5) +
                               wchar_t(0xD83D) + wchar_t(0xDE00) + wchar_t(0xE9) + L'\t';

// The path with runs of "\" after the root made single and a trailing "\" dropped, as a list
// walks it (a root keeps its "\").
std::wstring Collapsed(const std::vector<TPathRow>& rows) {
  std::wstring path = rows.front().Path;
  for (size_t i = 1; i < rows.size(); ++i)
    path = JoinFolder(path, rows[i].Name);
  return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::TReader in{data, size};
  const std::wstring directory = fuzz::ReadText(in, kAlphabet, 400);
  const std::wstring mask = fuzz::ReadText(in, kAlphabet, 200);

  const std::vector<TPathRow> rows = PathRows(directory);
  Require(rows.empty() == directory.empty());
  if (!rows.empty()) {
    Require(rows.front().Name == rows.front().Path);
    const std::wstring& root = rows.front().Path;
    // The root is the text's start, "C:" completed to "C:\".
    Require(directory.rfind(root, 0) == 0 || (root.size() == 3 && root.back() == L'\\' &&
                                              directory.rfind(root.substr(0, 2), 0) == 0));
    for (size_t i = 1; i < rows.size(); ++i) {
      Require(!rows[i].Name.empty());
      Require(rows[i].Name.find(L'\\') == std::wstring::npos);
      Require(rows[i].Path == JoinFolder(rows[i - 1].Path, rows[i].Name));
      Require(rows[i].Path.size() <= directory.size() + 1);
    }
    Require(Collapsed(rows) == rows.back().Path);
    // Walking down again from the last row's path gives the same rows (for a drive path; a
    // malformed "\\" form may read differently once its runs of "\" are made single).
    if (directory.size() >= 2 && directory[1] == L':')
      Require(PathRows(rows.back().Path).size() == rows.size());
  }

  const std::wstring joined = JoinFolder(directory, mask);
  Require(joined.size() >= directory.size() + mask.size());
  Require(joined.size() <= directory.size() + mask.size() + 1);
  Require(CountBackslashes(joined) >= CountBackslashes(directory) + CountBackslashes(mask));

  const std::vector<std::wstring> pieces = SplitMask(mask);
  Require(pieces.size() == static_cast<size_t>(std::count(mask.begin(), mask.end(), L';')) + 1);
  std::wstring back;
  for (size_t i = 0; i < pieces.size(); ++i) {
    Require(pieces[i].find(L';') == std::wstring::npos);
    if (i > 0) back += L';';
    back += pieces[i];
  }
  Require(back == mask);
  return 0;
}
