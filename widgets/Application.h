#pragma once
// The application object: title, the message loop, nested message processing and the one
// place where errors that escape an event handler are caught and reported.
#include <windows.h>
#include <exception>
#include <string>

class TForm;

class TApplication {
public:
  // Common controls and per-monitor DPI awareness.
  void Initialize();
  const std::wstring& Title() const { return FTitle; }
  void SetTitle(std::wstring title) { FTitle = std::move(title); }

  // The first form created becomes the main form; closing it ends the application.
  TForm* MainForm() const { return FMainForm; }
  void RegisterForm(TForm& form);
  void UnregisterForm(TForm& form);

  // Shows the main form, then dispatches messages until the application terminates.
  void Run();
  // Dispatches every waiting message, then returns. A quit message only sets Terminated.
  void ProcessMessages();
  // Waits for one message and dispatches it (the body of the main and modal loops).
  void HandleMessage();
  bool Terminated() const { return FTerminated; }
  // Posts the quit message; the loop ends once it has been processed.
  void Terminate() { PostQuitMessage(0); }

  // Runs an event handler; an error that escapes it goes to the error report.
  template <typename Handler> void Invoke(Handler&& handler) noexcept {
    try {
      handler();
    } catch (...) {
      HandleException(std::current_exception());
    }
  }
  void HandleException(std::exception_ptr error) noexcept;
  // The text of an error as the operator reads it: the program's own errors carry UTF-16; the
  // runtime's carry 8-bit text, read as UTF-8 or else in the ANSI code page.
  static std::wstring ExceptionMessage(std::exception_ptr error);

private:
  bool Dispatch(MSG& msg);

  std::wstring FTitle;
  TForm* FMainForm = nullptr;
  bool FTerminated = false;
};

extern TApplication Application;
