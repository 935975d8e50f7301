#include "widgets/pure/ReportText.h"

std::wstring ErrorReportText(const std::wstring& message) {
  if (!message.empty() && message.back() > L'.') return message + L'.';
  return message;
}
