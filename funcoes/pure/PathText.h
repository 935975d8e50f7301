#pragma once
// The text of paths, in one place for the folder selection, the lists, the count, the mirror
// command and the stand-in: where a path's root ends, a name joined to a folder, a path's
// parent part and its rows, the "\\?\" form of long paths, and the order in which the folders
// of a path are made. Nothing here asks the file system; the folder calls that do are in
// funcoes/Folders.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

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
  // Of a drive: its character is a letter, A to Z or a to z, as a drive the system can have.
  bool Letter = false;
  // A "\" follows the root: "C:\A", "\\server\share\A" (never a rooted path: its root is its
  // "\").
  bool Separated = false;

  // A drive, or a share with both a server and a share name: a root that names one volume.
  bool NamesVolume() const {
    return Kind == TPathRootKind::Drive ||
           (Kind == TPathRootKind::Share && !Server.empty() && !Share.empty());
  }
  // A device form, "\\?\" or "\\.\": the system takes what follows as it is written.
  bool IsDevice() const {
    return Kind == TPathRootKind::Share && (Server == L"?" || Server == L".");
  }
};

TPathRoot ParsePathRoot(const std::wstring& path);

// folder + "\" + name, without doubling the "\" after a drive root; name alone when folder is
// empty.
std::wstring JoinFolder(const std::wstring& folder, const std::wstring& name);
// Everything up to and including the last "\" or ":" (empty when there is neither).
std::wstring FolderParentPart(const std::wstring& name);
// The executable's folder: its full path up to the last "\", that "\" removed ("C:" for an
// executable in a drive root).
std::wstring ExecutableFolder(const std::wstring& exePath);
// The root of the drive of a folder followed by "\" ("C:\"), or "\\server\share\" for a
// network path; empty when the folder has neither form.
std::wstring DriveRootOf(const std::wstring& folder);
// Number of "\" in the text (the folder list's indentation step count).
int CountBackslashes(const std::wstring& text);

struct TPathRow {
  std::wstring Name; // what the row shows: the root in full ("C:\"), then each folder's name
  std::wstring Path; // the folder a double-click on the row opens
};

// The drive root (or \\server\share root) and one row per folder down to directory itself.
// directory is a full path as the system reports a current folder.
std::vector<TPathRow> PathRows(const std::wstring& directory);

// The longest path the system takes in any form (its paths count their length in 16 bits of
// bytes), "\\?\" included.
inline constexpr std::size_t kLongestPath = 32767;

// Paths past MAX_PATH: the "\\?\" form lets the file calls take them on systems where the
// long-path policy is off. The tool's command keeps the plain form: the tool handles long
// paths itself.
//
// A full path of 248 characters or more ("C:\..." or "\\server\share\...") in its "\\?\"
// form ("\\?\UNC\server\share\..." for a share); any other path unchanged. 248, not 260: a
// folder must leave room for an 8.3 name below it. "\\?\" turns off the system's folding of
// names, so a path the fold would change ("/", "." and ".." parts, empty parts, a part that
// ends in "." or a last part that ends in a blank) keeps its plain form: it fails past
// MAX_PATH instead of naming another folder.
std::wstring LongPathForm(const std::wstring& path);
// The plain form of a "\\?\" path: "\\?\UNC\server\share" gives "\\server\share" ("UNC" in
// any letter case), "\\?\C:\A" gives "C:\A"; any other path unchanged.
std::wstring WithoutLongPathPrefix(const std::wstring& path);

// Creates a folder and its missing parents through the two callbacks:
// 1. an empty name raises EInOutError "Unable to create directory" CR LF "[name]";
// 2. one trailing "\" is removed; 3. an existing folder answers true;
// 4. a name shorter than 3 characters, or equal to its parent part, is created alone;
// 5. otherwise the parent part first, then the name. Failures answer false without an error.
bool CreateFolderPathWith(const std::wstring& name,
                          const std::function<bool(const std::wstring&)>& exists,
                          const std::function<bool(const std::wstring&)>& create);
