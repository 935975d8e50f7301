#include "funcoes/RegistryValue.h"
#include "funcoes/Handles.h"
#include "funcoes/pure/Exception.h"
#include <windows.h>
#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <vector>
#include "tests/TestPrefix.h"
#include <gtest/gtest.h>

namespace {

constexpr wchar_t kToolKey[] = L"Software\\Zelvora\\REPLIMAR";

struct TRawValue {
  DWORD type;
  std::vector<std::uint8_t> data;
};

UniqueHKey OpenToolKey() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kToolKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
    return {};
  return UniqueHKey(key);
}

// The value as the registry holds it, read past the routine under test.
std::optional<TRawValue> RawValue(const wchar_t* name) {
  const UniqueHKey key = OpenToolKey();
  DWORD type = 0, size = 0;
  if (!key || RegQueryValueExW(key.Get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return std::nullopt;
  TRawValue value{type, std::vector<std::uint8_t>(size)};
  if (RegQueryValueExW(key.Get(), name, nullptr, &type, value.data.data(), &size) != ERROR_SUCCESS)
    return std::nullopt;
  return value;
}

void SetRawValue(const wchar_t* name, DWORD type, const std::vector<std::uint8_t>& data) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kToolKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  const UniqueHKey owner(key);
  ASSERT_EQ(RegSetValueExW(key, name, 0, type, data.empty() ? nullptr : data.data(),
                           static_cast<DWORD>(data.size())),
            ERROR_SUCCESS);
}

// The code units of text as data bytes, with as many trailing NULs as asked.
std::vector<std::uint8_t> Utf16Bytes(const std::wstring& text, size_t nuls = 1) {
  std::vector<std::uint8_t> bytes((text.size() + nuls) * sizeof(wchar_t), 0);
  std::memcpy(bytes.data(), text.data(), text.size() * sizeof(wchar_t));
  return bytes;
}

// {values, subkeys} of the tool's key; nullopt when the key does not exist.
std::optional<std::pair<DWORD, DWORD>> ToolKeyCounts() {
  const UniqueHKey key = OpenToolKey();
  if (!key) return std::nullopt;
  DWORD subkeys = 0, values = 0;
  if (RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                       nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
    return std::nullopt;
  return std::pair{values, subkeys};
}

// The message of the ERegistryException that call raises, or a marker when it raises none.
std::wstring FailureOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const ERegistryException& e) {
    return e.Message();
  }
  return L"(no error)";
}

class RegistryValueTest : public ::testing::Test {
protected:
  // Every test starts from a user who never ran the tool.
  void SetUp() override {
    REPLIMAR_REQUIRE_TEST_PREFIX();
    const LSTATUS status = RegDeleteTreeW(HKEY_CURRENT_USER, kToolKey);
    ASSERT_TRUE(status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) << status;
    ASSERT_FALSE(ToolKeyCounts().has_value());
  }
  void TearDown() override {
    if (testprefix::InsideTestPrefix()) RegDeleteTreeW(HKEY_CURRENT_USER, kToolKey);
  }
};

TEST_F(RegistryValueTest, FirstReadYieldsTheDefaultAndLeavesTheEmptyKey) {
  EXPECT_EQ(RegistryValue(L"ler", L"storage_Destino", L"C:\\TMP"), L"C:\\TMP");
  EXPECT_EQ(ToolKeyCounts(), (std::pair<DWORD, DWORD>{0, 0}));
  EXPECT_EQ(RegistryValue(L"ler", L"storage_Origem", L"Z:\\bin\\"), L"Z:\\bin\\");
  EXPECT_EQ(ToolKeyCounts(), (std::pair<DWORD, DWORD>{0, 0}));
}

