// The historical statistics record of a chart (sHistStatData): 54 texts of at most 11
// characters, 27 for the displayed period and 27 for all data, in the dialog's order.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace quova {

struct ChartData;
struct ChartSettings;

inline constexpr std::size_t kHistStatFields = 54, kHistStatWidth = 12;

// Field indices within one period's 27.
namespace histfield {
inline constexpr int From = 0, To = 1, Last = 2, High = 9, Low = 16, EndToEnd = 23, BestFit = 25;
// Within a row of seven: date, high, low, close, volume, change, percent.
inline constexpr int Date = 0, Hi = 1, Lo = 2, Close = 3, Volume = 4, Change = 5, Percent = 6;
inline constexpr int AllData = 27;
}

struct sHistStatData {
  std::array<std::string, kHistStatFields> field;
};

// Fills the record for the chart's window (t_start..t_end) and for all its quotes.
sHistStatData ShowHistStats(const ChartData& d, const ChartSettings& s, int dateFormat);
// The dialog's title.
std::string histStatsTitle(std::string_view quoteFilePath);

// Small figures of a series: the mean of n values (0 for n < 1), their standard deviation
// sqrt(sum v^2 / n - mean^2) with the radicand taken as 0 where rounding leaves it slightly
// negative (flat values), and the remainder of a / b (0 for b = 0).
double mean_value(int n, const float* values);
double sigma(int n, const float* values);
int imod(int a, int b);

}  // namespace quova
