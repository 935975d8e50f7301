#include "funcoes/pure/RegistryText.h"
#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

namespace {

// Data bytes as the registry hands them over: UTF-16 code units, little endian.
std::vector<std::uint8_t> Utf16Bytes(const std::vector<std::uint16_t>& units) {
  std::vector<std::uint8_t> bytes;
  for (std::uint16_t unit : units) {
    bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
  return bytes;
}

} // namespace

TEST(RegistryText, VerbsAreMatchedExactlyWithCase) {
  const struct {
    std::wstring verb;
    TRegistryVerb expected;
  } cases[] = {
      {L"ler", TRegistryVerb::Read},       {L"escrever", TRegistryVerb::Write},
      {L"excluir", TRegistryVerb::Delete}, {L"LER", TRegistryVerb::None},
      {L"Ler", TRegistryVerb::None},       {L"ESCREVER", TRegistryVerb::None},
      {L"Excluir", TRegistryVerb::None},   {L"ler ", TRegistryVerb::None},
      {L" ler", TRegistryVerb::None},      {L"le", TRegistryVerb::None},
      {L"", TRegistryVerb::None},          {std::wstring(L"ler\0", 4), TRegistryVerb::None},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ParseRegistryVerb(c.verb), c.expected) << "verb of " << c.verb.size() << " units";
}

TEST(RegistryText, KeyPathLosesOnlyItsLeadingBackslash) {
  EXPECT_EQ(RelativeKeyPath(L"\\Software\\Zelvora\\REPLIMAR"), L"Software\\Zelvora\\REPLIMAR");
  EXPECT_EQ(RelativeKeyPath(L"Software\\Zelvora"), L"Software\\Zelvora");
  EXPECT_EQ(RelativeKeyPath(L"\\"), L"");
  EXPECT_EQ(RelativeKeyPath(L""), L"");
}

TEST(RegistryText, DataIsReadUpToTheFirstNul) {
  const struct {
    std::vector<std::uint8_t> data;
    std::wstring expected;
  } cases[] = {
      {Utf16Bytes({'C', ':', '\\', 'T', 'M', 'P', 0}), L"C:\\TMP"},
      {Utf16Bytes({'a', 'b', 'c'}), L"abc"}, // stored without its terminator
      {Utf16Bytes({'a', 'b', 'c', 0, 'd', 'e', 'f', 0}), L"abc"},
      {Utf16Bytes({0, 'x', 0}), L""},
      {Utf16Bytes({0}), L""},
      {{}, L""},
      {{'a', 0, 'b', 0, 'c'}, L"ab"}, // the odd last byte is half a code unit
      {{'a'}, L""},
      // Little endian: the low byte first; non-ASCII and surrogates kept as code units.
      {Utf16Bytes({0x00E9, 0x4E00, 0xD83D, 0xDE00}),
       std::wstring{wchar_t(0x00E9), wchar_t(0x4E00), wchar_t(0xD83D), wchar_t(0xDE00)}},
      // A zero low byte is no NUL when the high byte is set.
      {Utf16Bytes({0x0100, 'z'}), std::wstring{wchar_t(0x0100), L'z'}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TextFromRegistryData(c.data.data(), c.data.size()), c.expected)
        << c.data.size() << " bytes";
}

TEST(RegistryText, MessagesCarryTheValueNameAsGiven) {
  EXPECT_EQ(RegistryFailureMessage(TRegistryFailure::InvalidDataType, L"storage_Origem"),
            L"Invalid data type for 'storage_Origem'");
  EXPECT_EQ(RegistryFailureMessage(TRegistryFailure::GetData, L"Storage_destino"),
            L"Failed to get data for 'Storage_destino'");
  EXPECT_EQ(RegistryFailureMessage(TRegistryFailure::SetData, L"storage_Destino"),
            L"Failed to set data for 'storage_Destino'");
  // The name is inserted, never interpreted.
  EXPECT_EQ(RegistryFailureMessage(TRegistryFailure::SetData, L"%s'%d"),
            L"Failed to set data for '%s'%d'");
  EXPECT_EQ(RegistryFailureMessage(TRegistryFailure::GetData, L""), L"Failed to get data for ''");
}
