// The console mode's picture of a dataset result: the grid's columns and
// every row as an aligned text table, then the row count.
//
//   NAME   AGE  FRIEND.NAME
//   -----  ---  -----------
//   Rex      7
//   Bella    3  Rex
//   2 rows
//
// A column is as wide as its widest text (title included, counted in
// characters of UTF-8 text); right-aligned fields (numbers) are aligned
// right, the others left; two blanks separate columns and lines carry no
// trailing blanks. Control characters in values (line breaks of memo
// texts) show as blanks so that a row stays one line. Null values are
// empty. Rows still to be fetched are fetched.
#pragma once

#include <string>

namespace vorn {

class GridRows;

std::string FormatTable(GridRows& rows);

// "1 row", "<n> rows".
std::string RowCountText(int rows);

}  // namespace vorn
