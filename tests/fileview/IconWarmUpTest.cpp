// Icons made ahead, on a thread of their own, for a folder a view is about to show.
#include "ocx/fileview/IconWarmUp.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "IconFiles.h"
#include "ocx/fileview/IconLoader.h"
#include "ocx/fileview/IconSource.h"
#include "tests/support/TestKit.h"

namespace {
std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

bool Settles() { return testkit::PumpUntil([] { return !iconwarmup::IsRunning(); }, 20000); }
}  // namespace

// The icons land in the shell's image list before any view asks, and the next view has them
// from the start; a folder is prepared once.
TEST(IconWarmUpTest, APreparedFolderLeavesItsIconsInTheShellsList) {
  testkit::ScratchDir dir("warm-up");
  WriteSolidIcon(dir / "blue.ico", RGB(0, 0, 255));
  testkit::WriteTextFile(dir / "a.txt", "a");
  ASSERT_TRUE(MakeShortcut(dir / "blue.lnk", dir / "a.txt", dir / "blue.ico"));
  CIconSource view;
  int before = ImageList_GetImageCount(view.ImageList());

  iconwarmup::Prepare(Wide(dir.path));
  ASSERT_TRUE(Settles());
  int after = ImageList_GetImageCount(view.ImageList());
  EXPECT_GT(after, before);
  int blue = view.IconOf((dir / "blue.lnk").c_str(), "blue.lnk", false);
  EXPECT_EQ(ImageList_GetImageCount(view.ImageList()), after);  // found, not made again
  EXPECT_EQ(MiddleOfImage(view.ImageList(), blue), RGB(0, 0, 255));

  // The next view has the icons made ahead from the start; the one after looks them up itself.
  CFolderListing listing;
  listing.Read(Wide(dir.path), "*.*");
  int link = listing.Find(Wide(dir / "blue.lnk"));
  ASSERT_GE(link, 0);
  CIconLoader next, later;
  next.Reset(listing.Items());
  later.Reset(listing.Items());
  EXPECT_EQ(next.IconFor(link), blue);
  EXPECT_FALSE(next.IsWantedPending());
  later.IconFor(link);
  EXPECT_TRUE(later.IsWantedPending());

  iconwarmup::Prepare(Wide(dir.path));
  EXPECT_FALSE(iconwarmup::IsRunning());
}

// A view being made stops a preparation under way, and a folder asked for meanwhile is taken
// up all the same; folders that are not there cost nothing.
TEST(IconWarmUpTest, AViewStopsItAndFoldersAskedMeanwhileFollow) {
  testkit::ScratchDir first("warm-up-first"), second("warm-up-second");
  for (int i = 0; i < 30; ++i) {
    testkit::WriteTextFile(first / ("p" + std::to_string(i) + ".exe"), "x");
    testkit::WriteTextFile(second / ("q" + std::to_string(i) + ".exe"), "x");
  }
  iconwarmup::Prepare(Wide(first.path));
  iconwarmup::StandAside();
  ASSERT_TRUE(Settles());
  iconwarmup::Prepare(Wide(second.path));
  iconwarmup::Prepare(L"C:\\no such folder");
  EXPECT_TRUE(Settles());
}
