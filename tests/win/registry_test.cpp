#include <gtest/gtest.h>

#include "base/win/utf.h"
#include "common/test_files.h"
#include "settings/win/registry_mod.h"
#include "settings/win/registry_store.h"

namespace orv {
namespace {

using namespace std::literals;

// A key of its own below HKEY_CURRENT_USER for each test, removed with everything in it.
struct TestKey {
    const std::string path = "Software\\OrvantaTests\\" + test::UniqueName("key");
    HKEY key = nullptr;
    TestKey() { RegCreateKeyExW(HKEY_CURRENT_USER, Widen(path).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr); }
    ~TestKey() {
        RegCloseKey(key);
        RegDeleteTreeW(HKEY_CURRENT_USER, Widen(path).c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, Widen(path).c_str());
    }
};

// The bytes of a UTF-16 text exactly as given: no terminator unless it holds one.
std::string Bytes(std::wstring_view text) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

TEST(Registry, BothReadersTakeAStringWithOrWithoutItsTerminatorAsTheWholeText) {
    TestKey k;
    RegistryStore store(k.path, "OrvantaZ");
    const std::string section = k.path + "\\OrvantaZ\\CONFIG";
    const DWORD number = 1234567;
    const std::string longText = Narrow(std::wstring(600, L'é'));
    struct Case { const char* name; DWORD type; std::string bytes; std::string text; std::optional<std::string> stored; };
    const Case cases[] = {
        {"terminated", REG_SZ, Bytes(L"C:\\pics\\a.bmp\0"sv), "C:\\pics\\a.bmp", "C:\\pics\\a.bmp"},
        {"unterminated", REG_SZ, Bytes(L"abc"sv), "abc", "abc"},
        {"extra NULs", REG_SZ, Bytes(L"abc\0\0\0"sv), "abc", "abc"},
        {"embedded NUL", REG_SZ, Bytes(L"before\0after\0"sv), "before", "before"},
        {"empty", REG_SZ, "", "", ""},
        {"only a NUL", REG_SZ, Bytes(L"\0"sv), "", ""},
        {"long", REG_SZ, Bytes(std::wstring(600, L'é')), longText, longText},
        {"over 1024", REG_SZ, Bytes(std::wstring(1025, L'x')), "", std::string(1025, 'x')},
        {"non-ASCII", REG_SZ, Bytes(L"Grüße 日本"sv), "Grüße 日本", "Grüße 日本"},
        {"expand", REG_EXPAND_SZ, Bytes(L"%TEMP%\\x\0"sv), "%TEMP%\\x", "%TEMP%\\x"},
        {"dword", REG_DWORD, std::string(reinterpret_cast<const char*>(&number), 4), "1234567", std::nullopt},
        {"binary", REG_BINARY, "\1\2\3", "", std::nullopt},
    };
    for (const auto& c : cases)
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, Widen(section).c_str(), Widen(c.name).c_str(), c.type, c.bytes.data(),
                                  static_cast<DWORD>(c.bytes.size())), ERROR_SUCCESS);
    for (const auto& c : cases) {
        EXPECT_EQ(RegGetString(HKEY_CURRENT_USER, section, c.name), c.text) << c.name;
        EXPECT_EQ(store.Get("CONFIG", c.name), c.stored) << c.name;
    }
    EXPECT_EQ(RegGetString(HKEY_CURRENT_USER, section, "missing"), "");
    EXPECT_EQ(store.Get("CONFIG", "missing"), std::nullopt);
    EXPECT_EQ(RegGetString(HKEY_CURRENT_USER, section + "\\none", "terminated"), "");
    // The desktop's values are read through a key written with a trailing separator.
    EXPECT_EQ(RegGetString(HKEY_CURRENT_USER, section + "\\", "terminated"), "C:\\pics\\a.bmp");
}

TEST(Registry, WritingMakesTheKeyKeepsSectionsApartAndStoresABlankForAnEmptyText) {
    TestKey k;
    const std::string sub = k.path + "\\made\\here";
    EXPECT_TRUE(RegSetString(HKEY_CURRENT_USER, sub, "text", "Grüße 日本"));
    EXPECT_TRUE(RegSetString(HKEY_CURRENT_USER, sub, "empty", ""));
    EXPECT_EQ(RegGetString(HKEY_CURRENT_USER, sub, "text"), "Grüße 日本");
    EXPECT_EQ(RegGetString(HKEY_CURRENT_USER, sub, "empty"), " ");
    RegistryStore store(k.path, "OrvantaZ");
    for (auto [section, key, text] : {std::tuple{"CONFIG", "POSX", "213.3333"}, {"DESK1", "POSX", "other"},
                                      {"CONFIG", "SnapSavePath", "D:\\Bilder\\Schnappschüsse"}, {"CONFIG", "Empty", ""}})
        EXPECT_TRUE(store.Set(section, key, text));
    EXPECT_EQ(store.Get("CONFIG", "POSX"), "213.3333");
    EXPECT_EQ(store.Get("CONFIG", "Empty"), "");
    EXPECT_EQ(RegGetString(HKEY_CURRENT_USER, k.path + "\\OrvantaZ\\DESK1", "POSX"), "other");
    EXPECT_EQ(RegGetString(HKEY_CURRENT_USER, k.path + "\\OrvantaZ\\CONFIG", "SnapSavePath"), "D:\\Bilder\\Schnappschüsse");
}

TEST(AutoStart, TheEntryFollowsTheProgramFileAndIsWrittenOnlyWhereTheRunKeyIs) {
    struct Case { const char* exe; const char* name; const char* command; };
    for (const Case& c : {Case{"C:\\Program Files\\Orvanta\\Orvanta.exe", "Orvanta.Exe", "C:\\Program Files\\Orvanta\\Orvanta.Exe"},
                          {"D:\\Tools\\my.app\\Ørvanta.EXE", "Ørvanta.Exe", "D:\\Tools\\my.app\\Ørvanta.Exe"},
                          {"C:\\x\\noext", "noext.Exe", "C:\\x\\noext.Exe"}}) {
        AutoStartEntry e = AutoStartFor(c.exe);
        EXPECT_EQ(std::tuple(e.valueName, e.command), std::tuple(c.name, c.command)) << c.exe;
    }
    TestKey k;
    const AutoStartEntry e = AutoStartFor("C:\\Prog\\Orvanta.exe");
    SetAutoStart(true, e, k.key);  // no Run key below the test key yet: nothing happens
    EXPECT_EQ(RegGetString(k.key, kRunKey, "Orvanta.Exe"), "");
    ASSERT_TRUE(RegSetString(k.key, kRunKey, "other", "x"));
    SetAutoStart(true, e, k.key);
    EXPECT_EQ(RegGetString(k.key, kRunKey, "Orvanta.Exe"), "C:\\Prog\\Orvanta.Exe");
    SetAutoStart(false, e, k.key);
    EXPECT_EQ(RegGetString(k.key, kRunKey, "Orvanta.Exe"), "");
    EXPECT_EQ(RegGetString(k.key, kRunKey, "other"), "x");
}

}  // namespace
}  // namespace orv
