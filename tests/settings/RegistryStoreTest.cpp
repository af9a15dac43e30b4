#include "settings/RegistryStore.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tests/support/TestKit.h"

namespace {

const char kApp[] = "Software\\TidybarTest\\App";
const char kS[] = "Software\\TidybarTest\\App\\S";

// Sub-key count of a key under HKEY_CURRENT_USER, -1 when it does not exist.
int SubKeys(const char* path) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return -1;
  DWORD count = 0;
  RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                   nullptr);
  RegCloseKey(key);
  return static_cast<int>(count);
}

std::vector<BYTE> Raw(const char* path, const char* name, DWORD expectedType) {
  DWORD type = 0;
  std::vector<BYTE> bytes;
  EXPECT_TRUE(testkit::RawValue(path, name, &type, &bytes)) << path << " " << name;
  EXPECT_EQ(type, expectedType) << name;
  return bytes;
}

struct Store : CRegistryStore {
  explicit Store(const char* company = "TidybarTest", const char* app = "App", int flush = 0) : CRegistryStore(flush) {
    SetCompany(company);
    SetApplication(app);
  }
};

template <class T> T RoundTrip(CRegistryStore& store, const char* name, T value) {
  T back{};
  EXPECT_TRUE(store.Write("S", name, value) && store.Read("S", name, back)) << name;
  return back;
}

DWORD Error() { return GetLastError(); }

}  // namespace

TEST(RegistryStore, BarSettingLandsAsDwordAndEverySpellingOfTheSectionFindsIt) {
  testkit::ScratchKey scratch("Farrowind");
  Store store("Farrowind", "tyb");
  ASSERT_TRUE(store.Write("Settings/", "seltime", 5));
  EXPECT_EQ(Raw("Software\\Farrowind\\tyb\\Settings", "seltime", REG_DWORD), (std::vector<BYTE>{5, 0, 0, 0}));
  for (const char* section : {"Settings", "/Settings", "  Settings  "}) {
    int value = 0;
    EXPECT_TRUE(store.Read(section, "seltime", value) && value == 5) << section;
  }
  EXPECT_EQ(SubKeys("Software\\Farrowind\\tyb"), 1);
}

TEST(RegistryStore, FailedReadsKeepTheVariableAndCreateNothing) {
  testkit::ScratchKey scratch("TidybarTest");
  Store store;
  int value = 42;
  EXPECT_FALSE(store.Read("Settings", "seltime", value));
  EXPECT_EQ(Error(), DWORD{ERROR_FILE_NOT_FOUND});
  EXPECT_EQ(SubKeys("Software\\TidybarTest"), -1);
  ASSERT_TRUE(store.Write("S", "other", 1));
  EXPECT_FALSE(store.Read("S", "seltime", value));
  EXPECT_EQ(value, 42);
}

TEST(RegistryStore, WithoutCompanyOrApplicationNothingIsTouched) {
  int before = SubKeys("Software");
  Store store(" / ", "\\");
  int value = 42;
  EXPECT_FALSE(store.Write("Settings", "v", 1));
  EXPECT_FALSE(store.Read("Settings", "v", value));
  EXPECT_EQ(Error(), DWORD{ERROR_INVALID_DATA});
  EXPECT_EQ(value, 42);
  EXPECT_EQ(SubKeys("Software"), before);
}

TEST(RegistryStore, ApplicationAloneSitsStraightUnderSoftware) {
  testkit::ScratchKey scratch("TidybarTest");
  Store appOnly(nullptr, "\\TidybarTest/");
  ASSERT_TRUE(appOnly.Write("S", "app", 2));
  Raw("Software\\TidybarTest\\S", "app", REG_DWORD);
}

TEST(RegistryStore, EmptySectionAddressesTheApplicationKeyItself) {
  // The path then ends in a separator, which the registry takes as the key before it.
  testkit::ScratchKey scratch("TidybarTest");
  Store store;
  int value = 0;
  ASSERT_TRUE(store.Write("/ /", "v", 3));
  EXPECT_TRUE(store.Read("", "v", value) && value == 3);
  Raw(kApp, "v", REG_DWORD);
  EXPECT_EQ(SubKeys(kApp), 0);
  EXPECT_EQ(SubKeys("Software\\TidybarTest"), 1);
}

