// The system monitors: their stored state, readings kept within the scale, and drawing.
#include "ocx/monitor/MonitorControl.h"

#include <gtest/gtest.h>

#include <vector>

#include "framework/Dialog.h"
#include "ocx/monitor/SampleClock.h"
#include "tests/ocx/OcxTestIds.h"
#include "tests/support/TestKit.h"

namespace {
CMonitorControl* Monitor(const CDialog& dialog, int id) {
  return static_cast<CMonitorControl*>(CWnd::FromHandlePermanent(dialog.GetDlgItem(id)));
}
}  // namespace

TEST(Monitor, StoredStateSetsKindIntervalAndScale) {
  CDialog dialog(IDD_CONTROL_PANEL);
  ASSERT_TRUE(dialog.Create(IDD_CONTROL_PANEL));
  CMonitorControl* cpu = Monitor(dialog, IDC_CPU_METER);
  CMonitorControl* memory = Monitor(dialog, IDC_MEMORY_METER);
  CMonitorControl* garbled = Monitor(dialog, IDC_GARBLED_METER);
  EXPECT_EQ(cpu->Interval(), 1000u);
  EXPECT_DOUBLE_EQ(cpu->Scale(), 100.0);
  EXPECT_GE(memory->Scale(), CMonitorSampler::TotalMemoryMb()) << "never below the machine's memory";
  EXPECT_EQ(memory->Interval(), 100u) << "clamped to the shortest interval";
  EXPECT_EQ(garbled->Interval(), 100u);
  EXPECT_DOUBLE_EQ(garbled->Scale(), 100.0);
  EXPECT_NE(cpu->ValueText().Find("CPU"), -1);
  EXPECT_NE(memory->ValueText().Find("MB"), -1);
}

TEST(Monitor, ReadingsStayWithinTheScaleAndTheHistoryFitsTheWidth) {
  CDialog dialog(IDD_CONTROL_PANEL);
  ASSERT_TRUE(dialog.Create(IDD_CONTROL_PANEL));
  CMonitorControl* cpu = Monitor(dialog, IDC_CPU_METER);
  cpu->TakeSample(250);
  EXPECT_DOUBLE_EQ(cpu->History().back(), 100.0);
  cpu->TakeSample(-3);
  EXPECT_DOUBLE_EQ(cpu->History().back(), 0.0);
  for (int i = 0; i < 1000; ++i) cpu->TakeSample(i % 100);
  RECT client;
  GetClientRect(cpu->m_hWnd, &client);
  EXPECT_LE(cpu->History().size(), size_t(client.right / 3 + 2));
  cpu->TakeSample(42);
  EXPECT_STREQ(cpu->ValueText(), "CPU 42%");
}

TEST(Monitor, SamplesOnItsOwnTimerAndRealReadingsAreSane) {
  CDialog dialog(IDD_CONTROL_PANEL);
  ASSERT_TRUE(dialog.Create(IDD_CONTROL_PANEL));
  CMonitorControl* memory = Monitor(dialog, IDC_MEMORY_METER);
  size_t before = memory->History().size();
  ASSERT_TRUE(testkit::PumpUntil([&] { return memory->History().size() >= before + 2; }, 3000));
  EXPECT_GT(memory->History().back(), 0.0);
  CMonitorSampler cpu(CMonitorSampler::kCpu);
  for (int i = 0; i < 3; ++i) {
    testkit::Pump(30);
    double use = cpu.Sample();
    EXPECT_GE(use, 0.0);
    EXPECT_LE(use, 100.0);
  }
}

TEST(Monitor, MonitorsOfOnePaceShareOneTimerThatStopsWithTheLast) {
  size_t before = CSampleClock::RunningTimers();
  {
    CDialog dialog(IDD_CONTROL_PANEL);
    ASSERT_TRUE(dialog.Create(IDD_CONTROL_PANEL));
    EXPECT_EQ(CSampleClock::RunningTimers(), before + 2) << "1000 ms for two monitors, 100 ms for two";
    CMonitorControl* cpu = Monitor(dialog, IDC_CPU_METER);
    size_t samples = cpu->History().size();
    ASSERT_TRUE(testkit::PumpUntil([&] { return cpu->History().size() > samples; }, 3000));
    dialog.DestroyWindow();
  }
  EXPECT_EQ(CSampleClock::RunningTimers(), before);
  testkit::Pump(1100);  // no tick reaches a destroyed monitor
}

