// RowTable: a static table of rows (messages, events, methods) that goes on in the table of
// its base class, or nowhere when `base` is null.
#pragma once

#include <cstddef>

template <class Entry> struct RowTable {
  const RowTable* base;
  const Entry* entries;
  size_t count;
  template <size_t N>
  RowTable(const RowTable* baseTable, const Entry (&rows)[N]) : base(baseTable), entries(rows), count(N) {}
  template <size_t N>
  RowTable(const Entry (&rows)[N]) : RowTable(nullptr, rows) {}  // NOLINT: a table from its rows alone
  RowTable(const RowTable* baseTable = nullptr) : base(baseTable), entries(nullptr), count(0) {}  // NOLINT
};
