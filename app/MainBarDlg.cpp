#include "app/MainBarDlg.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <olectl.h>
#include <shellapi.h>
#include <windowsx.h>

#include "app/BarPlacement.h"
#include "fileops/StartupShortcut.h"
#include "framework/Trace.h"
#include "media/PlaylistDlg.h"
#include "notes/HelpDlg.h"
#include "notes/NoteDlg.h"
#include "notes/NoteFile.h"
#include "notes/NoteRecord.h"
#include "ocx/fileview/IconWarmUp.h"
#include "res/resource.h"
#include "selectors/SelectorDlg.h"
#include "settings/OptionsDlg.h"
#include "settings/Settings.h"
#include "tray/SystemTray.h"

namespace {
// Seconds to milliseconds, kept within what a window timer accepts.
int SelectorLifetimeMs(int seconds) {
  int64_t ms = int64_t(seconds) * 1000;
  return int(std::clamp<int64_t>(ms, 0, INT_MAX));
}

// The folder a category's window shows, in the wide form the icon preparation takes.
std::wstring WideCategoryFolder(std::size_t row) {
  std::string folder = CategoryFolder(row);
  return std::wstring(folder.begin(), folder.end());  // the table's names are plain ASCII
}

// A new modeless window in `latest`. Ending it destroys it and frees its memory, since
// nothing in the program could show it again.
template <class Window> void OpenWindow(Window*& latest, UINT templateId) {
  auto* window = new Window;
  if (!window->Create(templateId)) {
    delete window;
    return;
  }
  window->GoWithWindow(&latest);
  latest = window;
  window->ShowWindow(SW_SHOWNORMAL);
}

// The category buttons' rows of the event sink map, one per row of the category table.
template <std::size_t... Rows>
const EventSinkMap* CategoryButtons(const EventSinkMap* base, std::index_sequence<Rows...>) {
  static const EventSinkEntry rows[] = {
      OnEvent<&CMainBarDlg::OnCategory<Rows>>(kCategories[Rows].button, DISPID_CLICK)...};
  static const EventSinkMap map{base, rows};
  return &map;
}
const EventSinkMap* CategoryButtons(const EventSinkMap* base) {
  return CategoryButtons(base, std::make_index_sequence<kCategoryCount>());
}
}  // namespace

template <std::size_t Row> void CMainBarDlg::OnCategory() { OpenSelector(new SelectorClass<Row>, Row); }

CMainBarDlg::CMainBarDlg(CWnd* parent)
    : CBitmapDialog(IDD_MAIN_BAR, parent),
      m_barIcon(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME))) {}

const MessageMap* CMainBarDlg::GetMessageMap() const {
  static const MessageEntry entries[] = {
      OnMessage<WM_NCHITTEST>(&CMainBarDlg::OnNcHitTest),
      OnMessage<WM_SETCURSOR>(&CMainBarDlg::OnSetCursor),
      OnMessage<WM_PAINT>(&CMainBarDlg::OnPaint),
      OnMessage<WM_QUERYDRAGICON>(&CMainBarDlg::OnQueryDragIcon),
      OnMessage(WM_TRAYNOTIFY, &CMainBarDlg::OnTrayNotify),
      OnMessage<WM_TIMER>(&CMainBarDlg::OnTimer),
      OnNotify(IDC_VOLUME_SLIDER, NM_RELEASEDCAPTURE, &CMainBarDlg::OnVolumeReleased),
      OnNotify(IDC_SEEK_SLIDER, NM_RELEASEDCAPTURE, &CMainBarDlg::OnSeekReleased),
  };
  static const MessageMap map{CBitmapDialog::GetMessageMap(), entries};
  return &map;
}

