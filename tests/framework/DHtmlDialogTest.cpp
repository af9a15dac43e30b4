// The page layer: a page built as windows behind the template's controls, its clicks routed
// through the HTML event map, and dialogs that still work when their page is damaged.
#include <gtest/gtest.h>

#include <memory>

#include "framework/DHtmlDialog.h"
#include "res/resource.h"
#include "tests/support/TestKit.h"

namespace {
const UINT kPageDialog = 910;
const UINT kBrokenPage = 911;
const UINT kExtraPage = 912;
const UINT kEmptyPage = 913;
const UINT kMissingPage = 999;
const int kTemplateEdit = 914;

class PageDialog : public CDHtmlDialog {
 public:
  explicit PageDialog(UINT page) : CDHtmlDialog(kPageDialog, page) {}
  ~PageDialog() override {
    if (m_hWnd) DestroyWindow();
  }
  BOOL OnInitDialog() override {
    CDHtmlDialog::OnInitDialog();
    initialised = true;
    return TRUE;
  }
  void OnOK() override {
    ++oks;
    CDHtmlDialog::OnOK();
  }
  void OnCancel() override {
    ++cancels;
    CDHtmlDialog::OnCancel();
  }
  const HtmlEventMap* GetHtmlEventMap() const override {
    static const HtmlEventEntry rows[] = {OnHtmlClick("Counted", &PageDialog::OnCounted)};
    static const HtmlEventMap map{CDHtmlDialog::GetHtmlEventMap(), rows};
    return &map;
  }
  HRESULT OnCounted(CHtmlElement* element) {
    ++counted;
    clickedWindow = element->window;
    return S_OK;
  }
  bool initialised = false;
  int oks = 0, cancels = 0, counted = 0;
  HWND clickedWindow = nullptr;
};

void Click(HWND button) {
  ASSERT_NE(button, nullptr);
  SendMessageA(button, BM_CLICK, 0, 0);
  testkit::Pump(20);
}

// Position of `child` among its siblings, counted from the top of the z-order.
int ZIndex(HWND child) {
  int index = 0;
  for (HWND w = GetWindow(GetParent(child), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT), ++index)
    if (w == child) return index;
  return -1;
}
}  // namespace

TEST(DHtmlDialog, BuildsTheProgramsPageBehindTheTemplate) {
  PageDialog dialog(IDR_PAGE_OPTIONS);
  ASSERT_TRUE(dialog.Create(kPageDialog));
  EXPECT_TRUE(dialog.initialised);
  EXPECT_EQ(dialog.GetPage().bodyId, "options");
  HWND ok = dialog.GetElementWindow("ButtonOK"), cancel = dialog.GetElementWindow("ButtonCancel");
  ASSERT_NE(ok, nullptr);
  ASSERT_NE(cancel, nullptr);
  RECT okRect, cancelRect, client;
  GetWindowRect(ok, &okRect);
  GetWindowRect(cancel, &cancelRect);
  EXPECT_EQ(okRect.right - okRect.left, 100);
  EXPECT_LT(okRect.bottom, cancelRect.bottom) << "OK stands above Cancel";
  GetClientRect(dialog, &client);
  POINT right{okRect.right, okRect.top};
  ScreenToClient(dialog, &right);
  EXPECT_GT(right.x, client.right / 2) << "the buttons are right-aligned";
  EXPECT_LT(ZIndex(GetDlgItem(dialog, kTemplateEdit)), ZIndex(ok)) << "the template's controls stay in front";

  testkit::Canvas canvas(4, 4);
  SendMessageA(dialog, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.Dc()), 0);
  EXPECT_EQ(canvas.At(1, 1), RGB(0xD3, 0xD3, 0xD3)) << "the body's light grey";
}

TEST(DHtmlDialog, OkAndCancelElementsReachOnOKAndOnCancel) {
  PageDialog dialog(IDR_PAGE_PHOTO);
  ASSERT_TRUE(dialog.Create(kPageDialog));
  dialog.ShowWindow(SW_SHOW);
  Click(dialog.GetElementWindow("ButtonOK"));
  EXPECT_EQ(dialog.oks, 1);
  EXPECT_FALSE(dialog.IsWindowVisible()) << "a modeless dialog ends hidden";
  dialog.ShowWindow(SW_SHOW);
  Click(dialog.GetElementWindow("ButtonCancel"));
  EXPECT_EQ(dialog.cancels, 1);
  EXPECT_EQ(dialog.oks, 1);
  EXPECT_FALSE(dialog.IsWindowVisible());
  EXPECT_EQ(dialog.FireHtmlEvent("ButtonOK"), S_OK);
  EXPECT_EQ(dialog.oks, 2);
}

TEST(DHtmlDialog, ElementsWithoutARowDoNothing) {
  testkit::ReportRecorder reports;
  PageDialog dialog(kExtraPage);
  ASSERT_TRUE(dialog.Create(kPageDialog));
  dialog.ShowWindow(SW_SHOW);
  Click(dialog.GetElementWindow("Unmapped"));
  EXPECT_TRUE(dialog.IsWindowVisible());
  EXPECT_EQ(dialog.oks + dialog.cancels + dialog.counted, 0);
  EXPECT_EQ(dialog.FireHtmlEvent("NoSuchElement"), S_FALSE);
  EXPECT_EQ(dialog.FireHtmlEvent(nullptr), S_FALSE);
  Click(dialog.GetElementWindow("Counted"));
  EXPECT_EQ(dialog.counted, 1);
  EXPECT_EQ(dialog.clickedWindow, dialog.GetElementWindow("Counted"));
  EXPECT_EQ(dialog.GetElementWindow("Hidden"), nullptr) << "commented out";
  EXPECT_TRUE(reports.reports.empty());
}

TEST(DHtmlDialog, DamagedEmptyOrMissingPagesLeaveAWorkingDialog) {
  testkit::MessageBoxAnswerer boxes(IDOK);
  testkit::ReportRecorder reports;
  for (UINT page : {kBrokenPage, kEmptyPage, kMissingPage}) {
    PageDialog dialog(page);
    ASSERT_TRUE(dialog.Create(kPageDialog)) << page;
    EXPECT_TRUE(dialog.initialised) << page;
    ASSERT_NE(GetDlgItem(dialog, kTemplateEdit), nullptr) << page;
    dialog.ShowWindow(SW_SHOW);
    testkit::Pump(20);
    SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(dialog.cancels, 1) << page;
  }
  EXPECT_TRUE(boxes.Boxes().empty());
  EXPECT_TRUE(reports.reports.empty());
}

TEST(DHtmlDialog, ClassesAreCreatedByName) {
  static const DHtmlClassEntry table[] = {
      {"photo", [] { return static_cast<CDHtmlDialog*>(new PageDialog(IDR_PAGE_PHOTO)); }},
      {"syst", [] { return static_cast<CDHtmlDialog*>(new PageDialog(IDR_PAGE_SYSTEM)); }},
  };
  std::unique_ptr<CDHtmlDialog> photo(CreateDHtmlDialog(table, "photo"));
  ASSERT_NE(photo, nullptr);
  ASSERT_TRUE(photo->Create(kPageDialog));
  EXPECT_EQ(photo->GetPage().bodyId, "photo");
  EXPECT_EQ(CreateDHtmlDialog(table, "Photo"), nullptr);
  EXPECT_EQ(CreateDHtmlDialog(table, nullptr), nullptr);
}
