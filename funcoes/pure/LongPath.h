#pragma once
// Paths past MAX_PATH: the "\\?\" form lets the file calls take them on systems where the
// long-path policy is off. The tool's command keeps the plain form: the tool handles long
// paths itself.
#include <string>

// A full path of 248 characters or more ("C:\..." or "\\server\share\...") in its "\\?\"
// form ("\\?\UNC\server\share\..." for a share); any other path unchanged. 248, not 260: a
// folder must leave room for an 8.3 name below it.
std::wstring LongPathForm(const std::wstring& path);
