// The statement processor; see StatementProcessor.h.
#include "StatementProcessor.h"

#include "vorn/dataset/OracleDataSet.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/Variant.h"
#include "vorn/query/OracleQuery.h"
#include "vorn/query/QueryTypes.h"
#include "vorn/session/OracleSession.h"

namespace vorn {

StatementProcessor::StatementProcessor(TOracleQuery& query, TOracleDataSet& dataSet,
                                       LogonWithValues logon)
    : query_(query), dataSet_(dataSet), logon_(std::move(logon)) {}

TOracleSession& StatementProcessor::Session() const {
  TOracleSession* session = query_.Session();
  if (session == nullptr) throw Exception("Session undefined");
  return *session;
}

StatementOutcome StatementProcessor::ProcessStatement(std::string_view line) {
  const ClassifiedLine classified = ClassifyLine(line);
  switch (classified.kind) {
    case LineKind::Empty:
    case LineKind::Ignored:
      return StatementOutcome::Nothing;
    case LineKind::Commit:
      Session().Commit();
      return StatementOutcome::Committed;
    case LineKind::StoreSlot:
      slots_[static_cast<size_t>(classified.slot)] = lastScalarResult_;
      return StatementOutcome::SlotStored;
    case LineKind::Connect: {
      ConnectTarget target = SplitConnectLine(classified.text);
      const bool attempted = logon_ && logon_(target.username, target.password, target.database);
      return attempted ? StatementOutcome::LogonAttempted : StatementOutcome::LogonCancelled;
    }
    case LineKind::Statement:
      break;
  }
  Translate(SubstituteSlots(classified.text, slots_));
  const ResultKind kind = ResultKindOf(lastTranslatedText_);
  if (kind == ResultKind::DataSet) {
    OpenDataSet();
    return StatementOutcome::DataSetResult;
  }
  RunScalar(kind);
  return StatementOutcome::ScalarResult;
}

void StatementProcessor::Translate(const std::string& statement) {
  query_.DeleteVariables();
  query_.SQL()->Clear();
  const std::string language = LanguageOf(statement);
  query_.SQL()->Add(TranslatorBlock(language, statement));
  query_.DeclareVariable("result", otString);
  query_.Execute();
  lastTranslatedText_ = VarToStr(query_.GetVariable("result"));
}

void StatementProcessor::OpenDataSet() {
  dataSet_.Close();
  dataSet_.SQL()->Clear();
  dataSet_.SQL()->Add(lastTranslatedText_);
  dataSet_.Open();
  SizeGridColumns();
}

void StatementProcessor::SizeGridColumns() {
  if (grid_ == nullptr) return;
  const int columns = grid_->GridColumnCount();
  if (columns <= 0) return;
  const int width = grid_->GridWidth() / columns;
  for (int column = 0; column < columns; ++column)
    grid_->SetGridColumnWidth(column, width);
}

void StatementProcessor::RunScalar(ResultKind kind) {
  query_.Close();
  query_.DeleteVariables();
  query_.SQL()->Clear();
  query_.SQL()->Add(lastTranslatedText_);
  query_.DeclareVariable("res", kind == ResultKind::Integer ? otInteger : otString);
  query_.Execute();
  const Variant value = query_.GetVariable("res");
  lastScalarResult_ =
      kind == ResultKind::Integer ? std::to_string(value.AsInteger()) : VarToStr(value);
}

}  // namespace vorn
