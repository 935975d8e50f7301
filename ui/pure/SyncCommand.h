#pragma once
// The mirror tool's command line, built as a value that the shell only starts and shows.
#include <string>

// The tool's name as the command line gives it (found through the system's program search).
inline constexpr wchar_t kSyncProgram[] = L"robocopy";
// The log's file name inside the user's temporary folder.
inline constexpr wchar_t kSyncLogName[] = L"robocopy_log.txt";
// Refusal of a source and destination that are the same folder or lie one inside the other.
inline constexpr wchar_t kFoldersOverlapMessage[] =
    L"As pastas de origem e destino n\u00e3o podem ser a mesma nem uma estar dentro da outra.";

// The folder as the command takes it: every trailing "\" removed ("C:\" -> "C:",
// "\\server\share\" -> "\\server\share"), since a trailing "\" would escape the closing quote.
// A text made only of "\" becomes empty, which the run refuses like a missing folder.
std::wstring PrepareSyncFolder(const std::wstring& folder);

// True when the text can stand between the command's quotes as it is: no '"' (no Windows name
// holds one), no NUL (it would end the command line) and no trailing "\". Holds for every
// PrepareSyncFolder result of a text without '"' and NUL. Applies to the log path too.
bool IsQuotableFolder(const std::wstring& folder);

// True when a prepared folder names one folder whatever the tool's current folder is: a drive
// root "C:", a path below a drive root "C:\A", or a share "\\server\share" (and below it).
// Drive-relative ("C:A"), rooted ("\A"), relative ("A") and device forms ("\\?\", "\\.\")
// are not; the run refuses them rather than let the tool resolve them.
bool IsAbsoluteFolder(const std::wstring& folder);

// A prepared folder as the tool receives it: a drive root "C:" becomes "C:\.", because any
// Win32 program reads a bare "C:" as the current folder of drive C (for the tool started in the
// system folder, the system folder itself). Any other folder is returned unchanged.
std::wstring SyncFolderArgument(const std::wstring& folder);

// Everything after the program name: "src" "dst" /MIR ... /LOG:"log" /UNICODE /MOT:2 /MON:1.
// The two folder arguments go through SyncFolderArgument; the exclusions are built from the
// prepared source ("C:" gives "C:\$RECYCLE.BIN").
// Precondition: IsQuotableFolder of all three; otherwise an argument could leave its quotes.
std::wstring BuildSyncArguments(const std::wstring& source, const std::wstring& destination,
                                const std::wstring& logPath);

// The command as the log pane shows it: "robocopy " followed by BuildSyncArguments (same
// precondition).
std::wstring BuildSyncCommand(const std::wstring& source, const std::wstring& destination,
                              const std::wstring& logPath);

// The command for CreateProcessW: the program by its full path in quotes, then the arguments
// BuildSyncArguments built. programPath holds no '"' and no NUL.
std::wstring BuildSyncProcessCommandLine(const std::wstring& programPath,
                                         const std::wstring& arguments);

// The log path: the temporary folder up to its first NUL, a "\" ensured at its end, then
// "robocopy_log.txt". An empty folder gives "\robocopy_log.txt"; the shell decides about that.
std::wstring BuildSyncLogPath(const std::wstring& tempFolder);

// True when the two folders are the same or one lies inside the other. Both are full paths;
// compared after turning "/" into "\", dropping a "\\?\" ("\\?\UNC\" -> "\\") prefix,
// collapsing repeated "\" (but the leading "\\" of a share) and trailing "\", and folding letter
// case as the system does (UpcaseChar). "C:\A" does not contain "C:\AB"; "C:" and "C:\" contain all
// of drive C. An empty folder overlaps nothing. Links, short names and mapped drives are not
// resolved: the shell passes final paths when it wants them compared.
bool FoldersOverlap(const std::wstring& a, const std::wstring& b);
