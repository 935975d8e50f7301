#pragma once
// Where the stand-in's text goes: its log file (/LOG, /UNICODE) and, with /TEE, its console.
#include "funcoes/Handles.h"
#include "wine-standin/pure/StandinLogText.h"
#include "wine-standin/pure/StandinModes.h"
#include <string>

class TStandinLog {
public:
  // logPath: a full path, or empty for no log file. The log is overwritten. The modes choose
  // how the log is held and in which encoding and language it is written.
  TStandinLog(std::wstring logPath, const TStandinModes& modes, bool unicode, bool tee);

  // Appends text to the log at once (no buffering of our own, so a reader sees it) and, with
  // /TEE, writes it to the console.
  void Write(const std::wstring& text);

  // In the reopening mode only: closes and reopens the log. A reader that deletes the log while
  // we hold it open only marks it: the name lives on until our handle is closed (always under
  // Wine, and on Windows without POSIX deletion). Letting go now and then lets the deletion
  // finish, and the next open starts a fresh log. True when the log was begun afresh. The held
  // modes keep their one handle, as the real tool does, and answer false.
  bool Reopen();

  // The texts in the log's language.
  const TStandinWords& Words() const noexcept;

  // Console text for messages that precede any log (the usage error).
  static void ToConsole(const std::wstring& text, bool unicode);

private:
  bool Open(DWORD disposition);
  bool Append(const std::wstring& text);
  void Hold(const std::wstring& text);
  bool WritesMark() const noexcept;

  std::wstring FPath; // \\?\ form, or empty
  TStandinModes FModes;
  bool FUnicode; // the console's form with /TEE
  bool FTee;
  bool FBegun = false; // the log was opened (and overwritten) once
  UniqueFileHandle FFile;
  ULONGLONG FOpenedAt = 0;
  std::wstring FHeld; // text written while the log could not be opened
};
