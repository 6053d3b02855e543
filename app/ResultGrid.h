// What the statement processor needs of the grid that shows dataset
// results: its full width and its columns, so that it can give every column
// an equal share after each result. The Qt grid implements it; the console
// has no grid to size.
#pragma once

namespace vorn {

class ResultGrid {
 public:
  virtual ~ResultGrid() = default;

  // The control's full width in pixels, borders included.
  virtual int GridWidth() const = 0;
  virtual int GridColumnCount() const = 0;
  virtual void SetGridColumnWidth(int column, int width) = 0;
};

}  // namespace vorn
