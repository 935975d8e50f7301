#pragma once
// Path text shared by the folder selection, the lists, the mirror command and the stand-in:
// where a path's root ends, and a name joined to a folder.
#include <cstddef>
#include <string>

// How a path begins.
enum class TPathRootKind {
  Relative, // "A", ""
  Drive,    // any character and ":" ("C:", "C:\A", also "C:A", relative to drive C)
  Share,    // "\\" then a server and a share name ("\\server\share"); either may be missing
  Rooted,   // one "\" ("\A", the root of the current drive)
};

// The root of a path as Windows writes it; "/" is no separator here.
struct TPathRoot {
  TPathRootKind Kind = TPathRootKind::Relative;
  // Characters of the root, without the "\" after it: "C:" 2, "\\server\share" up to the "\"
  // after the share name or the end of the text, "\" 1, a relative path 0.
  size_t Length = 0;
  // Of a share: the server name (up to the next "\" or the end) and the share name (from the
  // "\" after the server up to the next "\" or the end); empty when the text has none.
  std::wstring Server, Share;

  // A drive, or a share with both a server and a share name: a root that names one volume.
  bool NamesVolume() const {
    return Kind == TPathRootKind::Drive ||
           (Kind == TPathRootKind::Share && !Server.empty() && !Share.empty());
  }
};

TPathRoot ParsePathRoot(const std::wstring& path);

// folder + "\" + name, without doubling the "\" after a drive root; name alone when folder is
// empty.
std::wstring JoinFolder(const std::wstring& folder, const std::wstring& name);
