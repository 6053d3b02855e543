// The fixture and the test dataset of the dictionary tests; see
// DictionaryTestSupport.h.
#include "DictionaryTestSupport.h"

#include <filesystem>
#include <fstream>

#include "vorn/host/DateTimeFields.h"
#include "vorn/host/NumericFields.h"
#include "vorn/host/StringField.h"
#include "vorn/platform/Environment.h"
#include "vorn/query/QueryTypes.h"

namespace vorn::dataset_test {

const char* const kDictionarySchema = R"sql(
ALTER TABLE scott.emp ADD CONSTRAINT emp_sal_positive CHECK (sal > 0);
ALTER TABLE scott.emp ADD CONSTRAINT emp_comm_job CHECK (comm IS NULL OR job IN ('SALESMAN', 'COMM'));
CREATE TABLE scott.parts (
  id    NUMBER(5) CONSTRAINT parts_pk PRIMARY KEY,
  code  VARCHAR2(10) CONSTRAINT parts_code_uk UNIQUE,
  name  VARCHAR2(20),
  maker VARCHAR2(10) DEFAULT 'ACME',
  qty   NUMBER(7,2) DEFAULT 1 CONSTRAINT parts_qty_ck CHECK (qty >= 0),
  made  DATE DEFAULT SYSDATE,
  lo    NUMBER(5),
  hi    NUMBER(5),
  note  VARCHAR2(20),
  CONSTRAINT parts_name_uk UNIQUE (name, maker),
  CONSTRAINT parts_range_ck CHECK (lo <= hi));
INSERT INTO scott.parts VALUES (1, 'BOLT', 'Bolt', 'ACME', 10, DATE '2020-01-01', 1, 5, NULL);
INSERT INTO scott.parts VALUES (2, 'NUT', 'Nut', 'ACME', 20, DATE '2020-01-02', 2, 8, NULL);
INSERT INTO scott.parts VALUES (3, 'GEAR', 'Gear', 'GEARCO', 0, DATE '2020-01-03', 3, 3, NULL);
CREATE TABLE scott.bins (
  shelf NUMBER(3),
  slot  NUMBER(3),
  CONSTRAINT bins_pk PRIMARY KEY (shelf, slot));
INSERT INTO scott.bins VALUES (1, 1);
INSERT INTO scott.bins VALUES (1, 2);
CREATE TABLE scott.stock (
  id    NUMBER(5) PRIMARY KEY,
  shelf NUMBER(3),
  slot  NUMBER(3),
  CONSTRAINT stock_bin_fk FOREIGN KEY (shelf, slot) REFERENCES scott.bins);
INSERT INTO scott.stock VALUES (1, 1, 1);
CREATE TABLE scott.plain (a NUMBER, b VARCHAR2(5));
CREATE TABLE scott.codes (code VARCHAR2(5) CONSTRAINT codes_uk UNIQUE, text VARCHAR2(9));
CREATE TABLE scott.measures (
  n4 NUMBER(4), n5 NUMBER(5), f52 NUMBER(5,2), f72 NUMBER(7,2), f82 NUMBER(8,2), big NUMBER,
  label VARCHAR2(10));
INSERT INTO scott.measures VALUES (1, 2, 3.5, 4.5, 5.5, 6, 'one');
CREATE TABLE scott.messages (
  constraint_name VARCHAR2(30),
  actions         VARCHAR2(10),
  parent_child    VARCHAR2(1),
  error_message   VARCHAR2(200));
INSERT INTO scott.messages VALUES ('FK_DEPTNO', 'IU', 'C', 'There is no such department');
INSERT INTO scott.messages VALUES ('FK_DEPTNO', 'D', 'P', 'The department still has employees');
INSERT INTO scott.messages VALUES ('PARTS_PK', '*', '*', 'That part number is taken');
INSERT INTO scott.messages VALUES ('PARTS_PK', 'U', '*', 'Another part has that number');
CREATE SEQUENCE scott.parts_seq START WITH 100;
CREATE SYNONYM scott.staff FOR scott.emp;
CREATE PUBLIC SYNONYM pack FOR man.dogs;
CREATE PUBLIC SYNONYM staff FOR man.dogs;
COMMIT;
)sql";

// --- TestDataSet

namespace {

// A persistent field of the dataset for a column of the query.
TField* NewField(TDataSet& dataSet, const TOracleQuery& query, int column) {
  TField* field = nullptr;
  switch (query.FieldType(column)) {
    case otInteger:
      field = new TIntegerField(&dataSet);
      break;
    case otFloat:
      field = new TFloatField(&dataSet);
      break;
    case otDate:
      field = new TDateTimeField(&dataSet);
      break;
    default:
      field = new TStringField(&dataSet);
      field->SetSize(query.FieldSize(column));
      break;
  }
  field->SetFieldName(query.FieldName(column));
  field->SetDataSet(&dataSet);
  return field;
}

}  // namespace

