// The console's result table; see ConsoleTable.h.
#include "ConsoleTable.h"

#include <algorithm>
#include <vector>

#include "GridRows.h"

namespace vorn {
namespace {

constexpr int kFetchStep = 100;
constexpr const char* kColumnGap = "  ";

// Characters of UTF-8 text: every byte that does not continue a sequence.
size_t DisplayLength(const std::string& text) {
  return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

std::string OneLine(std::string text) {
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < ' ' || c == '\x7f') c = ' ';
  }
  return text;
}

void AppendCell(std::string& line, const std::string& text, size_t width, bool right) {
  const std::string padding(width - DisplayLength(text), ' ');
  line += right ? padding + text : text + padding;
}

void AppendLine(std::string& table, std::string line) {
  line.erase(line.find_last_not_of(' ') + 1);
  table += line;
  table += '\n';
}

}  // namespace

std::string RowCountText(int rows) {
  return std::to_string(rows) + (rows == 1 ? " row" : " rows");
}

std::string FormatTable(GridRows& rows) {
  const int columns = rows.ColumnCount();
  std::vector<std::vector<std::string>> cells;
  std::vector<size_t> widths(static_cast<size_t>(columns));
  std::vector<bool> right(static_cast<size_t>(columns));
  std::vector<std::string> titles;
  for (int column = 0; column < columns; ++column) {
    titles.push_back(OneLine(rows.ColumnTitle(column)));
    widths[static_cast<size_t>(column)] = DisplayLength(titles.back());
    right[static_cast<size_t>(column)] = rows.ColumnAlignment(column) == taRightJustify;
  }
  for (int row = 0;
       row < rows.RowCount() || (rows.CanFetchMore() && rows.FetchMore(kFetchStep) > 0); ++row) {
    std::vector<std::string>& line = cells.emplace_back();
    for (int column = 0; column < columns; ++column) {
      line.push_back(OneLine(rows.CellText(row, column)));
      size_t& width = widths[static_cast<size_t>(column)];
      width = std::max(width, DisplayLength(line.back()));
    }
  }

  std::string table;
  std::string titleLine, ruleLine;
  for (int column = 0; column < columns; ++column) {
    const size_t index = static_cast<size_t>(column);
    if (column > 0) {
      titleLine += kColumnGap;
      ruleLine += kColumnGap;
    }
    AppendCell(titleLine, titles[index], widths[index], right[index]);
    ruleLine += std::string(widths[index], '-');
  }
  if (columns > 0) {
    AppendLine(table, titleLine);
    AppendLine(table, ruleLine);
  }
  for (const std::vector<std::string>& line : cells) {
    std::string text;
    for (size_t column = 0; column < line.size(); ++column) {
      if (column > 0) text += kColumnGap;
      AppendCell(text, line[column], widths[column], right[column]);
    }
    AppendLine(table, text);
  }
  table += RowCountText(static_cast<int>(cells.size()));
  table += '\n';
  return table;
}

}  // namespace vorn