const EventSinkMap* CMainBarDlg::GetEventSinkMap() const {
  static const EventSinkEntry entries[] = {
      OnEvent<&CMainBarDlg::OnOptions>(IDC_OPTIONS, DISPID_CLICK),
      OnEvent<&CMainBarDlg::OnCloseBar>(IDC_CLOSE_BAR, DISPID_CLICK),
      OnEvent<&CMainBarDlg::OnCalendar>(IDC_CALENDAR, DISPID_CLICK),
      OnEvent<&CMainBarDlg::OnOpen>(IDC_OPEN, DISPID_CLICK),
      OnEvent<&CMainBarDlg::OnPlay>(IDC_PLAY, DISPID_CLICK),
      OnEvent<&CMainBarDlg::OnPause>(IDC_PAUSE, DISPID_CLICK),
      OnEvent<&CMainBarDlg::OnStop>(IDC_STOP, DISPID_CLICK),
      OnEvent<&CMainBarDlg::OnPlayPlaylist>(IDC_PLAY_PLAYLIST, DISPID_CLICK),
      OnEvent<&CMainBarDlg::OnPlaylistEditor>(IDC_PLAYLIST, DISPID_CLICK),
      OnEvent<&CMainBarDlg::OnSkip>(IDC_SKIP, DISPID_CLICK),
      OnEvent<&CMainBarDlg::OnProgress>(IDC_MP3, mp3contract::kProgress),
      OnEvent<&CMainBarDlg::OnStateChange>(IDC_MP3, mp3contract::kStateChange),
      OnEvent<&CMainBarDlg::OnPlayerOpened>(IDC_MP3, mp3contract::kOpened),
      OnEvent<&CMainBarDlg::OnHelp>(IDC_HELP_BUTTON, DISPID_CLICK),
      OnEvent<&CMainBarDlg::OnNote>(IDC_NOTE, DISPID_CLICK),
  };
  static const EventSinkMap map{CategoryButtons(CBitmapDialog::GetEventSinkMap()), entries};
  return &map;
}

BOOL CMainBarDlg::OnInitDialog() {
  trace::StartupStep("bar's window and controls created");
  CBitmapDialog::OnInitDialog();
  trace::StartupStep("controls bound");
  SetIcon(m_barIcon, TRUE);
  SetIcon(m_barIcon, FALSE);
  // At log-on the taskbar may not take icons yet: the tray icon then comes when it can,
  // and the bar starts in full all the same.
  g_trayIcon.AddToTray(this, WM_TRAYNOTIFY, "Tidybar", m_barIcon, kTrayIconId);
  trace::StartupStep("tray icon asked for");
  ReopenNote();
  trace::StartupStep("note reopened or not");
  LoadBackground(IDB_BAR_BACKGROUND);
  SetDrawMode(kCentre);
  trace::StartupStep("background loaded");
  SetUpPlayerPanel();
  trace::StartupStep("player set up, start-up sound playing");
  StartClock();
  trace::StartupStep("clock started");
  ApplySettings();
  trace::StartupStep("settings applied");
  return TRUE;
}

void CMainBarDlg::DoDataExchange(CDataExchange* pDX) {
  CBitmapDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_MP3, m_mp3);
  DDX_Control(pDX, IDC_SEEK_SLIDER, m_seekSlider);
  DDX_Control(pDX, IDC_VOLUME_SLIDER, m_volumeSlider);
  DDX_Control(pDX, IDC_CLOCK, m_clock);
  DDX_Control(pDX, IDC_TIME_DISPLAY, m_timeDisplay);
}

// The volume starts at a quarter on the slider only; the control keeps its own volume until
// the slider is first let go. The start-up sound plays from the current folder.
void CMainBarDlg::SetUpPlayerPanel() {
  m_volumeSlider.SetRange(0, 100, FALSE);
  m_volumeSlider.SetPos(25);
  m_mp3.OpenFile("simple.mp3");
  m_mp3.Play();
  m_timeDisplay.SetBkColor(RGB(1, 0, 0));
  m_timeDisplay.SetTextColor(RGB(44, 255, 9));
}

// The time in red on a practically black, sunken face.
void CMainBarDlg::StartClock() {
  m_clock.SetPhase(0);
  m_clock.SetOffTextColor(RGB(248, 56, 56));
  m_clock.SetOffBkColor(RGB(1, 0, 0));
  m_clock.SetBold(1);
  m_clock.SetSunken(1);
  m_clock.SetFontFace(12, "Comic Sans MS");
  TRACE_IF_FALSE(m_clock.Start());
}

void CMainBarDlg::ApplySettings() {
  using namespace settings;
  CRegistryStore store(0);
  OpenUserSettings(store);
  TRACE_IF_FALSE(ApplyStartupShortcut(Read(store, kLoadStartup, kAbsentLoadStartup)));
  BarFlags flags;
  flags.loadBottom = IsOn(Read(store, kLoadBottom, kAbsentFlag));
  flags.hideMemory = IsOn(Read(store, kHideMemory, kAbsentFlag));
  flags.hideCpu = IsOn(Read(store, kHideCpu, kAbsentFlag));
  flags.hideMp3 = IsOn(Read(store, kHideMp3, kAbsentFlag));
  if (auto place = BarPlacement(flags, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)))
    MoveWindow(place->x, place->y, place->width, place->height, TRUE);
  m_selectorCloseMs = SelectorLifetimeMs(Read(store, kSelTime, kAbsentSelTime));
}

