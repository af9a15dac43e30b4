// The help window: its rich edit host's OLE callback, and the help document streamed in
// from the resources with its picture.
#include "notes/HelpDlg.h"

#include <gtest/gtest.h>

#include <richedit.h>
#include <richole.h>

#include <string>

#include "framework/Handles.h"
#include "framework/WinApp.h"
#include "notes/RichEditCallback.h"
#include "res/resource.h"
#include "tests/support/TestKit.h"

namespace {
std::wstring NameOf(IStorage* storage) {
  STATSTG stat{};
  if (FAILED(storage->Stat(&stat, STATFLAG_DEFAULT))) return L"";
  std::wstring name = stat.pwcsName ? stat.pwcsName : L"";
  CoTaskMemFree(stat.pwcsName);
  return name;
}

class HelpWindow : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    OleInitialize(nullptr);
    AfxInitRichEdit2();
  }
  void TearDown() override {
    if (help.m_hWnd) help.DestroyWindow();
  }
  std::string Text() const {
    HWND edit = help.GetDlgItem(IDC_HELP_TEXT);
    std::string text(GetWindowTextLengthA(edit) + 1, '\0');
    text.resize(GetWindowTextA(edit, text.data(), int(text.size())));
    return text;
  }
  CHelpDlg help;
};
}  // namespace

TEST(RichEditCallback, AnswersItsTwoInterfacesAndCountsItsOwnReferences) {
  OleInitialize(nullptr);
  auto* callback = new CRichEditCallback;
  EXPECT_EQ(callback->AddRef(), 1u);
  void* object = nullptr;
  EXPECT_EQ(callback->QueryInterface(IID_IUnknown, &object), S_OK);
  EXPECT_EQ(object, static_cast<IRichEditOleCallback*>(callback));
  EXPECT_EQ(callback->QueryInterface(IID_IRichEditOleCallback, &object), S_OK);
  object = reinterpret_cast<void*>(1);
  EXPECT_EQ(callback->QueryInterface(IID_IDispatch, &object), E_NOINTERFACE);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(callback->Release(), 2u);
  EXPECT_EQ(callback->Release(), 1u);
  EXPECT_EQ(callback->ShowContainerUI(TRUE), S_OK);
  EXPECT_EQ(callback->QueryAcceptData(nullptr, nullptr, 0, FALSE, nullptr), S_OK);
  EXPECT_EQ(callback->Release(), 0u);
}

TEST(RichEditCallback, NumbersTheSubStoragesFromOneAndNeverAgain) {
  OleInitialize(nullptr);
  ComPtr<CRichEditCallback> callback(new CRichEditCallback, true);
  ComPtr<IStorage> first, second, third;
  ASSERT_EQ(callback->GetNewStorage(first.Receive()), S_OK);
  ASSERT_EQ(callback->GetNewStorage(second.Receive()), S_OK);
  EXPECT_EQ(NameOf(first.Get()), L"REOLEStorage1");
  EXPECT_EQ(NameOf(second.Get()), L"REOLEStorage2");
  first = ComPtr<IStorage>();  // an object deleted: its number stays used
  ASSERT_EQ(callback->GetNewStorage(third.Receive()), S_OK);
  EXPECT_EQ(NameOf(third.Get()), L"REOLEStorage3");
}

