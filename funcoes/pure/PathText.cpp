#include "funcoes/pure/PathText.h"

TPathRoot ParsePathRoot(const std::wstring& path) {
  TPathRoot root;
  if (path.size() >= 2 && path[1] == L':') {
    root.Kind = TPathRootKind::Drive;
    root.Length = 2;
  } else if (path.rfind(L"\\\\", 0) == 0) {
    root.Kind = TPathRootKind::Share;
    const size_t serverEnd = path.find(L'\\', 2);
    root.Server = path.substr(2, serverEnd == std::wstring::npos ? serverEnd : serverEnd - 2);
    if (serverEnd == std::wstring::npos) {
      root.Length = path.size();
    } else {
      const size_t shareEnd = path.find(L'\\', serverEnd + 1);
      root.Length = shareEnd == std::wstring::npos ? path.size() : shareEnd;
      root.Share = path.substr(serverEnd + 1, root.Length - serverEnd - 1);
    }
  } else if (!path.empty() && path[0] == L'\\') {
    root.Kind = TPathRootKind::Rooted;
    root.Length = 1;
  }
  return root;
}

std::wstring JoinFolder(const std::wstring& folder, const std::wstring& name) {
  if (folder.empty()) return name;
  if (folder.back() == L'\\') return folder + name;
  return folder + L'\\' + name;
}
