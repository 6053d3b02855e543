// The fixture of the dataset tests; see DataSetTestSupport.h.
#include "DataSetTestSupport.h"

#include <cstring>

#include "DataSetRecords.h"
#include "RecordList.h"
#include "vorn/host/Field.h"

namespace vorn::dataset_test {

TGetResult ProbeDataSet::Read(TGetMode mode, bool doCheck) {
  TRecordBuffer buffer = AllocRecordBuffer();
  TGetResult result = grError;
  try {
    result = GetRecord(buffer, mode, doCheck);
  } catch (...) {
    FreeRecordBuffer(buffer);
    throw;
  }
  FreeRecordBuffer(buffer);
  return result;
}

uint32_t ProbeDataSet::InsertCopy(int from, int at) {
  TRecordDataList& list = *Records();
  TRecordBuffer source = list.VisibleAt(from);
  TRecordBuffer record = list.ReserveSlot();
  std::memcpy(record, source, static_cast<size_t>(list.RecordSize()));
  HeaderOf(record).Blobs = nullptr;
  HeaderOf(record).InFilteredList = 0;
  const uint32_t id = LastRecordId() + 1;
  SetLastRecordId(id);
  HeaderOf(record).RecordId = id;
  list.Insert(at, record, true);
  return id;
}

void DataSetTest::SetUp() {
  session_ = NewSession();
  session_->LogOn();
}

void DataSetTest::TearDown() {
  session_.reset();
}

std::unique_ptr<ProbeDataSet> DataSetTest::NewDataSet(const std::string& sql,
                                                      TOracleSession* session) {
  auto dataSet = std::make_unique<ProbeDataSet>();
  dataSet->SetSession(session != nullptr ? session : session_.get());
  if (!sql.empty()) dataSet->SQL()->SetText(sql);
  return dataSet;
}

void DataSetTest::Run(const std::string& sql) {
  TOracleQuery query;
  query.SetSession(session_.get());
  query.SQL()->SetText(sql);
  query.Execute();
}

void DataSetTest::MakeNumbers(int count) {
  Run("create table numbers_t (n number(6) not null, label varchar2(20))");
  TOracleQuery insert;
  insert.SetSession(session_.get());
  insert.SQL()->SetText("insert into numbers_t (n, label) values (:n, :label)");
  insert.DeclareVariable("n", otInteger);
  insert.DeclareVariable("label", otString);
  Variant numbers = VarArrayCreate(0, count - 1, varVariant);
  Variant labels = VarArrayCreate(0, count - 1, varVariant);
  for (int i = 0; i < count; ++i) {
    numbers.PutElement(i, i + 1);
    labels.PutElement(i, "row " + std::to_string(i + 1));
  }
  insert.SetVariable("n", numbers);
  insert.SetVariable("label", labels);
  insert.ExecuteArray(-1, -1);
  session_->Commit();
}

std::vector<std::string> DataSetTest::Rows(TDataSet& dataSet) {
  std::vector<std::string> rows;
  for (dataSet.First(); !dataSet.Eof(); dataSet.Next()) {
    std::string line;
    for (int i = 0; i < dataSet.FieldCount(); ++i) {
      if (i > 0) line += "|";
      line += dataSet.Fields()[i]->AsString();
    }
    rows.push_back(line);
  }
  return rows;
}

std::vector<std::string> DataSetTest::Column(TDataSet& dataSet, const std::string& field) {
  std::vector<std::string> values;
  for (dataSet.First(); !dataSet.Eof(); dataSet.Next())
    values.push_back(dataSet.FieldByName(field)->AsString());
  return values;
}

WindowLink::WindowLink(TDataSet& dataSet, int rows) {
  source_.SetDataSet(&dataSet);
  SetBufferCount(rows);
  SetDataSource(&source_);
}

WindowLink::~WindowLink() {
  SetDataSource(nullptr);
  source_.SetDataSet(nullptr);
}

std::vector<std::string> WindowLink::Shown(const std::string& field) {
  std::vector<std::string> values;
  const int saved = ActiveRecord();
  for (int i = 0; i < RecordCount(); ++i) {
    SetActiveRecord(i);
    values.push_back(DataSet()->FieldByName(field)->AsString());
  }
  SetActiveRecord(saved);
  return values;
}

}  // namespace vorn::dataset_test
