#pragma once
// The system's folder-picking dialog (the common item dialog with the pick-folders option).
#include <string>

class TFileOpenDialog {
public:
  // The folder it opens in; skipped without a message when the system cannot resolve it.
  std::wstring DefaultFolder;
  // The chosen item's file-system path (its display name when it has none); empty until a
  // choice is confirmed.
  std::wstring FileName;
  // Shows the dialog modally over the main window. False when cancelled or closed; raises
  // Exception when the system dialog cannot be shown.
  bool Execute();
};
