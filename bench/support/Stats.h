// Min, median and max of a bench's runs, and the per-run ratio of two figures.
#pragma once

#include <algorithm>
#include <cstdio>
#include <vector>

struct Spread {
  double min = 0, median = 0, max = 0;
};

inline Spread SpreadOf(std::vector<double> values) {
  if (values.empty()) return {};
  std::sort(values.begin(), values.end());
  return {values.front(), values[values.size() / 2], values.back()};
}

// Each run's a / b: the ratio of runs measured side by side, not of two medians.
inline std::vector<double> Ratios(const std::vector<double>& a, const std::vector<double>& b) {
  std::vector<double> ratios;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) ratios.push_back(b[i] > 0 ? a[i] / b[i] : 0);
  return ratios;
}

// "  <label>  min X  median Y  max Z <unit>"
inline void PrintSpread(const char* label, const std::vector<double>& values, const char* unit, int decimals = 1) {
  Spread s = SpreadOf(values);
  std::printf("  %-44s min %8.*f  median %8.*f  max %8.*f %s\n", label, decimals, s.min, decimals, s.median, decimals,
              s.max, unit);
}
