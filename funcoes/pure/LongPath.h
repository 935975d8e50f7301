#pragma once
// Paths past MAX_PATH: the "\\?\" form lets the file calls take them on systems where the
// long-path policy is off. The tool's command keeps the plain form: the tool handles long
// paths itself.
#include <cstddef>
#include <string>

// The longest path the system takes in any form (its paths count their length in 16 bits of
// bytes), "\\?\" included.
inline constexpr std::size_t kLongestPath = 32767;
// The longest folder that can be the process's current folder: MAX_PATH less the "\" the
// system adds and the terminating NUL.
inline constexpr std::size_t kLongestCurrentFolder = 258;

// A full path of 248 characters or more ("C:\..." or "\\server\share\...") in its "\\?\"
// form ("\\?\UNC\server\share\..." for a share); any other path unchanged. 248, not 260: a
// folder must leave room for an 8.3 name below it. "\\?\" turns off the system's folding of
// names, so a path the fold would change ("/", "." and ".." parts, empty parts, a part that
// ends in "." or a last part that ends in a blank) keeps its plain form: it fails past
// MAX_PATH instead of naming another folder.
std::wstring LongPathForm(const std::wstring& path);