TEST_F(HelpWindow, ShowsTheWholeDocumentWithItsPictureAndTitle) {
  ASSERT_TRUE(help.Create(IDD_HELP));
  EXPECT_TRUE(help.IsWindowVisible()) << "the template makes it visible";
  std::string text = Text();
  const char* sections[] = {
      "Tidybar -- HELP",        "TO USE TYB:",    "TO USE TYBCalendar:", "TO USE THE NOTE FEATURE:",
      "TO USE THE MP3 PLAYER:", "INITIAL SETUP:", "Set Options:"};
  size_t at = 0;
  for (const char* section : sections) {
    size_t found = text.find(section, at);
    EXPECT_NE(found, std::string::npos) << section << " missing or out of order";
    if (found != std::string::npos) at = found;
  }
  EXPECT_NE(text.find("stays open. Close saves the options."), std::string::npos) << "streamed in to its end";

  HWND edit = help.GetDlgItem(IDC_HELP_TEXT);
  IRichEditOle* ole = nullptr;
  ASSERT_TRUE(SendMessageA(edit, EM_GETOLEINTERFACE, 0, reinterpret_cast<LPARAM>(&ole)));
  ComPtr<IRichEditOle> richOle(ole, false);
  EXPECT_EQ(richOle->GetObjectCount(), 1) << "the picture at the top";

  // The title: bold, blue, Times New Roman at 18 points.
  size_t title = text.find("Tidybar -- HELP");
  ASSERT_NE(title, std::string::npos);
  CHARRANGE range{LONG(title + 2), LONG(title + 9)};
  SendMessageA(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
  CHARFORMATA format{};
  format.cbSize = sizeof format;
  SendMessageA(edit, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
  EXPECT_TRUE(format.dwEffects & CFE_BOLD);
  EXPECT_EQ(format.crTextColor, RGB(0, 0, 255));
  EXPECT_STREQ(format.szFaceName, "Times New Roman");
  EXPECT_EQ(format.yHeight, 18 * 20);
}

TEST_F(HelpWindow, CloseHidesItAndTwoHelpWindowsLiveSideBySide) {
  ASSERT_TRUE(help.Create(IDD_HELP));
  CHelpDlg second;
  ASSERT_TRUE(second.Create(IDD_HELP));
  EXPECT_NE(second.m_hWnd, help.m_hWnd);
  help.OnClose();
  EXPECT_FALSE(help.IsWindowVisible());
  EXPECT_TRUE(IsWindow(help.m_hWnd)) << "hidden, not destroyed";
  EXPECT_TRUE(second.IsWindowVisible());
  second.DestroyWindow();
}

TEST_F(HelpWindow, OpensAtTheTopWithNothingSelectedAndLongParagraphsWrapped) {
  ASSERT_TRUE(help.Create(IDD_HELP));
  HWND edit = help.GetDlgItem(IDC_HELP_TEXT);
  help.SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
  CHARRANGE selection{};
  SendMessageA(edit, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
  EXPECT_EQ(selection.cpMin, selection.cpMax) << "the focus does not select the whole document";
  std::string text = Text();
  size_t start = text.find("Tidybar keeps"), end = text.find("while the program runs.");
  ASSERT_NE(start, std::string::npos);
  ASSERT_NE(end, std::string::npos);
  EXPECT_GT(SendMessageA(edit, EM_EXLINEFROMCHAR, 0, LPARAM(end)),
            SendMessageA(edit, EM_EXLINEFROMCHAR, 0, LPARAM(start)))
      << "a paragraph wider than the window wraps";
}

// Counts pixels of the picture's dark blue bar strip in a square of `dc`.
int StripPixels(HDC dc, int left, int top, int size) {
  int dark = 0;
  for (int y = top; y < top + size; ++y)
    for (int x = left; x < left + size; ++x) {
      COLORREF c = GetPixel(dc, x, y);
      dark += GetRValue(c) < 40 && GetGValue(c) < 60 && GetBValue(c) > 40 && GetBValue(c) < 90;
    }
  return dark;
}

// The embedded picture is the drawing of the bar, and the field shows it at the top.
TEST_F(HelpWindow, TheEmbeddedPictureIsTheDrawingOfTheBar) {
  ASSERT_TRUE(help.Create(IDD_HELP));
  HWND edit = help.GetDlgItem(IDC_HELP_TEXT);
  IRichEditOle* ole = nullptr;
  ASSERT_TRUE(SendMessageA(edit, EM_GETOLEINTERFACE, 0, reinterpret_cast<LPARAM>(&ole)));
  ComPtr<IRichEditOle> richOle(ole, false);
  REOBJECT object{};
  object.cbStruct = sizeof object;
  ASSERT_EQ(richOle->GetObject(0, &object, REO_GETOBJ_POLEOBJ), S_OK);
  ComPtr<IOleObject> picture(object.poleobj, false);
  EXPECT_EQ(object.cp, 0) << "the document opens with it";
  EXPECT_EQ(object.sizel.cx, 1270);  // half an inch, 720 twips
  EXPECT_EQ(object.sizel.cy, 1270);
  ComPtr<IDataObject> data;
  ASSERT_EQ(picture->QueryInterface(IID_IDataObject, reinterpret_cast<void**>(data.Receive())), S_OK);
  FORMATETC format{CF_ENHMETAFILE, nullptr, DVASPECT_CONTENT, -1, TYMED_ENHMF};
  STGMEDIUM medium{};
  ASSERT_EQ(data->GetData(&format, &medium), S_OK);
  testkit::Canvas canvas(48, 48, RGB(128, 128, 128));
  RECT frame{0, 0, 48, 48};
  PlayEnhMetaFile(canvas.Dc(), medium.hEnhMetaFile, &frame);
  ReleaseStgMedium(&medium);
  EXPECT_GT(StripPixels(canvas.Dc(), 0, 0, 48), 200) << "the bar's strip across the picture";

  SetWindowPos(help.m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  UpdateWindow(edit);
  testkit::Pump(300);
  RECT r;
  GetWindowRect(edit, &r);
  HDC screen = GetDC(nullptr);
  int onScreen = StripPixels(screen, r.left + 2, r.top + 2, 56);
  ReleaseDC(nullptr, screen);
  if (onScreen == 0 && GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version"))
    GTEST_SKIP() << "Wine's rich edit keeps the picture's place but does not draw embedded metafiles";
  EXPECT_GT(onScreen, 100) << "the picture drawn at the top of the field";
}
