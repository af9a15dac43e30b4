// COleRichEditCtrl: a rich edit 2.0 control that can hold embedded objects (it installs a
// CRichEditCallback) and that reads an RTF document from the program's resources.
#pragma once

#include "framework/Wnd.h"

class CRichEditCallback;

class COleRichEditCtrl : public CWnd {
 public:
  COleRichEditCtrl() = default;

  // Streams the RTF resource `id` of type `type` into the control; returns the number of
  // characters the control read (0 when the resource is missing).
  LRESULT StreamInResource(UINT id, const char* type);

  const MessageMap* GetMessageMap() const override;

 protected:
  void PreSubclassWindow() override;
  LRESULT OnCreate();
  LRESULT OnGetDlgCode();

  CRichEditCallback* m_callback = nullptr;  // owned by the control through its reference
  LRESULT m_callbackResult = 0;             // what the control answered when it was installed

 private:
  void InstallCallback();
};