TEST(RegistryStore, EveryWidthRoundTripsWithItsStoredType) {
  testkit::ScratchKey scratch("TidybarTest");
  Store store("TidybarTest", "App", 1);  // flushing changes nothing visible
  EXPECT_EQ(RoundTrip(store, "c", char(-5)), -5);
  EXPECT_EQ(RoundTrip(store, "uc", static_cast<unsigned char>(200)), 200);
  EXPECT_EQ(RoundTrip(store, "s", short(-12345)), -12345);
  EXPECT_EQ(RoundTrip(store, "us", static_cast<unsigned short>(0xBEEF)), 0xBEEF);
  EXPECT_EQ(RoundTrip(store, "low0", static_cast<unsigned short>(0x4100)), 0x4100);
  EXPECT_EQ(RoundTrip(store, "u", 4000000000u), 4000000000u);
  EXPECT_EQ(RoundTrip(store, "l", -8L), -8L);
  EXPECT_EQ(RoundTrip(store, "ul", 9UL), 9UL);
  EXPECT_EQ(RoundTrip(store, "f", 1.5f), 1.5f);
  EXPECT_EQ(RoundTrip(store, "d", -2.25), -2.25);
  EXPECT_EQ(Raw(kS, "c", REG_SZ), (std::vector<BYTE>{0xFB}));  // no terminator stored
  EXPECT_EQ(Raw(kS, "us", REG_SZ), (std::vector<BYTE>{0xEF, 0xBE}));
  EXPECT_EQ(Raw(kS, "d", REG_BINARY).size(), 8u);
}

TEST(RegistryStore, ReadsWantTheVariablesExactWidthButNotItsType) {
  testkit::ScratchKey scratch("TidybarTest");
  Store store;
  const BYTE four[] = {1, 2, 3, 4};
  ASSERT_TRUE(store.WriteString("S", "long", "abcdefg") && store.WriteString("S", "a", "a") &&
              store.WriteString("S", "abc", "abc") && store.WriteBinary("S", "bin", four, 4));
  int value = 42;
  double wide = 7;
  EXPECT_FALSE(store.Read("S", "long", value));
  EXPECT_EQ(Error(), DWORD{ERROR_MORE_DATA});
  EXPECT_FALSE(store.Read("S", "a", value));  // two bytes must not half-fill an int
  EXPECT_EQ(Error(), DWORD{ERROR_INVALID_DATA});
  EXPECT_FALSE(store.Read("S", "bin", wide));
  EXPECT_EQ(value, 42);
  EXPECT_EQ(wide, 7);
  EXPECT_TRUE(store.Read("S", "abc", value) && value == 0x00636261);
  EXPECT_TRUE(store.Read("S", "bin", value) && value == 0x04030201);
}

TEST(RegistryStore, BuffersAndTexts) {
  testkit::ScratchKey scratch("TidybarTest");
  Store store;
  ASSERT_TRUE(store.WriteString("S", "text", "hello"));
  char text[16];
  DWORD size = sizeof text;
  EXPECT_TRUE(store.ReadBuffer("S", "text", text, &size));
  EXPECT_EQ(size, 6u);  // the terminator is stored
  EXPECT_STREQ(text, "hello");
  char small[4] = {'x', 'x', 'x', 'x'};
  size = 3;
  EXPECT_FALSE(store.ReadBuffer("S", "text", small, &size));
  EXPECT_EQ(Error(), DWORD{ERROR_MORE_DATA});
  EXPECT_EQ(size, 6u);
  EXPECT_EQ(std::memcmp(small, "xxxx", 4), 0);
  EXPECT_FALSE(store.ReadBuffer("S", "text", static_cast<BYTE*>(nullptr), &size));
  EXPECT_EQ(Error(), DWORD{ERROR_INVALID_PARAMETER});
  EXPECT_FALSE(store.ReadBuffer("S", "text", text, nullptr));
  EXPECT_FALSE(store.WriteString("T", "none", nullptr));
  EXPECT_EQ(Error(), DWORD{ERROR_INVALID_PARAMETER});
  EXPECT_FALSE(store.WriteBinary("T", "none", nullptr, 4));
  EXPECT_EQ(SubKeys(kApp), 1);
}

TEST(RegistryStore, DeleteTreeRemovesTheApplicationOrTheWholeCompany) {
  testkit::ScratchKey scratch("TidybarTest");
  Store store, other("TidybarTest", "Other"), noApp("TidybarTest", "");
  ASSERT_TRUE(store.Write("S", "v", 1) && other.Write("S", "v", 1));
  EXPECT_FALSE(noApp.DeleteTree(FALSE));
  EXPECT_TRUE(store.DeleteTree(FALSE));
  EXPECT_EQ(SubKeys(kApp), -1);
  EXPECT_EQ(SubKeys("Software\\TidybarTest"), 1);
  EXPECT_TRUE(noApp.DeleteTree(TRUE));
  EXPECT_EQ(SubKeys("Software\\TidybarTest"), -1);
}

TEST(RegistryStore, LastErrorTextLeavesInsertsAlone) {
  SetLastError(ERROR_BAD_EXE_FORMAT);  // its message has a %1 in it
  EXPECT_NE(LastErrorText().Find("%1"), -1) << LastErrorText().GetString();
}
