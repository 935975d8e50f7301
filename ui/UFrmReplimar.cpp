#include "ui/UFrmReplimar.h"
#include "ui/ResourceIds.h"
#include "widgets/Application.h"
#include "widgets/MessageDialog.h"

TFrmReplimar* FrmReplimar = nullptr;

TFrmReplimar::TFrmReplimar() {
  CreateForm(kWindowClass, kWindowCaption, 967, 556, TFontSpec{L"Tahoma", 8});
  SetIcon(MAKEINTRESOURCEW(IDI_FORMICON));
  // Creation order within each parent is the tab order.
  CreateFolderWidgets();
  CreateRunWidgets();
  ConnectHandlers();
}

void TFrmReplimar::CreateFolderWidgets() {
  const TFontSpec listFont{L"Arial", 12};
  const TFontSpec captionFont{L"Tahoma", 12};
  GaugeProgresso.SetBounds({1, 359, 958, 24});
  GaugeProgresso.Create(*this);
  LabelStatus.SetBounds({8, 335, 0, 13});
  LabelStatus.Create(*this);
  PanelPastas.SetBounds({0, 0, 967, 145});
  PanelPastas.Create(*this);
  DirectoryListOrigem.SetBounds({1, 42, 482, 102});
  DirectoryListOrigem.SetAccessibleName(kSourceFoldersName);
  DirectoryListOrigem.SetFont(listFont);
  DirectoryListOrigem.Create(PanelPastas);
  DirectoryListBoxdestino.SetBounds({484, 42, 482, 102});
  DirectoryListBoxdestino.SetAccessibleName(kDestinationFoldersName);
  DirectoryListBoxdestino.SetFont(listFont);
  DirectoryListBoxdestino.Create(PanelPastas);
  PanelSuperior.Header = true;
  PanelSuperior.SetBounds({1, 1, 965, 41});
  PanelSuperior.Create(PanelPastas);
  LBLOrigem.SetBounds({101, 9, 0, 19});
  LBLOrigem.SetFont(captionFont);
  LBLOrigem.Create(PanelSuperior);
  LblDestino.SetBounds({582, 9, 0, 19});
  LblDestino.SetFont(captionFont);
  LblDestino.Create(PanelSuperior);
  BtRaizOrigem.SetBounds({3, 6, 90, 28});
  BtRaizOrigem.Create(PanelSuperior);
  BtRaizDestino.SetBounds({484, 6, 90, 28});
  BtRaizDestino.Create(PanelSuperior);
}

void TFrmReplimar::CreateRunWidgets() {
  const TFontSpec fileFont{L"Arial", 8};
  PanelFiles.SetBounds({0, 145, 967, 155});
  PanelFiles.Create(*this);
  FileListBoxOrigem.SetBounds({1, 1, 482, 153});
  FileListBoxOrigem.SetAccessibleName(kSourceFilesName);
  FileListBoxOrigem.SetFont(fileFont);
  FileListBoxOrigem.Create(PanelFiles);
  FileListBoxDestino.SetBounds({484, 1, 482, 153});
  FileListBoxDestino.SetAccessibleName(kDestinationFilesName);
  FileListBoxDestino.SetFont(fileFont);
  FileListBoxDestino.Create(PanelFiles);
  CheckBoxSync.SetBounds({8, 305, 200, 24});
  CheckBoxSync.Create(*this);
  MemoLog.SetBounds({8, 389, 967, 173});
  MemoLog.Create(*this);
  BtnSyncNow.SetBounds({248, 323, 120, 30});
  BtnSyncNow.Create(*this);
  BtnStop.SetBounds({378, 323, 120, 30});
  BtnStop.Create(*this);
  BtnClearLog.SetBounds({508, 323, 120, 30});
  BtnClearLog.Create(*this);
}

void TFrmReplimar::ConnectHandlers() {
  DirectoryListOrigem.FileList = &FileListBoxOrigem;
  DirectoryListBoxdestino.FileList = &FileListBoxDestino;

  OnShow = [this] { FormShow(this); };
  OnCloseQuery = [this](bool& canClose) { FormCloseQuery(this, canClose); };
  BtRaizOrigem.OnClick = [this] { BtRaizOrigemClick(&BtRaizOrigem); };
  BtRaizDestino.OnClick = [this] { BtRaizDestinoClick(&BtRaizDestino); };
  BtnSyncNow.OnClick = [this] { BtnSyncNowClick(&BtnSyncNow); };
  BtnStop.OnClick = [this] { BtnStopClick(&BtnStop); };
  BtnClearLog.OnClick = [this] { BtnClearLogClick(&BtnClearLog); };
}

void TFrmReplimar::BtnSyncNowClick(TControl*) {
  // Every level of nesting holds the window thread's stack; a pile of presses would exhaust it
  // (and Wine drops messages past a fixed depth). Past the limit a press only beeps.
  if (FRunDepth >= kMaxNestedRuns) {
    MessageBeep(MB_ICONWARNING);
    return;
  }
  struct TDepth {
    int& Depth;
    explicit TDepth(int& depth) : Depth(++depth) {}
    ~TDepth() { --Depth; }
  } depth(FRunDepth);
  RunSync();
}

void TFrmReplimar::BtnStopClick(TControl*) {
  FStopSync = true;
}

void TFrmReplimar::BtnClearLogClick(TControl*) {
  MemoLog.Clear();
  GaugeProgresso.SetProgress(0);
}

void TFrmReplimar::FormCloseQuery(TControl*, bool&) {
  // A run in progress sees the flag at its next test; closing is never refused.
  FStopSync = true;
}

void TFrmReplimar::AddLog(const std::wstring& text) {
  MemoLog.AddLine(text);
  MemoLog.ScrollCaret();
  Application.ProcessMessages();
}

void ShowCenteredMessage(const std::wstring& text) {
  ShowMessageDialog(text, TMessageIcon::None);
}
