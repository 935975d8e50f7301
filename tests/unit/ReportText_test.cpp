#include "widgets/pure/ReportText.h"
#include <gtest/gtest.h>

TEST(ErrorReportText, AddsAFullStopOnlyAfterCharactersAboveTheFullStop) {
  const std::pair<std::wstring, std::wstring> cases[] = {
      {L"Invalid data type for 'storage_Origem'", L"Invalid data type for 'storage_Origem'"},
      {L"Unable to create directory\r\n[]", L"Unable to create directory\r\n[]."},
      {L"Pronto.", L"Pronto."},
      {L"Pasta inexistente!", L"Pasta inexistente!"},
      {L"Why?", L"Why?."},
      {L"ends in a digit 5", L"ends in a digit 5."},
      {L"ends in a comma,", L"ends in a comma,"},
      {L"", L""},
  };
  for (const auto& [message, shown] : cases)
    EXPECT_EQ(ErrorReportText(message), shown);
}
