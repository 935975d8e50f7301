#include "funcoes/pure/PathText.h"
#include <gtest/gtest.h>
#include <string>

namespace {

struct TLongPathCase {
  std::wstring Path;
  std::wstring Expected;
};

const std::wstring kDeep247 = L"C:\\" + std::wstring(244, L'a');
const std::wstring kDeep248 = L"C:\\" + std::wstring(245, L'a');
const std::wstring kShare = L"\\\\srv\\share\\" + std::wstring(300, L'b');

TEST(LongPath, OnlyFullPathsFromTheLimitOnTakeTheExtendedForm) {
  const TLongPathCase cases[] = {
      {L"C:\\dados", L"C:\\dados"},
      {kDeep247, kDeep247},
      {kDeep248, L"\\\\?\\" + kDeep248},
      {kShare, L"\\\\?\\UNC\\srv\\share\\" + std::wstring(300, L'b')},
      {L"\\\\?\\" + kDeep248, L"\\\\?\\" + kDeep248},
      {L"C:/" + std::wstring(300, L'c'), L"C:/" + std::wstring(300, L'c')},
      {std::wstring(300, L'r'), std::wstring(300, L'r')},
      // A drive letter in either case.
      {L"c:\\" + std::wstring(300, L'c'), L"\\\\?\\c:\\" + std::wstring(300, L'c')},
      // One "\" may end a folder's name.
      {kDeep248 + L"\\", L"\\\\?\\" + kDeep248 + L"\\"},
      {kDeep248 + L"\\b c\\d", L"\\\\?\\" + kDeep248 + L"\\b c\\d"},
      // What the system folds in the plain form keeps it: with "\\?\" it would name another
      // folder, or none.
      {kDeep248 + L"\\..\\x", kDeep248 + L"\\..\\x"},
      {kDeep248 + L"\\.\\x", kDeep248 + L"\\.\\x"},
      {kDeep248 + L"\\x.", kDeep248 + L"\\x."},
      {kDeep248 + L"\\x.\\y", kDeep248 + L"\\x.\\y"},
      {kDeep248 + L"\\x ", kDeep248 + L"\\x "},
      {kDeep248 + L"\\\\x", kDeep248 + L"\\\\x"},
      {L"C:\\" + std::wstring(300, L'd') + L"/x", L"C:\\" + std::wstring(300, L'd') + L"/x"},
      {L"\\\\srv\\share\\..\\" + std::wstring(300, L'b'),
       L"\\\\srv\\share\\..\\" + std::wstring(300, L'b')},
  };
  for (const TLongPathCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "length " << c.Path.size());
    EXPECT_EQ(LongPathForm(c.Path), c.Expected);
  }
}

} // namespace
