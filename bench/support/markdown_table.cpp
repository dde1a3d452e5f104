#include "markdown_table.h"

#include <cstdio>

MarkdownTable::MarkdownTable(std::vector<std::string> header) : header_(std::move(header)) {}

void MarkdownTable::AddRow(std::vector<std::string> cells)
{
    cells.resize(header_.size());
    rows_.push_back(std::move(cells));
}

std::string MarkdownTable::Text() const
{
    auto line = [](const std::vector<std::string>& cells) {
        std::string text = "|";
        for (const std::string& cell : cells)
            text += " " + cell + " |";
        return text + "\n";
    };
    std::string text = line(header_);
    text += "|";
    for (std::size_t i = 0; i < header_.size(); ++i)
        text += i == 0 ? " --- |" : " ---: |";
    text += "\n";
    for (const auto& row : rows_)
        text += line(row);
    return text;
}

std::string Fixed(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string Ratio(double value)
{
    int decimals = value >= 100 ? 0 : value >= 10 ? 1 : 2;
    return Fixed(value, decimals) + "x";
}
