// TOracleDataSet: query by example.
//
// Not built yet: QBEMode refuses to be turned on, so the dataset is never
// in query-by-example mode (the checks of QBEMode elsewhere are those of
// the finished dataset). These are the places where the mode is entered
// after an open and where a rewritten statement is restored at close.
#include "vorn/dataset/OracleDataSet.h"
#include "vorn/host/Exceptions.h"

namespace vorn {

void TOracleDataSet::SetQBEMode(bool value) {
  if (value == qbeMode_) return;
  if (value) throw Exception("Query by example is not supported by this dataset yet");
  qbeMode_ = false;
}

void TOracleDataSet::EnterQBEState() {}

void TOracleDataSet::RestoreQBEStatement() {}

std::string TOracleDataSet::SQLBeforeQBE() const {
  return sql_->Text();
}

}  // namespace vorn