// Monitors of a one-second pace sample on the wall clock's whole seconds, where the bar's
// clock ticks too, however far into a second they start.
TEST(Monitor, APaceTicksOnTheWallClocksWholeMultiplesOfItsInterval) {
  auto msIntoSecond = [] {
    SYSTEMTIME wall;
    GetSystemTime(&wall);
    return int(wall.wMilliseconds);
  };
  std::vector<int> ticks;
  int owner = 0;
  ASSERT_TRUE(testkit::PumpUntil([&] { return msIntoSecond() >= 450 && msIntoSecond() < 550; }, 2000));
  CSampleClock::Join(&owner, 1000, [&] { ticks.push_back(msIntoSecond()); });
  EXPECT_TRUE(testkit::PumpUntil([&] { return ticks.size() >= 3; }, 5000));
  CSampleClock::Leave(&owner);
  for (size_t i = 0; i < ticks.size(); ++i) EXPECT_LT(ticks[i], 150) << "tick " << i;
}

TEST(Monitor, PaintsTheGraphOverItsBackgroundWithoutLeaking) {
  CDialog dialog(IDD_CONTROL_PANEL);
  ASSERT_TRUE(dialog.Create(IDD_CONTROL_PANEL));
  dialog.ShowWindow(SW_SHOW);
  CMonitorControl* cpu = Monitor(dialog, IDC_CPU_METER);
  for (int i = 0; i < 30; ++i) cpu->TakeSample(50);
  UpdateWindow(cpu->m_hWnd);  // the first paint makes what the system caches for good
  DWORD before = testkit::GdiObjects();
  for (int i = 0; i < 300; ++i) {
    cpu->Invalidate(FALSE);
    UpdateWindow(cpu->m_hWnd);
  }
  EXPECT_EQ(testkit::GdiObjects(), before);
  RECT client;
  GetClientRect(cpu->m_hWnd, &client);
  WindowDc dc(cpu->m_hWnd);
  EXPECT_EQ(GetPixel(dc.Get(), 1, client.bottom / 4 + 1), RGB(0, 0, 0));
  int lineY = client.bottom - 1 - int(0.5 * (client.bottom - 1) + 0.5);
  EXPECT_EQ(GetPixel(dc.Get(), client.right - 6, lineY), RGB(0, 255, 0)) << "the graph at 50%";
}

// The meters paint without BeginPaint, to keep their device context's state between ticks:
// a paint must still leave nothing pending (else WM_PAINT would come for ever) and bring
// the whole picture, text included, even when only a corner was invalid.
TEST(Monitor, APaintOfACornerLeavesNothingPendingAndShowsTheValue) {
  CDialog dialog(IDD_CONTROL_PANEL);
  ASSERT_TRUE(dialog.Create(IDD_CONTROL_PANEL));
  dialog.ShowWindow(SW_SHOW);
  CMonitorControl* cpu = Monitor(dialog, IDC_CPU_METER);
  cpu->TakeSample(50);
  UpdateWindow(cpu->m_hWnd);
  RECT corner{0, 0, 2, 2};
  InvalidateRect(cpu->m_hWnd, &corner, FALSE);
  MSG msg;
  for (int i = 0; i < 20 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) DispatchMessageA(&msg);
  EXPECT_FALSE(GetUpdateRect(cpu->m_hWnd, nullptr, FALSE));
  WindowDc dc(cpu->m_hWnd);
  int white = 0;
  for (int x = 3; x < 40; ++x)
    for (int y = 2; y < 14; ++y) white += GetPixel(dc.Get(), x, y) == RGB(255, 255, 255);
  EXPECT_GT(white, 10) << "the value text \"" << cpu->ValueText().GetString() << "\"";
}

// A sample shows on the screen at once, drawn in the tick rather than through a paint
// message; a hidden monitor draws nothing until it is shown.
TEST(Monitor, ASampleIsDrawnAtOnceWithoutAPaintMessage) {
  CDialog dialog(IDD_CONTROL_PANEL);
  ASSERT_TRUE(dialog.Create(IDD_CONTROL_PANEL));
  CMonitorControl* cpu = Monitor(dialog, IDC_CPU_METER);
  for (int i = 0; i < 3; ++i) cpu->TakeSample(0);  // hidden: drawn once it is shown
  dialog.ShowWindow(SW_SHOW);
  UpdateWindow(dialog.m_hWnd);
  RECT client;
  GetClientRect(cpu->m_hWnd, &client);
  WindowDc dc(cpu->m_hWnd);
  ASSERT_EQ(GetPixel(dc.Get(), client.right - 3, client.bottom - 1), RGB(0, 255, 0)) << "the graph at 0%";
  ASSERT_NE(GetPixel(dc.Get(), client.right - 3, 0), RGB(0, 255, 0));
  cpu->TakeSample(100);
  cpu->TakeSample(100);
  EXPECT_FALSE(GetUpdateRect(cpu->m_hWnd, nullptr, FALSE)) << "nothing left for a paint message";
  EXPECT_EQ(GetPixel(dc.Get(), client.right - 3, 0), RGB(0, 255, 0)) << "the graph at 100%, at once";
}
