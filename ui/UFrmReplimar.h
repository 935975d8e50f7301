#pragma once
// The main window: the two folder sides, their file lists, the run buttons, the gauge and the
// log pane, with the handlers behind them.
#include "widgets/Button.h"
#include "widgets/CheckBox.h"
#include "widgets/DirectoryListBox.h"
#include "widgets/FileListBox.h"
#include "widgets/Form.h"
#include "widgets/Gauge.h"
#include "widgets/Label.h"
#include "widgets/Memo.h"
#include "widgets/Panel.h"
#include "ui/MirrorTool.h"
#include "ui/pure/PassDecision.h"
#include "ui/pure/WindowTexts.h"
#include <cstdint>
#include <optional>
#include <string>

class TFrmReplimar : public TForm {
public:
  TFrmReplimar();

  TGauge GaugeProgresso;
  TLabel LabelStatus{kStatusWaiting};
  TPanel PanelPastas;
  TDirectoryListBox DirectoryListOrigem;
  TDirectoryListBox DirectoryListBoxdestino;
  TPanel PanelSuperior;
  TLabel LBLOrigem{L"Pasta origem"};
  TLabel LblDestino{L"Pasta destino"};
  TButton BtRaizOrigem{L"Folder Origem"};
  TButton BtRaizDestino{L"Folder destino"};
  TPanel PanelFiles;
  TFileListBox FileListBoxOrigem;
  TFileListBox FileListBoxDestino;
  TCheckBox CheckBoxSync{L"Habilitar sincronismo automatico"};
  TMemo MemoLog;
  TButton BtnSyncNow{L"Sincronizar Agora"};
  TButton BtnStop{L"Interromper"};
  TButton BtnClearLog{L"Limpar Log"};

  void FormShow(TControl* Sender);
  void BtRaizOrigemClick(TControl* Sender);
  void BtRaizDestinoClick(TControl* Sender);
  void BtnSyncNowClick(TControl* Sender);
  void BtnStopClick(TControl* Sender);
  void BtnClearLogClick(TControl* Sender);
  void FormCloseQuery(TControl* Sender, bool& CanClose);

  // Runs nested inside one another (each press of "Sincronizar Agora" during a run starts one
  // inside the running one's message processing) at the most.
  static constexpr int kMaxNestedRuns = 16;

private:
  bool FStopSync = false;
  int FRunDepth = 0; // runs in progress, nested
  // The tool the latest run started; it outlives the run and the window (the next start of
  // the program ends it), but a new run ends it first.
  TMirrorTool FTool;

  // Points a list at a stored folder once its server answers: at once when it answers within
  // the window's show's budget (kShowAnswerWaitMs for both folders), else the list waits
  // (ShowWaiting) and fills when the answer comes. A folder that is not there (or, with make,
  // cannot be made) leaves the list on fallback (its own folder when empty), as no choice, and is
  // reported: the report is answered, or raised when the answer comes late.
  std::wstring ShowStoredFolder(TDirectoryListBox& list, const std::wstring& folder, bool make,
                                const std::wstring& fallback);
  // Appends a line to the log pane, brings it into view and processes pending messages.
  void AddLog(const std::wstring& text);
  // The mirror run behind "Sincronizar Agora": starts the tool, follows its log until stopped.
  void RunSync();
  // The layout, in the order of the widgets' creation: the gauge, the status line and the
  // folder panel; then the file panel, the tick box, the log pane and the run buttons.
  void CreateFolderWidgets();
  void CreateRunWidgets();
  // The show, the close request and the buttons' handlers; each folder list's file list.
  void ConnectHandlers();
  // The pane's last line; nothing when the pane is empty.
  std::optional<std::wstring> PaneLastLine() const;
  // Applies what a pass of the run decided to the gauge and the pane. A message it adds goes
  // through AddLog: a yield point.
  void ShowPass(const TPassView& view);
};

// The one main window of the program, owned by the application object.
extern TFrmReplimar* FrmReplimar;

// The shared modal message box: application title, the text, no icon, one "OK" button,
// centred on the primary screen.
void ShowCenteredMessage(const std::wstring& text);
// Whether a folder exists, asked on the pool for kFolderAnswerWaitMs; nothing when its file
// server has not answered in time.
std::optional<bool> AskFolderExists(const std::wstring& folder);
