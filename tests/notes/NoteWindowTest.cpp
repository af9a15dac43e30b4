// The note window on a real note file: opening with and without a stored note, saving on
// focus loss and by its buttons, and saves that cannot be made.
#include "notes/NoteDlg.h"

#include <gtest/gtest.h>

#include <olectl.h>

#include "framework/WinApp.h"
#include "notes/NoteFile.h"
#include "notes/NoteRecord.h"
#include "res/resource.h"
#include "tests/support/TestKit.h"

namespace {
class NoteWindow : public testing::Test {
 protected:
  void Open() {
    note.m_notePath = path;
    ASSERT_TRUE(note.Create(IDD_NOTE));
    note.ShowWindow(SW_SHOWNORMAL);
    SetForegroundWindow(note.m_hWnd);
    field = note.GetDlgItem(IDC_NOTE_TEXT);
  }
  void TearDown() override {
    if (other) DestroyWindow(other);
    if (note.m_hWnd) note.DestroyWindow();
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  std::string Field() const {
    char text[1024] = {0};
    GetWindowTextA(field, text, sizeof text);
    return text;
  }
  std::string Stored() const { return note::TextOfRecord(note::ReadStoredRecord(path.c_str())); }
  // Types into the field and takes the focus away, as clicking another window does.
  void TypeAndLeave(const char* text) {
    SetFocus(field);
    SetWindowTextA(field, text);
    if (!other)
      other =
          CreateWindowExA(0, "EDIT", "", WS_POPUP | WS_VISIBLE, 600, 600, 50, 20, nullptr, nullptr, nullptr, nullptr);
    SetFocus(other);
  }
  // A press and release on a caption button of the note, as the mouse gives them.
  void ClickButton(int id) {
    HWND button = note.GetDlgItem(id);
    SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  }
  testkit::ScratchDir dir{"note-window"};
  std::string path = dir / "note1.txt";
  CNoteDlg note;
  HWND field = nullptr;
  HWND other = nullptr;
};
}  // namespace

TEST_F(NoteWindow, WithoutANoteFileItOpensEmptyAndQuiet) {
  testkit::MessageBoxAnswerer boxes(IDOK);
  testkit::ReportRecorder reports;
  Open();
  EXPECT_EQ(Field(), "");
  EXPECT_TRUE(boxes.Boxes().empty());
  EXPECT_TRUE(reports.reports.empty());
  EXPECT_EQ(SendMessageA(field, EM_GETLIMITTEXT, 0, 0), 511) << "the field holds what the record can";
}

TEST_F(NoteWindow, ShowsEveryStoredLineOnAPaleYellowField) {
  ASSERT_TRUE(note::SaveNote("first line\r\nsecond line\r\nthird", path.c_str()));
  Open();
  EXPECT_EQ(Field(), "first line\r\nsecond line\r\nthird");
  HDC dc = GetDC(field);
  LRESULT brush =
      SendMessageA(note.m_hWnd, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(field));
  EXPECT_EQ(GetBkColor(dc), COLORREF(0x0093EFF5));
  EXPECT_EQ(GetTextColor(dc), COLORREF(0));
  LOGBRUSH info{};
  ASSERT_TRUE(GetObjectA(reinterpret_cast<HBRUSH>(brush), sizeof info, &info));
  EXPECT_EQ(info.lbColor, COLORREF(0x0093EFF5));
  ReleaseDC(field, dc);
}

TEST_F(NoteWindow, LosingTheFocusSavesTheTextAndKeepsTheWindow) {
  Open();
  TypeAndLeave("remember\r\nthe keys");
  EXPECT_EQ(Stored(), "remember\r\nthe keys");
  EXPECT_TRUE(note.IsWindowVisible());
  std::string bytes = note::ReadStoredRecord(path.c_str());
  EXPECT_EQ(bytes.size(), 512u);
}

TEST_F(NoteWindow, TheButtonsWriteAfterTheFocusLossSave) {
  Open();
  SetFocus(field);
  SetWindowTextA(field, "keep me");
  ClickButton(IDC_NOTE_CLOSE);
  EXPECT_EQ(Stored(), " ") << "Close empties the stored note";
  EXPECT_FALSE(note.IsWindowVisible());

  CNoteDlg second;
  second.m_notePath = path;
  ASSERT_TRUE(second.Create(IDD_NOTE));
  second.ShowWindow(SW_SHOWNORMAL);
  HWND secondField = second.GetDlgItem(IDC_NOTE_TEXT);
  EXPECT_EQ(GetWindowTextLengthA(secondField), 1);
  SetFocus(secondField);
  SetWindowTextA(secondField, "line one\r\nline two");
  HWND saveButton = second.GetDlgItem(IDC_NOTE_SAVE_CLOSE);
  SendMessageA(saveButton, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(saveButton, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(Stored(), "line one\r\nline two");
  EXPECT_FALSE(second.IsWindowVisible());
  second.DestroyWindow();
}

TEST_F(NoteWindow, AReadOnlyNoteOpensAndLosesTheFocusQuietlyWhileUnchanged) {
  ASSERT_TRUE(note::SaveNote("read only\r\nnote", path.c_str()));
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
  testkit::MessageBoxAnswerer boxes(IDOK);
  Open();
  TypeAndLeave("read only\r\nnote");
  testkit::Pump(100);
  EXPECT_TRUE(boxes.Boxes().empty());
  // A change that cannot be stored is told, but from the queue: the caller is not held.
  TypeAndLeave("changed");
  EXPECT_TRUE(boxes.Boxes().empty()) << "not before the window's thread is free";
  testkit::Pump(100);
  EXPECT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(Stored(), "read only\r\nnote");
}

TEST_F(NoteWindow, AFailedSaveKeepsTheOldFileTheTextAndTheWindowAndSaysSoOnce) {
  ASSERT_TRUE(note::SaveNote("old note", path.c_str()));
  Open();
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
  {
    testkit::MessageBoxAnswerer boxes(IDOK);
    SetFocus(field);
    SetWindowTextA(field, "new text");
    ClickButton(IDC_NOTE_SAVE_CLOSE);  // the focus-loss save and the button's both fail
    testkit::Pump(100);
    EXPECT_EQ(boxes.Boxes().size(), 1u);
    if (!boxes.Boxes().empty()) {
      EXPECT_NE(boxes.Boxes()[0].text.find("could not be saved"), std::string::npos);
    }
  }
  EXPECT_EQ(Stored(), "old note");
  EXPECT_EQ(Field(), "new text");
  EXPECT_TRUE(note.IsWindowVisible());
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);

  // Locked by another program: the same, and the old file is still whole afterwards.
  HANDLE lock = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  {
    testkit::MessageBoxAnswerer boxes(IDOK);
    note.OnClose();
    testkit::Pump(100);
    EXPECT_EQ(boxes.Boxes().size(), 1u);
  }
  CloseHandle(lock);
  EXPECT_EQ(Stored(), "old note");
  EXPECT_TRUE(note.IsWindowVisible());
  note.OnSaveAndClose();
  EXPECT_EQ(Stored(), "new text") << "once the file is free the next save goes through";
}
