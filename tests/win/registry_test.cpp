#include <gtest/gtest.h>

#include "sandbox.h"
#include "settings/win/registry_mod.h"
#include "settings/win/registry_store.h"

namespace orv {
namespace {

using test::TestKey;

void PutRaw(HKEY key, const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
    ASSERT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), bytes), ERROR_SUCCESS);
}

TEST(RegGetString, ReadsEachTypeAsText) {
    TestKey k;
    const wchar_t sz[] = L"C:\\pics\\a.bmp";
    PutRaw(k.key(), L"sz", REG_SZ, sz, sizeof sz);
    const wchar_t ex[] = L"%TEMP%\\x";
    PutRaw(k.key(), L"expand", REG_EXPAND_SZ, ex, sizeof ex);
    DWORD dw = 1234567;
    PutRaw(k.key(), L"dword", REG_DWORD, &dw, sizeof dw);
    const BYTE bin[] = {1, 2, 3};
    PutRaw(k.key(), L"binary", REG_BINARY, bin, sizeof bin);
    const wchar_t noTerm[] = {L'a', L'b', L'c'};
    PutRaw(k.key(), L"noterm", REG_SZ, noTerm, sizeof noTerm);
    const wchar_t embedded[] = L"before\0after";
    PutRaw(k.key(), L"embedded", REG_SZ, embedded, sizeof embedded);

    struct Case { const char* name; const char* expected; };
    const Case cases[] = {{"sz", "C:\\pics\\a.bmp"}, {"expand", "%TEMP%\\x"}, {"dword", "1234567"},
                          {"binary", ""}, {"noterm", "abc"}, {"embedded", "before"}, {"missing", ""}};
    for (const auto& c : cases) EXPECT_EQ(RegGetString(HKEY_CURRENT_USER, k.path(), c.name), c.expected) << c.name;
    EXPECT_EQ(RegGetString(HKEY_CURRENT_USER, k.path() + "\\nokey", "sz"), "");
    // A subkey written with a trailing separator, as the desktop values are read.
    EXPECT_EQ(RegGetString(HKEY_CURRENT_USER, k.path() + "\\", "sz"), "C:\\pics\\a.bmp");
}

TEST(RegSetString, WritesPlainStringsWithoutTerminatorAndABlankForEmpty) {
    TestKey k;
    EXPECT_TRUE(RegSetString(HKEY_CURRENT_USER, k.path() + "\\made\\here", "v", "Grüße 日本"));
    EXPECT_EQ(RegGetString(HKEY_CURRENT_USER, k.path() + "\\made\\here", "v"), "Grüße 日本");
    EXPECT_TRUE(RegSetString(HKEY_CURRENT_USER, k.path(), "empty", ""));
    EXPECT_EQ(RegGetString(HKEY_CURRENT_USER, k.path(), "empty"), " ");

    DWORD type = 0, bytes = 0;
    ASSERT_EQ(RegQueryValueExW(k.key(), L"empty", nullptr, &type, nullptr, &bytes), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    // One blank written without its terminator; Wine stores a terminator of its own.
    EXPECT_TRUE(bytes == sizeof(wchar_t) || bytes == 2 * sizeof(wchar_t)) << bytes;
}

TEST(RegistryStore, KeepsSectionsAndKeysApart) {
    TestKey k;
    RegistryStore store(k.path(), "OrvantaZ");
    EXPECT_FALSE(store.Get("CONFIG", "POSX").has_value());
    EXPECT_TRUE(store.Set("CONFIG", "POSX", "213.3333"));
    EXPECT_TRUE(store.Set("DESK1", "POSX", "other"));
    EXPECT_TRUE(store.Set("CONFIG", "SnapSavePath", "D:\\Bilder\\Schnappschüsse"));
    EXPECT_TRUE(store.Set("CONFIG", "Empty", ""));
    EXPECT_EQ(store.Get("CONFIG", "POSX"), "213.3333");
    EXPECT_EQ(store.Get("DESK1", "POSX"), "other");
    EXPECT_EQ(store.Get("CONFIG", "SnapSavePath"), "D:\\Bilder\\Schnappschüsse");
    EXPECT_EQ(store.Get("CONFIG", "Empty"), "");
    EXPECT_EQ(store.Read("CONFIG", "Missing", "dflt"), "dflt");
    EXPECT_EQ(RegGetString(HKEY_CURRENT_USER, k.path() + "\\OrvantaZ\\CONFIG", "POSX"), "213.3333");

    // A value of another type written by hand counts as missing, not as garbage.
    DWORD dw = 5;
    HKEY sec = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, Widen(k.path() + "\\OrvantaZ\\CONFIG").c_str(), 0, KEY_SET_VALUE, &sec),
              ERROR_SUCCESS);
    RegSetValueExW(sec, L"TOPMOST", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dw), sizeof dw);
    RegCloseKey(sec);
    EXPECT_FALSE(store.Get("CONFIG", "TOPMOST").has_value());
}

TEST(AutoStart, EntryFollowsTheProgramFile) {
    struct Case { const char* exe; const char* name; const char* command; };
    const Case cases[] = {
        {"C:\\Program Files\\Orvanta\\Orvanta.exe", "Orvanta.Exe", "C:\\Program Files\\Orvanta\\Orvanta.Exe"},
        {"D:\\Tools\\my.app\\Ørvanta.EXE", "Ørvanta.Exe", "D:\\Tools\\my.app\\Ørvanta.Exe"},
        {"C:\\x\\noext", "noext.Exe", "C:\\x\\noext.Exe"},
    };
    for (const auto& c : cases) {
        AutoStartEntry e = AutoStartFor(c.exe);
        EXPECT_EQ(e.valueName, c.name);
        EXPECT_EQ(e.command, c.command);
    }
}

TEST(AutoStart, OnWritesOffDeletesAndAMissingKeyDoesNothing) {
    TestKey k;
    const AutoStartEntry e = AutoStartFor("C:\\Prog\\Orvanta.exe");
    SetAutoStart(true, e, k.key());  // no Run key below the test key yet: nothing happens
    EXPECT_EQ(RegGetString(k.key(), kRunKey, "Orvanta.Exe"), "");

    HKEY run = nullptr;
    ASSERT_EQ(RegCreateKeyExW(k.key(), Widen(kRunKey).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &run, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(run);
    SetAutoStart(true, e, k.key());
    EXPECT_EQ(RegGetString(k.key(), kRunKey, "Orvanta.Exe"), "C:\\Prog\\Orvanta.Exe");
    SetAutoStart(false, e, k.key());
    EXPECT_EQ(RegGetString(k.key(), kRunKey, "Orvanta.Exe"), "");
    SetAutoStart(false, e, k.key());  // deleting twice is harmless
}

}  // namespace
}  // namespace orv
