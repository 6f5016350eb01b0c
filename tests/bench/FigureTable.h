#pragma once

// The cost table that the benchmarks print, one figure a row against its goal; a figure
// that misses its goal says so in its row.

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace bench {

struct Percentiles {
  double p50;
  double p99;
  double max;
};

inline Percentiles Of(std::vector<double> samples) {
  if (samples.empty()) return {0, 0, 0};
  std::ranges::sort(samples);
  return {samples[samples.size() / 2], samples[samples.size() * 99 / 100], samples.back()};
}

inline void Header() {
  std::printf("\n| %-58s | %-16s | %-12s |\n|%s|%s|%s|\n", "figure", "measured", "goal",
              std::string(60, '-').c_str(), std::string(18, '-').c_str(),
              std::string(14, '-').c_str());
}

inline void Row(const std::string& figure, const std::string& measured, const std::string& goal) {
  std::printf("| %-58s | %-16s | %-12s |\n", figure.c_str(), measured.c_str(), goal.c_str());
}

inline std::string Fixed(double value, const char* unit, int decimals = 1) {
  char text[64];
  std::snprintf(text, sizeof(text), "%.*f %s", decimals, value, unit);
  return text;
}

// A figure whose goal is to stay below `limit`, marked where it does not.
inline void Below(const std::string& figure, double value, double limit, const char* unit,
                  int decimals = 1) {
  const std::string measured = Fixed(value, unit, decimals) + (value < limit ? "" : " missed");
  Row(figure, measured, "< " + Fixed(limit, unit, 0));
}

// A count whose goal is none at all.
inline void None(const std::string& figure, double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof(text), "%.*f", decimals, value);
  const bool none = std::string(text).find_first_not_of("0.") == std::string::npos;
  Row(figure, std::string(text) + (none ? "" : " missed"), "0");
}

}  // namespace bench
