// Data sources and data links: state tracking and its events,
// DisableControls and its replay, editing through links, the field and grid
// links, and detaching when either side goes away.
#include "DataSetFixture.h"

namespace vorn::dataset_test {
namespace {

using ::testing::ElementsAre;

class LinksTest : public DataSetTest {
 protected:
  void WatchSource() {
    if (!source) {
      source = std::make_unique<TDataSource>(nullptr);
      source->SetDataSet(ds.get());
    }
    source->SetOnStateChange([this](TObject*) { sourceLog.push_back("state"); });
    source->SetOnDataChange([this](TObject*, TField* field) {
      sourceLog.push_back(field != nullptr ? "data " + field->FieldName() : "data");
    });
    source->SetOnUpdateData([this](TObject*) { sourceLog.push_back("update"); });
  }

  std::vector<std::string> sourceLog;
};

TEST_F(LinksTest, TheSourceFollowsTheDatasetStateAndReportsIt) {
  WatchSource();

  OpenWith(3);
  EXPECT_EQ(source->State(), dsBrowse);
  EXPECT_THAT(sourceLog, ElementsAre("state", "data"));
  sourceLog.clear();

  ds->Edit();
  ds->FieldByName("NAME")->SetAsString("x");
  ds->Post();
  EXPECT_THAT(sourceLog, ElementsAre("state", "data", "data NAME", "update", "state", "data"));
}

TEST_F(LinksTest, ADisabledSourceShowsNothing) {
  RecordingLink& link = Link(2);
  OpenWith(3);
  link.log.clear();

  source->SetEnabled(false);
  EXPECT_EQ(source->State(), dsInactive);
  EXPECT_FALSE(link.Active());
  ds->Next();
  EXPECT_THAT(link.log, ElementsAre("inactive"));

  source->SetEnabled(true);
  EXPECT_TRUE(link.Active());
  EXPECT_EQ(link.ActiveRecord(), 1);
}

TEST_F(LinksTest, LinksEditOnlyWhenTheSourceAllowsIt) {
  RecordingLink& link = Link(1);
  OpenWith(3);

  source->SetAutoEdit(false);
  EXPECT_FALSE(link.Edit());
  EXPECT_EQ(ds->State(), dsBrowse);

  source->SetAutoEdit(true);
  link.SetReadOnly(true);
  EXPECT_FALSE(link.Edit());
  link.SetReadOnly(false);
  EXPECT_TRUE(link.Edit());
  EXPECT_EQ(ds->State(), dsEdit);
  EXPECT_TRUE(link.Editing());

  link.SetReadOnly(true);
  EXPECT_FALSE(link.Editing());
}

TEST_F(LinksTest, DisabledControlsHearOneChangeWhenEnabledAgain) {
  RecordingLink& link = Link(2);
  OpenWith(10);
  WatchSource();
  link.log.clear();

  ds->DisableControls();
  ds->Next();
  ds->Next();
  ds->Last();
  EXPECT_TRUE(link.log.empty());
  EXPECT_TRUE(sourceLog.empty());
  ds->EnableControls();

  EXPECT_THAT(link.log, ElementsAre("changed"));
  EXPECT_THAT(sourceLog, ElementsAre("data"));
  EXPECT_THAT(link.Rows(), ElementsAre(9, 10));
}

TEST_F(LinksTest, DisableControlsNests) {
  RecordingLink& link = Link(2);
  OpenWith(10);
  link.log.clear();

  ds->DisableControls();
  ds->DisableControls();
  ds->Next();
  ds->EnableControls();
  EXPECT_TRUE(link.log.empty());
  EXPECT_TRUE(ds->ControlsDisabled());
  ds->EnableControls();
  ds->EnableControls();

  EXPECT_THAT(link.log, ElementsAre("changed"));
  EXPECT_FALSE(ds->ControlsDisabled());
}

TEST_F(LinksTest, AStateChangeWhileDisabledIsReportedBeforeTheReplay) {
  RecordingLink& link = Link(1);
  OpenWith(3);
  link.log.clear();

  ds->DisableControls();
  ds->Edit();
  ds->FieldByName("NAME")->SetAsString("x");
  EXPECT_TRUE(link.log.empty());
  ds->EnableControls();

  EXPECT_THAT(link.log, ElementsAre("editing", "changed"));
}

TEST_F(LinksTest, ALayoutChangeWhileDisabledReplaysAsALayoutChange) {
  RecordingLink& link = Link(1);
  OpenWith(3);
  link.log.clear();

  ds->DisableControls();
  ds->FieldByName("NAME")->SetDisplayLabel("Name");
  ds->Next();
  ds->EnableControls();

  EXPECT_THAT(link.log, ElementsAre("layout"));
}

TEST_F(LinksTest, ClosingWhileDisabledBlanksTheControlsAtOnce) {
  RecordingLink& link = Link(1);
  OpenWith(3);
  link.log.clear();

  ds->DisableControls();
  ds->Close();
  EXPECT_FALSE(link.Active());
  ds->EnableControls();

  EXPECT_THAT(link.log, ElementsAre("inactive"));
  EXPECT_EQ(source->State(), dsInactive);
}

TEST_F(LinksTest, OpeningWhileDisabledIsShownWhenEnabled) {
  RecordingLink& link = Link(1);
  for (int i = 1; i <= 3; ++i)
    ds->AddRow({i, "x"});

  ds->DisableControls();
  ds->Open();
  EXPECT_FALSE(link.Active());
  ds->EnableControls();

  EXPECT_TRUE(link.Active());
  EXPECT_THAT(link.log, ElementsAre("active"));
}

TEST_F(LinksTest, EnableControlsWithoutDisableDoesNothing) {
  RecordingLink& link = Link(1);
  OpenWith(3);
  link.log.clear();

  ds->EnableControls();

  EXPECT_FALSE(ds->ControlsDisabled());
  EXPECT_TRUE(link.log.empty());
}

// A link writing its control's text into a field during UpdateRecord does
// not hear that change back.
class WritingLink : public RecordingLink {
 protected:
  void UpdateData() override {
    RecordingLink::UpdateData();
    DataSet()->FieldByName("NAME")->SetAsString("typed");
  }
};

TEST_F(LinksTest, ALinkDoesNotHearTheChangesItMakesWhileUpdating) {
  OpenWith(3);
  source = std::make_unique<TDataSource>(nullptr);
  source->SetDataSet(ds.get());
  WritingLink writer;
  writer.SetDataSource(source.get());
  RecordingLink& other = Link(1);
  ds->Edit();
  writer.log.clear();
  other.log.clear();

  ds->Post();

  EXPECT_THAT(writer.log, ElementsAre("update data", "not editing", "changed"));
  EXPECT_THAT(other.log, ElementsAre("record NAME", "update data", "not editing", "changed"));
  EXPECT_EQ(ds->FieldByName("NAME")->AsString(), "typed");
  writer.SetDataSource(nullptr);
}

TEST_F(LinksTest, FieldLinksFollowTheirField) {
  OpenWith(3);
  source = std::make_unique<TDataSource>(nullptr);
  source->SetDataSet(ds.get());
  TFieldDataLink link;
  std::vector<std::string> log;
  std::string controlText;
  link.SetOnDataChange([&](TObject*) {
    controlText = link.Field() != nullptr ? link.Field()->AsString() : "";
    log.push_back("load");
  });
  link.SetOnEditingChange([&](TObject*) { log.push_back(link.Editing() ? "edit" : "browse"); });
  link.SetOnUpdateData([&](TObject*) {
    log.push_back("save");
    link.Field()->SetAsString(controlText);
  });
  link.SetFieldName("NAME");
  link.SetDataSource(source.get());
  EXPECT_EQ(link.Field(), ds->FieldByName("NAME"));
  EXPECT_EQ(controlText, "r1");
  log.clear();

  ds->Next();
  EXPECT_EQ(controlText, "r2");

  EXPECT_TRUE(link.Edit());
  ds->FieldByName("ID")->SetAsInteger(5);  // another field: not this control's
  controlText = "typed";
  link.Modified();
  ds->Post();

  EXPECT_THAT(log, ElementsAre("load", "edit", "load", "save", "browse", "load"));
  EXPECT_EQ(ds->FieldByName("NAME")->AsString(), "typed");
}

TEST_F(LinksTest, FieldLinksWithoutChangesSaveNothing) {
  OpenWith(3);
  source = std::make_unique<TDataSource>(nullptr);
  source->SetDataSet(ds.get());
  TFieldDataLink link;
  int saves = 0;
  link.SetOnUpdateData([&saves](TObject*) { ++saves; });
  link.SetFieldName("NAME");
  link.SetDataSource(source.get());

  link.Edit();
  ds->Post();

  EXPECT_EQ(saves, 0);
  EXPECT_EQ(ds->State(), dsBrowse);
}

TEST_F(LinksTest, GridLinksShowTheVisibleFieldsAndPassCallbacksOn) {
  OpenWith(10);
  ds->FieldByName("ID")->SetVisible(false);
  source = std::make_unique<TDataSource>(nullptr);
  source->SetDataSet(ds.get());
  TGridDataLink grid;
  std::vector<std::string> log;
  grid.SetOnActiveChanged([&log](TObject*) { log.push_back("active"); });
  grid.SetOnDataSetScrolled(
      [&log](TObject*, int distance) { log.push_back("scrolled " + std::to_string(distance)); });
  grid.SetOnDataSetChanged([&log](TObject*) { log.push_back("changed"); });
  grid.SetOnLayoutChanged([&log](TObject*) { log.push_back("layout"); });
  grid.SetBufferCount(3);
  grid.SetDataSource(source.get());

  ASSERT_EQ(grid.ColumnCount(), 1);
  EXPECT_EQ(grid.Columns(0)->FieldName(), "NAME");
  EXPECT_THROW(grid.Columns(1), EListError);

  ds->MoveBy(3);
  ds->FieldByName("ID")->SetVisible(true);
  EXPECT_EQ(grid.ColumnCount(), 2);
  ds->First();

  EXPECT_THAT(log, ElementsAre("active", "scrolled 1", "layout", "changed"));
  source->SetDataSet(nullptr);
  EXPECT_EQ(grid.ColumnCount(), 0);
}

TEST_F(LinksTest, FocusRequestsGoToTheFirstControlOfTheField) {
  OpenWith(3);
  source = std::make_unique<TDataSource>(nullptr);
  source->SetDataSet(ds.get());
  TFieldDataLink idLink, nameLink, secondNameLink;
  std::vector<std::string> focused;
  idLink.SetOnFocusControl([&](TObject*) { focused.push_back("id"); });
  nameLink.SetOnFocusControl([&](TObject*) { focused.push_back("name"); });
  secondNameLink.SetOnFocusControl([&](TObject*) { focused.push_back("second name"); });
  for (TFieldDataLink* link : {&idLink, &nameLink, &secondNameLink})
    link->SetDataSource(source.get());
  idLink.SetFieldName("ID");
  nameLink.SetFieldName("NAME");
  secondNameLink.SetFieldName("NAME");

  ds->FieldByName("NAME")->FocusControl();

  EXPECT_THAT(focused, ElementsAre("name"));
}

TEST_F(LinksTest, DestroyingTheDatasetDetachesItsSources) {
  RecordingLink& link = Link(2);
  OpenWith(3);
  link.log.clear();

  ds.reset();

  EXPECT_EQ(source->DataSet(), nullptr);
  EXPECT_EQ(source->State(), dsInactive);
  EXPECT_THAT(link.log, ElementsAre("inactive"));
}

TEST_F(LinksTest, DestroyingALinkOrSourceDetachesIt) {
  OpenWith(3);
  source = std::make_unique<TDataSource>(nullptr);
  source->SetDataSet(ds.get());
  {
    RecordingLink temporary;
    temporary.SetBufferCount(3);
    temporary.SetDataSource(source.get());
    EXPECT_EQ(source->DataLinkCount(), 1);
    EXPECT_EQ(ds->LiveBuffers(), 4);
  }
  EXPECT_EQ(source->DataLinkCount(), 0);
  EXPECT_EQ(ds->LiveBuffers(), 2);

  RecordingLink survivor;
  survivor.SetDataSource(source.get());
  source.reset();
  EXPECT_EQ(survivor.DataSource(), nullptr);
  EXPECT_FALSE(survivor.Active());
}

TEST_F(LinksTest, TheLinkBufferCountIsAtLeastOne) {
  RecordingLink& link = Link(3);
  OpenWith(3);

  link.SetBufferCount(0);

  EXPECT_EQ(link.BufferCount(), 1);
  EXPECT_EQ(link.RecordCount(), 1);
}

}  // namespace
}  // namespace vorn::dataset_test
