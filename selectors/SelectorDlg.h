// The selector windows: one small window per category, a file view on the category's
// folder over the window's page. The bar creates one per click, modeless and owned by the
// bar, and destroys it when the category's time is up. The eight classes differ only in
// their template and page, which come from the category table (selectors/Categories.h);
// `audio` also binds its view and hears two of its events.
#pragma once

#include "framework/DHtmlDialog.h"
#include "hosted/Fileviewctrl1.h"
#include "selectors/Categories.h"

#include <cstddef>
#include <tuple>
#include <utility>

class CSelectorDlg : public CDHtmlDialog {
 public:
  CSelectorDlg(UINT templateId, UINT pageId, CWnd* parent) : CDHtmlDialog(templateId, pageId, parent) {}
  // Created by the bar with its own template id.
  BOOL Create(CWnd* parent = nullptr) { return CDHtmlDialog::Create(m_templateId, parent); }
  using CDHtmlDialog::Create;

  void OnOK() override;
  void OnCancel() override;

  // The object belongs to `slot` from now on: it frees itself when its window is gone and
  // then clears the slot if the slot still holds it.
  void KeepIn(CSelectorDlg** slot) { m_slot = slot; }
  // A window whose slot has moved on to a newer one: no timer will destroy it, so ending it
  // destroys it instead of only hiding it (and one hidden already goes now).
  void Untrack();

 protected:
  void PostNcDestroy() override;

 private:
  void DestroyIfUntracked();
  CSelectorDlg** m_slot = nullptr;
  bool m_untracked = false;
};

// The selector window of the category in row `Row` of the table.
template <std::size_t Row> class CSelectorOf : public CSelectorDlg {
 public:
  static constexpr std::size_t kRow = Row;
  explicit CSelectorOf(CWnd* parent = nullptr)
      : CSelectorDlg(kCategories[Row].templateId, kCategories[Row].pageId, parent) {}
};

// Each class finds its row by its run-time name; a name the table lacks does not compile.
// NOLINTBEGIN(readability-identifier-naming): the classes carry their run-time names.
class vide : public CSelectorOf<CategoryOf("vide")> {
  using CSelectorOf::CSelectorOf;
};
class office : public CSelectorOf<CategoryOf("office")> {
  using CSelectorOf::CSelectorOf;
};
class web : public CSelectorOf<CategoryOf("web")> {
  using CSelectorOf::CSelectorOf;
};
class graphic : public CSelectorOf<CategoryOf("graphic")> {
  using CSelectorOf::CSelectorOf;
};
class program : public CSelectorOf<CategoryOf("program")> {
  using CSelectorOf::CSelectorOf;
};
class syst : public CSelectorOf<CategoryOf("syst")> {
  using CSelectorOf::CSelectorOf;
};
class photo : public CSelectorOf<CategoryOf("photo")> {
  using CSelectorOf::CSelectorOf;
};

class audio : public CSelectorOf<CategoryOf("audio")> {
 public:
  using CSelectorOf::CSelectorOf;
  void DoDataExchange(CDataExchange* pDX) override;
  const EventSinkMap* GetEventSinkMap() const override;

  CFileviewctrl1 m_fileView;

 private:
  void OnFolderShown(IDispatch*, long, long) {}
  void OnItemOpened(IDispatch*, bool) {}
};
// NOLINTEND(readability-identifier-naming)

// The class of each row of the table, in the table's order.
using SelectorClasses = std::tuple<vide, audio, office, web, graphic, program, syst, photo>;
template <std::size_t Row> using SelectorClass = std::tuple_element_t<Row, SelectorClasses>;

namespace categories {
template <std::size_t... Rows> constexpr bool ClassesFollowRows(std::index_sequence<Rows...>) {
  return ((SelectorClass<Rows>::kRow == Rows) && ...);
}
}  // namespace categories
static_assert(std::tuple_size_v<SelectorClasses> == kCategoryCount &&
                  categories::ClassesFollowRows(std::make_index_sequence<kCategoryCount>()),
              "one selector class per category, listed in the table's order");