TestDataSet::TestDataSet(TOracleSession* session, const std::string& sql, bool open)
    : session_(session),
      mem_(std::make_unique<support::TMemDataSet>()),
      dictionary_(nullptr),
      sequence_(nullptr),
      statementQuery_(std::make_unique<TOracleQuery>()) {
  statementQuery_->SetSession(session);
  statementQuery_->SetBeforeQuery([this](TOracleQuery*) { ++statements; });
  TOracleQuery query;
  query.SetSession(session);
  query.SQL()->SetText(sql);
  query.Execute();
  int rowIdColumn = -1;
  for (int i = 0; i < query.FieldCount(); ++i) {
    if (query.FieldName(i) == "ROWID") {
      rowIdColumn = i;
      continue;
    }
    NewField(*mem_, query, i);
    precisions_[query.FieldName(i)] = {query.FieldPrecision(i), query.FieldScale(i)};
  }
  hasRowId = rowIdColumn >= 0;
  for (; !query.Eof(); query.Next()) {
    std::vector<Variant> values;
    for (int i = 0; i < query.FieldCount(); ++i) {
      if (i == rowIdColumn) {
        rowIds_.push_back(query.FieldAsString(i));
      } else {
        values.push_back(query.Field(i));
      }
    }
    mem_->AddRow(values);
  }
  if (open) mem_->Open();
}

TestDataSet::~TestDataSet() {
  mem_->Close();
}

std::string TestDataSet::CurrentRowId() {
  if (mem_->State() == dsInsert) return "";
  const int recNo = mem_->RecNo();
  return recNo >= 1 && recNo <= static_cast<int>(rowIds_.size()) ? rowIds_[recNo - 1] : "";
}

bool TestDataSet::ColumnPrecision(const TField& field, int& precision, int& scale) const {
  auto found = precisions_.find(field.FieldName());
  if (found == precisions_.end()) return false;
  precision = found->second.first;
  scale = found->second.second;
  return true;
}

void TestDataSet::TranslateMessageEvent(int errorCode, const std::string& constraintName,
                                        char action, std::string& message) {
  if (onTranslateMessage) onTranslateMessage(errorCode, constraintName, action, message);
}

void TestDataSet::GoTo(const Variant& value) {
  for (mem_->First(); !mem_->Eof(); mem_->Next()) {
    if (mem_->Fields()[0]->Value() == value) return;
  }
  throw Exception("no row with " + value.AsString());
}

// --- EditingDataSet

void EditingDataSet::GoTo(const std::string& field, const Variant& value) {
  for (First(); !Eof(); Next()) {
    if (FieldByName(field)->Value() == value) return;
  }
  throw Exception("no record with " + field + " " + value.AsString());
}

// --- DictionaryTest

void DictionaryTest::SetUp() {
  Administer(kDictionarySchema);
  session_ = NewSession();
  session_->LogOn();
}

void DictionaryTest::TearDown() {
  session_.reset();
}

std::unique_ptr<TestDataSet> DictionaryTest::Open(const std::string& sql, const std::string& table,
                                                  bool open) {
  auto dataSet = std::make_unique<TestDataSet>(session_.get(), sql, open);
  dataSet->updatingTable = table;
  return dataSet;
}

std::unique_ptr<EditingDataSet> DictionaryTest::DataSet(const std::string& sql, bool open,
                                                        TOracleSession* session) {
  auto dataSet = std::make_unique<EditingDataSet>();
  dataSet->SetSession(session != nullptr ? session : session_.get());
  dataSet->SQL()->SetText(sql);
  if (open) dataSet->Open();
  return dataSet;
}

std::vector<std::string> DictionaryTest::Rows(const std::string& sql) {
  TOracleQuery query;
  query.SetSession(session_.get());
  query.SQL()->SetText(sql);
  query.Execute();
  std::vector<std::string> rows;
  for (; !query.Eof(); query.Next()) {
    std::string line;
    for (int i = 0; i < query.FieldCount(); ++i) {
      if (i > 0) line += "|";
      line += query.FieldAsString(i);
    }
    rows.push_back(line);
  }
  return rows;
}

void DictionaryTest::Run(const std::string& sql) {
  TOracleQuery query;
  query.SetSession(session_.get());
  query.SQL()->SetText(sql);
  query.Execute();
}

std::unique_ptr<TOracleSession> DictionaryTest::OdbcSession() {
  const std::string registry = Database() + ".registry.ini";
  std::ofstream(registry) << "[SOFTWARE\\ORACLE]\nORACLE_HOME = \"" << OracleHome()
                          << "\"\nOCA60 = \"" << OracleHome() << "/oca\"\n";
  platform::WriteEnvironmentVariable("VORN_MACHINE_REGISTRY", registry);
  const std::filesystem::path own(Database());
  const std::string path = (own.parent_path() / ("ODBC:" + own.filename().string())).string();
  std::filesystem::copy_file(Database(), path, std::filesystem::copy_options::overwrite_existing);
  auto session = NewSession();
  session->SetLogonDatabase(path);
  session->LogOn();
  return session;
}

}  // namespace vorn::dataset_test
