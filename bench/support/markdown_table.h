#pragma once

// A Markdown table built row by row, and the number formats the reports share.
#include <string>
#include <vector>

class MarkdownTable {
public:
    explicit MarkdownTable(std::vector<std::string> header);
    void AddRow(std::vector<std::string> cells);
    std::string Text() const;

private:
    std::vector<std::string> header_;
    std::vector<std::vector<std::string>> rows_;
};

// `value` with `decimals` digits after the point.
std::string Fixed(double value, int decimals);
// A ratio as "12.3x" (three significant digits at least one decimal below 100).
std::string Ratio(double value);
