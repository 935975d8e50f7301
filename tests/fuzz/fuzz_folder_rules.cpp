// The folder selection's path rules on arbitrary texts, and the folder creation rule against a
// simulated file system: it creates only the folder and its parents, each after its parent,
// asks a bounded number of questions, and refuses only the empty name.
#include "fuzz/FuzzText.h"
#include "funcoes/pure/Exception.h"
#include "funcoes/pure/PathText.h"
#include <set>
#include <string>
#include <vector>

namespace {

using fuzz::Require;

const std::wstring kAlphabet = std::wstring(L"\\\\\\::Cc ab./?", 13) + L'\0' + wchar_t(0x65E5) +
                               wchar_t(0xD83D) + wchar_t(0xDE00);

// Whether the creation rule ends at an empty parent part (and so raises): walking up from the
// name through its parent parts reaches the empty text before an existing folder, a name shorter
// than 3 characters or one that is its own parent part. A relative name such as "abc" does.
bool ReachesEmptyParent(std::wstring folder, const std::set<std::wstring>& existing) {
  for (;;) {
    if (folder.empty()) return true;
    if (folder.back() == L'\\') folder.pop_back();
    if (existing.count(folder)) return false;
    const std::wstring parent = FolderParentPart(folder);
    if (folder.size() < 3 || parent == folder) return false;
    folder = parent;
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::TReader in{data, size};
  const uint8_t choices = in.Byte();
  const std::wstring name = fuzz::ReadText(in, kAlphabet, 600);
  const std::wstring existing = fuzz::ReadText(in, kAlphabet, 40);

  const std::wstring parent = FolderParentPart(name);
  Require(name.rfind(parent, 0) == 0);
  Require(parent.empty() || parent.back() == L'\\' || parent.back() == L':');
  Require(name.find_first_of(L"\\:", parent.size()) == std::wstring::npos);

  const std::wstring exeFolder = ExecutableFolder(name);
  Require(name.rfind(exeFolder, 0) == 0);
  if (name.find(L'\\') == std::wstring::npos)
    Require(exeFolder.empty());
  else
    Require(name[exeFolder.size()] == L'\\' &&
            name.find(L'\\', exeFolder.size() + 1) == std::wstring::npos);

  const std::wstring root = DriveRootOf(name);
  if (!root.empty()) {
    Require(root.back() == L'\\');
    Require((name + L"\\").rfind(root, 0) == 0 || (name.size() >= 2 && name[1] == L':'));
    Require(DriveRootOf(root) == root || root.rfind(L"\\\\", 0) != 0);
  }

  // A simulated file system: the folders in existing (cut at "|"-free pieces) and what is made.
  std::set<std::wstring> folders;
  if (!existing.empty()) folders.insert(existing);
  const bool raises = ReachesEmptyParent(name, folders);
  std::vector<std::wstring> created;
  size_t questions = 0;
  const bool refuse = choices & 1;
  try {
    const bool made = CreateFolderPathWith(
        name,
        [&](const std::wstring& folder) {
          ++questions;
          return folders.count(folder) != 0;
        },
        [&](const std::wstring& folder) {
          ++questions;
          if (refuse && folder.size() == name.size() / 2) return false;
          created.push_back(folder);
          folders.insert(folder);
          return true;
        });
    Require(!raises);
    // Each question is about a start of the name, and there are at most two per level.
    Require(questions <= 2 * (name.size() + 1));
    for (size_t i = 0; i < created.size(); ++i) {
      Require(name.rfind(created[i], 0) == 0);
      if (i > 0) Require(created[i].size() > created[i - 1].size());
    }
    if (made && !refuse) {
      std::wstring folder = name;
      if (folder.back() == L'\\') folder.pop_back();
      Require(folders.count(folder) != 0);
    }
  } catch (const EInOutError& error) {
    Require(raises);
    Require(error.Message() == L"Unable to create directory\r\n[]");
  }
  return 0;
}
