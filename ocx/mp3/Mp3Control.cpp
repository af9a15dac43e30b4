#include "ocx/mp3/Mp3Control.h"

#include <algorithm>

#include "framework/PrivateMessages.h"
#include "framework/Trace.h"

using namespace mp3contract;

namespace {

CString ClockText(int64_t ms) {
  int64_t seconds = std::max<int64_t>(ms, 0) / 1000;
  CString text;
  text.Format("%lld:%02lld", static_cast<long long>(seconds / 60), static_cast<long long>(seconds % 60));
  return text;
}
}  // namespace

CMp3Control::CMp3Control() : m_player([this] { OnTrackEnded(); }) {}

const MethodMap& CMp3Control::GetMethodMap() const {
  static const MethodEntry entries[] = {
      Method<&CMp3Control::Play>(kPlay),           Method<&CMp3Control::Pause>(kPause),
      Method<&CMp3Control::Stop>(kStop),           Method<&CMp3Control::Seek>(kSeek),
      Method<&CMp3Control::OpenFile>(kOpenFile),   Method<&CMp3Control::SetVolume>(kSetVolume),
      Method<&CMp3Control::GetLength>(kGetLength), Method<&CMp3Control::GetProgressText>(kGetProgressText),
      Method<&CMp3Control::GetState>(kGetState),
  };
  static const MethodMap map(entries);
  return map;
}

const MessageMap* CMp3Control::GetMessageMap() const {
  static const MessageEntry entries[] = {
      OnMessage<WM_TIMER>(&CMp3Control::OnTimer),
      OnMessage(kDeliverEventsMessage, &CMp3Control::OnDeliverEvents),
      OnMessage<WM_DESTROY>(&CMp3Control::OnDestroy),
  };
  static const MessageMap map{CHostedControl::GetMessageMap(), entries};
  return &map;
}

void CMp3Control::OnCreateControl() { m_player.SetVolume(StoredInt("volume", 100)); }

void CMp3Control::Play() {
  bool wasPlaying = m_player.GetState() == CMp3Player::kPlaying;
  if (m_player.Play()) {
    if (!wasPlaying) PostState();
  } else {
    // Nothing plays: reported as a start that ended at once, two changes like any track's,
    // so a container that lets the first change after its own call pass still moves on.
    Post(kStateChangeEvent, CMp3Player::kPlaying);
    PostState();
  }
  UpdateTimer();
}

void CMp3Control::Pause() {
  if (m_player.GetState() != CMp3Player::kPlaying) return;
  m_player.Pause();
  PostState();
  UpdateTimer();
}

void CMp3Control::Stop() {
  bool wasStopped = m_player.GetState() == CMp3Player::kStopped;
  m_player.Stop();
  if (!wasStopped) PostState();
  Post(kProgressEvent);
  UpdateTimer();
}

void CMp3Control::Seek(long position, long length) {
  int64_t target = position;
  int64_t ours = m_player.LengthMs();
  if (length > 0 && length != ours) target = int64_t(double(position) * double(ours) / double(length));
  m_player.Seek(target);
  Post(kProgressEvent);
}

void CMp3Control::OpenFile(const CString& path) {
  bool wasStopped = m_player.GetState() == CMp3Player::kStopped;
  bool opened = m_player.Open(path);
  if (!wasStopped) PostState();
  if (opened) Post(kOpenedEvent);
  Post(kProgressEvent);
  UpdateTimer();
}

void CMp3Control::SetVolume(short, short, short volume) { m_player.SetVolume(volume); }

long CMp3Control::GetLength() { return long(m_player.LengthMs()); }

CString CMp3Control::GetProgressText(long which) {
  return ClockText(which == 1 ? m_player.PositionMs() : m_player.LengthMs());
}

long CMp3Control::GetState() { return m_player.GetState(); }

void CMp3Control::OnTrackEnded() {
  PostState();
  Post(kProgressEvent);
  UpdateTimer();
}

void CMp3Control::UpdateTimer() {
  if (m_player.GetState() == CMp3Player::kPlaying) TRACE_IF_FALSE(SetTimer(kProgressTimer, kProgressMs));
  else KillTimer(kProgressTimer);
}

// Queues an event for the control's own message, so it reaches the container only after
// the call that caused it has returned. A state change carries the state it changed to.
void CMp3Control::Post(DISPID dispid) { Post(dispid, m_player.GetState()); }

void CMp3Control::Post(DISPID dispid, long state) {
  if (!m_hWnd) return;
  if (m_pending.empty()) PostMessage(kDeliverEventsMessage);
  m_pending.push_back({dispid, short(state)});
}

void CMp3Control::FireProgress() {
  FireEvent(kProgressEvent, {CVariant::I4(long(m_player.PositionMs())), CVariant::I4(long(m_player.LengthMs()))});
}

LRESULT CMp3Control::OnDeliverEvents(WPARAM, LPARAM) {
  // A container's handler may call back in and queue more; those follow in order.
  while (!m_pending.empty()) {
    PendingEvent event = m_pending.front();
    m_pending.pop_front();
    if (event.dispid == kProgressEvent) FireProgress();
    else if (event.dispid == kStateChangeEvent) FireEvent(event.dispid, {CVariant::I2(event.state)});
    else FireEvent(event.dispid);
  }
  return 0;
}

void CMp3Control::OnTimer(UINT_PTR id) {
  if (id == kProgressTimer && m_player.GetState() == CMp3Player::kPlaying) FireProgress();
}

bool CMp3Control::OnDestroy() {
  KillTimer(kProgressTimer);
  m_player.Close();
  m_pending.clear();
  return false;
}