// A note whose first line has more than two characters was left open last time. No note
// file yet is the ordinary first start.
void CMainBarDlg::ReopenNote() {
  if (note::ShouldReopen(note::ReadStoredRecord())) OnNote();
}

// Windows opened from the bar have no parent, so the bar owns them; they live until the
// user ends them or the program ends.
void CMainBarDlg::OnNote() { OpenWindow(m_noteWnd, IDD_NOTE); }

void CMainBarDlg::OnHelp() { OpenWindow(m_helpWnd, IDD_HELP); }

// A new window each click, in the category's slot; the timer that ends it starts again.
// A window the slot held before is no longer tracked: it stays until the user closes it.
void CMainBarDlg::OpenSelector(CSelectorDlg* selector, std::size_t row) {
  CSelectorDlg*& slot = m_selectors[row];
  if (slot) slot->Untrack();
  slot = nullptr;
  trace::Step("click", "category window: creating");
  if (selector->Create()) {
    selector->KeepIn(&slot);
    slot = selector;
    selector->ShowWindow(SW_SHOWNORMAL);
    trace::Step("click", "category window: shown");
  } else {
    delete selector;
  }
  TRACE_IF_FALSE(SetTimer(kCategories[row].timerId, UINT(m_selectorCloseMs)));
}

void CMainBarDlg::OnCloseBar() {
  CRegistryStore store(0);
  settings::OpenMarker(store);
  TRACE_IF_FALSE(settings::Write(store, settings::kRunOnce, 1));
  EndDialog(0);
}

void CMainBarDlg::OnOptions() {
  options window;
  window.DoModal();
}

// The playing list is not reloaded afterwards: the playlist button reads the file each time.
void CMainBarDlg::OnPlaylistEditor() {
  CPlaylistDlg editor;
  editor.DoModal();
}

void CMainBarDlg::OnCalendar() { TRACE_IF_NOT_STARTED(ShellExecuteA(m_hWnd, "open", "tybCal.exe", "", "", SW_SHOW)); }

// A press on the bar's own surface (not on a child control) drags the whole bar.
LRESULT CMainBarDlg::OnNcHitTest(POINT screen) {
  RECT client;
  GetClientRect(&client);
  ClientToScreen(&client);
  if (PtInRect(&client, screen)) return HTCAPTION;
  return Default();
}

// The pointer on a category button (each child asks its parent first what cursor it shows)
// says that its window may be asked for soon: the icons its first showing would make are
// prepared meanwhile. The cursor stays the button's own.
BOOL CMainBarDlg::OnSetCursor(HWND under, UINT, UINT mouseMessage) {
  if (mouseMessage == WM_MOUSEMOVE && under && ::GetParent(under) == m_hWnd) {
    std::size_t row = CategoryOfButton(UINT(::GetDlgCtrlID(under)));
    if (row < kCategoryCount) iconwarmup::Prepare(WideCategoryFolder(row));
  }
  return BOOL(Default());
}

// Only the minimised bar draws its icon; otherwise the dialog paints as usual.
bool CMainBarDlg::OnPaint() {
  static bool painted = false;
  if (!std::exchange(painted, true)) trace::StartupStep("bar's first paint begins");
  if (!IsIconic()) return false;
  PaintDc paint(m_hWnd);
  SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.Get()), 0);
  RECT client;
  GetClientRect(&client);
  int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
  int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
  DrawIcon(paint.Get(), x, y, m_barIcon);
  return true;
}

HICON CMainBarDlg::OnQueryDragIcon() { return m_barIcon; }

LRESULT CMainBarDlg::OnTrayNotify(WPARAM wParam, LPARAM lParam) { return g_trayIcon.OnTrayMessage(wParam, lParam); }

// A category's timer ends the lifetime of the selector window in the category's slot.
void CMainBarDlg::OnTimer(UINT_PTR id) {
  std::size_t row = CategoryOfTimer(id);
  if (row == kCategoryCount) return;
  // The window frees itself and clears its slot as it goes.
  if (CSelectorDlg* selector = m_selectors[row]) selector->DestroyWindow();
  KillTimer(id);
}
