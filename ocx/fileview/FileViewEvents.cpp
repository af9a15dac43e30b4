#include "ocx/fileview/FileViewEvents.h"

#include "ocx/HostedControl.h"

namespace {
CVariant Object(IDispatch* object) {
  CVariant value;
  value.Get().vt = VT_DISPATCH;
  value.Get().pdispVal = object;
  if (object) object->AddRef();
  return value;
}

CVariant ByRef(long* target) {
  CVariant value;
  value.Get().vt = VT_I4 | VT_BYREF;
  value.Get().plVal = reinterpret_cast<LONG*>(target);
  return value;
}

CVariant ByRef(VARIANT_BOOL* target) {
  CVariant value;
  value.Get().vt = VT_BOOL | VT_BYREF;
  value.Get().pboolVal = target;
  return value;
}

CVariant I4(DWORD value) { return CVariant::I4(long(value)); }
CVariant R4(LONG value) { return CVariant::R4(float(value)); }
}  // namespace

IDispatch* CFileViewEvents::View() const { return static_cast<IDispatch*>(m_view); }

void CFileViewEvents::FolderShown(long itemCount, long backSteps) {
  m_view->FireEvent(kFolderShown, {Object(View()), CVariant::I4(itemCount), CVariant::I4(backSteps)});
}

void CFileViewEvents::ItemOpened(bool isFolder) {
  m_view->FireEvent(kItemOpened, {Object(View()), CVariant::Bool(isFolder)});
}

DWORD CFileViewEvents::DragOver(DWORD effect, DWORD keys, long itemCount, POINT point, long state, IDispatch* source) {
  long offered = long(effect);
  m_view->FireEvent(kDragOver, {Object(View()), ByRef(&offered), I4(keys), CVariant::I4(itemCount), R4(point.x),
                                R4(point.y), CVariant::I4(state), Object(source)});
  return DWORD(offered) & effect;  // the container may lower the effect, not raise it
}

bool CFileViewEvents::BeforeTransfer(DWORD* effect, long itemCount) {
  long chosen = long(*effect);
  VARIANT_BOOL cancel = VARIANT_FALSE;
  m_view->FireEvent(kBeforeTransfer, {Object(View()), ByRef(&chosen), CVariant::I4(itemCount), ByRef(&cancel)});
  *effect = DWORD(chosen);
  return cancel == VARIANT_FALSE;
}

bool CFileViewEvents::Drop(DWORD effects, DWORD keys, long itemCount, POINT point, IDispatch* source) {
  VARIANT_BOOL cancel = VARIANT_FALSE;
  m_view->FireEvent(kDrop, {Object(View()), I4(effects), I4(keys), CVariant::I4(itemCount), R4(point.x), R4(point.y),
                            Object(source), ByRef(&cancel)});
  return cancel == VARIANT_FALSE;
}
