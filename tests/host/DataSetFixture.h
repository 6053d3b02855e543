// Shared helpers of the dataset framework tests: an in-memory dataset with
// numbered records, a data link that records what the framework tells it,
// and a log of dataset events.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "MemDataSet.h"
#include "vorn/host/host.h"

namespace vorn::dataset_test {

using support::TMemDataSet;

// A link that logs its callbacks ("active", "changed", "scrolled 1", ...)
// and reads the records it shows.
class RecordingLink : public TDataLink {
 public:
  std::vector<std::string> log;
  std::string field = "ID";

  int First() const { return FirstRecord(); }

  // The ID of each row the link can show, the way a grid paints them.
  std::vector<int> Rows() {
    std::vector<int> rows;
    int saved = ActiveRecord();
    for (int i = 0; i < RecordCount(); ++i) {
      SetActiveRecord(i);
      rows.push_back(DataSet()->FieldByName(field)->AsInteger());
    }
    SetActiveRecord(saved);
    return rows;
  }

 protected:
  void ActiveChanged() override { log.push_back(Active() ? "active" : "inactive"); }
  void EditingChanged() override { log.push_back(Editing() ? "editing" : "not editing"); }
  void RecordChanged(TField* f) override {
    log.push_back(f != nullptr ? "record " + f->FieldName() : "record");
  }
  void DataSetChanged() override { log.push_back("changed"); }
  void DataSetScrolled(int distance) override {
    log.push_back("scrolled " + std::to_string(distance));
  }
  void LayoutChanged() override { log.push_back("layout"); }
  void UpdateData() override { log.push_back("update data"); }
};

// Records the dataset's Before/After events and hooks in order.
inline void LogDataSetEvents(TDataSet& ds, std::vector<std::string>& log) {
  auto add = [&log](const char* name) { return [&log, name](TDataSet*) { log.push_back(name); }; };
  ds.SetBeforeOpen(add("BeforeOpen"));
  ds.SetAfterOpen(add("AfterOpen"));
  ds.SetBeforeClose(add("BeforeClose"));
  ds.SetAfterClose(add("AfterClose"));
  ds.SetBeforeInsert(add("BeforeInsert"));
  ds.SetAfterInsert(add("AfterInsert"));
  ds.SetBeforeEdit(add("BeforeEdit"));
  ds.SetAfterEdit(add("AfterEdit"));
  ds.SetBeforePost(add("BeforePost"));
  ds.SetAfterPost(add("AfterPost"));
  ds.SetBeforeCancel(add("BeforeCancel"));
  ds.SetAfterCancel(add("AfterCancel"));
  ds.SetBeforeDelete(add("BeforeDelete"));
  ds.SetAfterDelete(add("AfterDelete"));
  ds.SetBeforeScroll(add("BeforeScroll"));
  ds.SetAfterScroll(add("AfterScroll"));
  ds.SetBeforeRefresh(add("BeforeRefresh"));
  ds.SetAfterRefresh(add("AfterRefresh"));
  ds.SetOnNewRecord(add("OnNewRecord"));
}

// A dataset with fields ID (integer) and NAME (string of 20); OpenWith opens
// it holding records ID 1..count named "r1".."rN".
class DataSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ds = std::make_unique<TMemDataSet>();
    ds->FieldDefs().Add("ID", ftInteger);
    ds->FieldDefs().Add("NAME", ftString, 20);
  }

  void OpenWith(int count) {
    for (int i = 1; i <= count; ++i)
      ds->AddRow({i, std::string("r").append(std::to_string(i))});
    ds->Open();
  }

  // Attaches a recording link showing `rows` records.
  RecordingLink& Link(int rows) {
    if (!source) {
      source = std::make_unique<TDataSource>(nullptr);
      source->SetDataSet(ds.get());
    }
    links.push_back(std::make_unique<RecordingLink>());
    links.back()->SetBufferCount(rows);
    links.back()->SetDataSource(source.get());
    return *links.back();
  }

  int Id() { return ds->FieldByName("ID")->AsInteger(); }

  std::unique_ptr<TMemDataSet> ds;
  std::unique_ptr<TDataSource> source;
  std::vector<std::unique_ptr<RecordingLink>> links;

  void TearDown() override {
    links.clear();
    source.reset();
    ds.reset();
  }
};

}  // namespace vorn::dataset_test
