#pragma once
#include <string>
// Texts of the main window that more than one place uses.

// The main window's class: a second copy of the program finds the first by it and the caption.
inline constexpr wchar_t kWindowClass[] = L"TFrmReplimar";
inline constexpr wchar_t kWindowCaption[] = L"Replica\u00e7\u00e3o diferencial de dados KORVELL";
inline constexpr wchar_t kApplicationTitle[] = L"Replimar KORVELL";
inline constexpr wchar_t kStatusWaiting[] = L"Status: Aguardando altera\u00e7\u00f5es...";
// The file lists show media and text files only; each piece is used exactly as written,
// the blank before *.TXT included.
inline constexpr wchar_t kMediaMask[] =
    L"*.MBD; *.TXT;*.MP2;*.MP3;*.MP4;*.MOV;*.MXF;*.AVI;*.ASF;*.BMP;*.DV;*.FLV;*.GXF;*.JPG;"
    L"*.MPG;*.WMA;*.WMV;*.TGA;*.VOB;*.XML;*.PNG;*.MKV";
// What a screen reader calls the lists, which have no text of their own.
inline constexpr wchar_t kSourceFoldersName[] = L"Pasta origem";
inline constexpr wchar_t kDestinationFoldersName[] = L"Pasta destino";
inline constexpr wchar_t kSourceFilesName[] = L"Arquivos da pasta origem";
inline constexpr wchar_t kDestinationFilesName[] = L"Arquivos da pasta destino";
// A folder whose file server has not answered yet (a list still waiting for it, or a test of
// it that ran out of time).
inline std::wstring FolderNotAnsweredText(const std::wstring& folder) {
  return L"A pasta " + folder + L" ainda n\u00e3o respondeu.";
}
// How long the window waits for a file server's answer before it says the folder has not
// answered: long enough for a server some milliseconds away, short enough not to hold the window.
inline constexpr unsigned kFolderAnswerWaitMs = 500;
// The wait for the stored folders while the window is being shown, for both together: a folder
// on a disk answers well within it, and the window appears at once whatever the servers do.
inline constexpr unsigned kShowAnswerWaitMs = 100;