TEST_F(RegistryValueTest, WriteStoresRegSzWithItsNulAndNamesIgnoreCase) {
  const std::wstring folder = L"D:\\Espelho \u00e9\u4e00";
  EXPECT_EQ(RegistryValue(L"escrever", L"storage_Destino", folder), L"OK");
  const auto raw = RawValue(L"storage_Destino");
  ASSERT_TRUE(raw.has_value());
  EXPECT_EQ(raw->type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(raw->data, Utf16Bytes(folder));
  EXPECT_EQ(RegistryValue(L"ler", L"Storage_destino", L"C:\\"), folder);

  // The other spelling addresses the same value.
  EXPECT_EQ(RegistryValue(L"escrever", L"Storage_destino", L"E:\\"), L"OK");
  EXPECT_EQ(RegistryValue(L"ler", L"storage_Destino", L"C:\\TMP"), L"E:\\");
  EXPECT_EQ(ToolKeyCounts(), (std::pair<DWORD, DWORD>{1, 0}));
}

TEST_F(RegistryValueTest, EmptyTextIsStoredAsOneNulAndIsNotTheDefault) {
  EXPECT_EQ(RegistryValue(L"escrever", L"storage_Origem", L""), L"OK");
  const auto raw = RawValue(L"storage_Origem");
  ASSERT_TRUE(raw.has_value());
  EXPECT_EQ(raw->type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(raw->data, (std::vector<std::uint8_t>{0, 0}));
  EXPECT_EQ(RegistryValue(L"ler", L"storage_Origem", L"C:\\"), L"");
}

TEST_F(RegistryValueTest, OtherVerbsCreateTheKeyButTouchNoValue) {
  EXPECT_EQ(RegistryValue(L"LER", L"storage_Origem", L"C:\\TMP"), L"");
  EXPECT_EQ(ToolKeyCounts(), (std::pair<DWORD, DWORD>{0, 0}));

  SetRawValue(L"storage_Origem", REG_SZ, Utf16Bytes(L"C:\\Origem"));
  for (const wchar_t* verb :
       {L"LER", L"Ler", L"ESCREVER", L"Escrever", L"EXCLUIR", L"Excluir", L"", L"ler "}) {
    EXPECT_EQ(RegistryValue(verb, L"storage_Origem", L"X:\\"), L"") << verb;
    EXPECT_EQ(RegistryValue(verb, L"storage_Destino", L"X:\\"), L"") << verb;
    const auto raw = RawValue(L"storage_Origem");
    ASSERT_TRUE(raw.has_value()) << verb;
    EXPECT_EQ(raw->data, Utf16Bytes(L"C:\\Origem")) << verb;
    EXPECT_EQ(ToolKeyCounts(), (std::pair<DWORD, DWORD>{1, 0})) << verb;
  }
}

TEST_F(RegistryValueTest, DeleteAnswersOkWhetherOrNotTheValueExists) {
  EXPECT_EQ(RegistryValue(L"excluir", L"storage_Origem", L""), L"OK");
  EXPECT_EQ(ToolKeyCounts(), (std::pair<DWORD, DWORD>{0, 0}));

  SetRawValue(L"storage_Origem", REG_SZ, Utf16Bytes(L"C:\\Origem"));
  SetRawValue(L"storage_Destino", REG_SZ, Utf16Bytes(L"C:\\Destino"));
  EXPECT_EQ(RegistryValue(L"excluir", L"STORAGE_ORIGEM", L"ignored"), L"OK");
  EXPECT_FALSE(RawValue(L"storage_Origem").has_value());
  EXPECT_TRUE(RawValue(L"storage_Destino").has_value());
  EXPECT_EQ(RegistryValue(L"ler", L"storage_Origem", L"C:\\"), L"C:\\");
}

TEST_F(RegistryValueTest, NonStringDataFailsTheReadAndWriteReplacesIt) {
  SetRawValue(L"storage_Origem", REG_DWORD, {1, 0, 0, 0});
  EXPECT_EQ(FailureOf([] { RegistryValue(L"ler", L"storage_Origem", L"C:\\"); }),
            L"Invalid data type for 'storage_Origem'");
  // The name in the message is the caller's spelling.
  EXPECT_EQ(FailureOf([] { RegistryValue(L"ler", L"STORAGE_origem", L"C:\\"); }),
            L"Invalid data type for 'STORAGE_origem'");
  EXPECT_EQ(RawValue(L"storage_Origem")->type, static_cast<DWORD>(REG_DWORD));

  EXPECT_EQ(RegistryValue(L"escrever", L"storage_Origem", L"C:\\Origem"), L"OK");
  EXPECT_EQ(RawValue(L"storage_Origem")->type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(RegistryValue(L"ler", L"storage_Origem", L"C:\\"), L"C:\\Origem");

  // Every other non-string type with data fails alike.
  for (DWORD type : {REG_NONE, REG_BINARY, REG_DWORD_BIG_ENDIAN, REG_MULTI_SZ, REG_QWORD}) {
    SetRawValue(L"storage_Destino", type, Utf16Bytes(L"C:\\A", 2));
    EXPECT_EQ(FailureOf([] { RegistryValue(L"ler", L"storage_Destino", L"C:\\TMP"); }),
              L"Invalid data type for 'storage_Destino'")
        << "type " << type;
  }
}

TEST_F(RegistryValueTest, NoDataBytesReadAsTheEmptyTextWhateverTheType) {
  for (DWORD type :
       {REG_NONE, REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD, REG_MULTI_SZ, REG_QWORD}) {
    SetRawValue(L"storage_Destino", type, {});
    ASSERT_EQ(RawValue(L"storage_Destino")->data.size(), 0u) << "type " << type;
    EXPECT_EQ(RegistryValue(L"ler", L"storage_Destino", L"C:\\TMP"), L"") << "type " << type;
  }
}

// Group policy deploys folders as REG_EXPAND_SZ ("%USERPROFILE%\Videos"): read back as the
// folder they name. A reference to no variable stays as written.
TEST_F(RegistryValueTest, ExpandSzComesBackExpanded) {
  SetEnvironmentVariableW(L"REPLIMAR_TEST_LONG", std::wstring(300, L'x').c_str());
  const struct {
    std::wstring stored, expected;
  } cases[] = {
      {L"%SystemRoot%\\replimar", L""}, // expected: filled in below
      {L"C:\\%REPLIMAR_NO_SUCH_VARIABLE%\\a", L"C:\\%REPLIMAR_NO_SUCH_VARIABLE%\\a"},
      {L"D:\\%REPLIMAR_TEST_LONG%\\b", L"D:\\" + std::wstring(300, L'x') + L"\\b"},
  };
  for (const auto& c : cases) {
    std::wstring expected = c.expected;
    if (expected.empty()) {
      wchar_t buffer[MAX_PATH] = {};
      ASSERT_GT(ExpandEnvironmentStringsW(c.stored.c_str(), buffer, MAX_PATH), 0u);
      expected = buffer;
      ASSERT_NE(expected, c.stored);
    }
    SetRawValue(L"storage_Origem", REG_EXPAND_SZ, Utf16Bytes(c.stored));
    EXPECT_EQ(RegistryValue(L"ler", L"storage_Origem", L"C:\\"), expected);
    // A plain string is never expanded.
    SetRawValue(L"storage_Origem", REG_SZ, Utf16Bytes(c.stored));
    EXPECT_EQ(RegistryValue(L"ler", L"storage_Origem", L"C:\\"), c.stored);
  }
  SetEnvironmentVariableW(L"REPLIMAR_TEST_LONG", nullptr);
}

TEST_F(RegistryValueTest, TextEndsAtTheFirstNulInTheData) {
  const struct {
    std::vector<std::uint8_t> data;
    std::wstring expected;
  } cases[] = {
      {Utf16Bytes(std::wstring(L"C:\\A\0junk", 9)), L"C:\\A"},
      {Utf16Bytes(std::wstring(L"\0C:\\A", 5)), L""},
      {Utf16Bytes(L"C:\\Sem fim", 0), L"C:\\Sem fim"}, // stored without a terminator
  };
  for (const auto& c : cases) {
    SetRawValue(L"storage_Destino", REG_SZ, c.data);
    EXPECT_EQ(RegistryValue(L"ler", L"storage_Destino", L"C:\\TMP"), c.expected);
  }
}

// Key handles are server handles that the process table hands out lowest free first, so a
// handle left open by any call shows as a different value for the next key opened.
TEST_F(RegistryValueTest, NoKeyHandleOutlivesACallEvenWhenItFails) {
  SetRawValue(L"storage_Origem", REG_DWORD, {1, 0, 0, 0});
  const auto probe = [] {
    HKEY key = nullptr;
    RegOpenKeyExW(HKEY_CURRENT_USER, kToolKey, 0, KEY_READ, &key);
    const UniqueHKey owner(key);
    return key;
  };
  const HKEY before = probe();
  ASSERT_NE(before, nullptr);
  for (int i = 0; i < 20; ++i) {
    EXPECT_NE(FailureOf([] { RegistryValue(L"ler", L"storage_Origem", L""); }), L"(no error)");
    RegistryValue(L"escrever", L"storage_Destino", L"C:\\");
    RegistryValue(L"ler", L"storage_Destino", L"");
    RegistryValue(L"excluir", L"storage_Destino", L"");
    RegistryValue(L"LER", L"storage_Destino", L"");
  }
  EXPECT_EQ(probe(), before);
}

// A non-volatile key cannot be created below a volatile one: a real refusal by the registry.
class RegistryValueNoKeyTest : public RegistryValueTest {
protected:
  static constexpr wchar_t kVolatileKey[] = L"Software\\Zelvora\\ReplimarVolatileTest";
  static constexpr wchar_t kRefusedPath[] = L"\\Software\\Zelvora\\ReplimarVolatileTest\\REPLIMAR";

  void SetUp() override {
    // Outside the test prefix the base refuses: nothing below may touch the user's registry.
    ASSERT_NO_FATAL_FAILURE(RegistryValueTest::SetUp());
    RegDeleteTreeW(HKEY_CURRENT_USER, kVolatileKey);
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kVolatileKey, 0, nullptr, REG_OPTION_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    HKEY child = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kRefusedPath + 1, 0, nullptr,
                              REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &child, nullptr),
              ERROR_CHILD_MUST_BE_VOLATILE);
  }
  void TearDown() override {
    if (testprefix::InsideTestPrefix()) RegDeleteTreeW(HKEY_CURRENT_USER, kVolatileKey);
    RegistryValueTest::TearDown();
  }
};

TEST_F(RegistryValueNoKeyTest, ReadYieldsTheDefaultWriteFailsDeleteAnswersOk) {
  EXPECT_EQ(
      RegistryValueAt(HKEY_CURRENT_USER, kRefusedPath, L"ler", L"storage_Destino", L"C:\\TMP"),
      L"C:\\TMP");
  EXPECT_EQ(FailureOf([] {
              RegistryValueAt(HKEY_CURRENT_USER, kRefusedPath, L"escrever", L"Storage_destino",
                              L"D:\\");
            }),
            L"Failed to set data for 'Storage_destino'");
  EXPECT_EQ(RegistryValueAt(HKEY_CURRENT_USER, kRefusedPath, L"excluir", L"storage_Destino", L""),
            L"OK");
  EXPECT_EQ(RegistryValueAt(HKEY_CURRENT_USER, kRefusedPath, L"LER", L"storage_Destino", L"x"),
            L"");
  // The same routine reaches a key it can open through the same kind of absolute path.
  EXPECT_EQ(RegistryValueAt(HKEY_CURRENT_USER, L"\\Software\\Zelvora\\REPLIMAR", L"escrever",
                            L"storage_Destino", L"D:\\"),
            L"OK");
  EXPECT_EQ(RegistryValue(L"ler", L"storage_Destino", L"C:\\TMP"), L"D:\\");
}

} // namespace
