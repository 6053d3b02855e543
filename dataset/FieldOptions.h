// What the dictionary gives a dataset's fields: options derived from the
// updating table's columns, and the columns' default values for new
// records.
//
// Field options (the dictionary's FieldKinds, RangeValues, DisplayFormats),
// applied to the data and internal calculated fields while the session is
// connected, when the dataset creates its default fields on open and when
// its field list changes at design time:
//   FieldKinds      a data field whose name is no column of the updating
//                   table becomes an internal calculated field (while the
//                   dataset is closed: an open one keeps its kinds) and
//                   read-only. A table whose columns could not be described
//                   leaves the kinds alone: it says nothing about them.
//   RangeValues     a numeric field over a select-list column of precision
//                   p > 0 and scale s gets the range -b .. b, b = (10^p - 1)
//                   / 10^s (rounded for integer fields), unless it has a
//                   range of its own.
//   DisplayFormats  such a field without display and edit formats gets
//                   NumericFormats(p, s).
// A binary FLOAT column (scale -127) has no decimal digits to go by.
// Default values (the dictionary's DefaultValues): each field named after
// a column with a default receives the default's value, evaluated once per
// table or, with DynamicDefaults, for every new record. A field that
// already has a value (a detail's master value, a sequence number) keeps
// it.
#pragma once

#include <string>

namespace vorn {

class DictionaryDataSet;

struct TNumericFormats {
  // Empty for a scale of 0 or less.
  std::string DisplayFormat;
  std::string EditFormat;
  // 0 when the column has no precision.
  int DisplayWidth = 0;
};

// With s > 0: an integer part of p - s - 1 "#" and a "0" (just "0" when
// s >= p), grouped by "," in the display format, then "." and s "0":
// NUMBER(7,2) gives "##,##0.00", "####0.00" and a width of 10. With s <= 0
// only the width p + 1: NUMBER(5) gives 6.
TNumericFormats NumericFormats(int precision, int scale);
// (10^p - 1) / 10^s.
double NumericBound(int precision, int scale);

void ApplyFieldOptions(DictionaryDataSet& dataSet);
void ApplyDefaultValues(DictionaryDataSet& dataSet);

}  // namespace vorn
