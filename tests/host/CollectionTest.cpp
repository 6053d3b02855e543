// Collections: item ownership, order, IDs, update reports and assignment.
#include "vorn/host/Collection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vorn/host/Exceptions.h"

namespace vorn {
namespace {

class TColumn : public TCollectionItem {
  VORN_CLASS(TColumn, TCollectionItem)
  explicit TColumn(TCollection* collection) : TCollectionItem(collection) { ++alive; }
  ~TColumn() override { --alive; }
  void Assign(const TPersistent* source) override {
    if (auto* column = dynamic_cast<const TColumn*>(source)) {
      title = column->title;
      Changed(false);
      return;
    }
    TCollectionItem::Assign(source);
  }
  void Retitle(const std::string& value) {
    title = value;
    Changed(false);
  }
  std::string DisplayName() const override { return title.empty() ? "TColumn" : title; }

  std::string title;
  static int alive;
};
int TColumn::alive = 0;

// Records what the collection reports.
class TColumns : public TTypedCollection<TColumn> {
 public:
  using TTypedCollection::TTypedCollection;
  std::vector<std::string> reports;

 protected:
  void Update(TCollectionItem* item) override {
    TTypedCollection::Update(item);
    reports.push_back(item ? "item " + item->DisplayName() : "all");
  }
  void Notify(TCollectionItem* item, TCollectionNotification action) override {
    static const char* names[] = {"added", "extracting", "deleting"};
    reports.push_back(std::string(names[action]) + " " + std::to_string(item->ID()));
  }
};

std::vector<std::string> Titles(const TColumns& columns) {
  std::vector<std::string> titles;
  for (int i = 0; i < columns.Count(); ++i)
    titles.push_back(columns.Items(i)->title);
  return titles;
}

TEST(CollectionTest, AddInsertAndIndex) {
  TColumns columns;
  columns.Add()->title = "b";
  columns.Add()->title = "c";
  columns.Insert(0)->title = "a";
  EXPECT_EQ(Titles(columns), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(columns.Items(2)->Index(), 2);
  EXPECT_EQ(columns.Items(0)->Collection(), &columns);
  EXPECT_EQ(columns.Items(0)->ID(), 2);
  EXPECT_EQ(columns.FindItemID(1)->title, "c");
  EXPECT_EQ(columns.FindItemID(9), nullptr);
  EXPECT_THROW(columns.Insert(5), EListError);
  EXPECT_EQ(columns.Count(), 3);
}

TEST(CollectionTest, MovingAnItemShiftsTheOthers) {
  TColumns columns;
  for (const char* t : {"a", "b", "c", "d"})
    columns.Add()->title = t;
  columns.Items(0)->SetIndex(2);
  EXPECT_EQ(Titles(columns), (std::vector<std::string>{"b", "c", "a", "d"}));
  columns.Items(3)->SetIndex(0);
  EXPECT_EQ(Titles(columns), (std::vector<std::string>{"d", "b", "c", "a"}));
  try {
    columns.Items(0)->SetIndex(4);
    FAIL();
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), "List index out of bounds (4)");
  }
  EXPECT_EQ(Titles(columns), (std::vector<std::string>{"d", "b", "c", "a"}));
}

TEST(CollectionTest, ItemsAreOwnedAndLeaveWhenDeleted) {
  TColumn::alive = 0;
  {
    TColumns columns;
    columns.Add();
    TColumn* middle = columns.Add();
    columns.Add();
    delete middle;
    EXPECT_EQ(columns.Count(), 2);
    columns.Delete(0);
    EXPECT_EQ(TColumn::alive, 1);
  }
  EXPECT_EQ(TColumn::alive, 0);
  TColumns columns;
  columns.Add();
  columns.Add();
  columns.Clear();
  EXPECT_EQ(columns.Count(), 0);
  EXPECT_EQ(TColumn::alive, 0);
  EXPECT_THROW(columns.Items(0), EListError);
}

TEST(CollectionTest, ItemsChangeCollections) {
  TColumns a, b;
  TColumn* item = a.Add();
  item->SetCollection(&b);
  EXPECT_EQ(a.Count(), 0);
  EXPECT_EQ(b.Count(), 1);
  EXPECT_EQ(item->Collection(), &b);
  item->SetCollection(nullptr);
  EXPECT_EQ(item->Index(), -1);
  delete item;
}

TEST(CollectionTest, ReportsChangesAndNotifications) {
  TColumns columns;
  TColumn* first = columns.Add();
  EXPECT_EQ(columns.reports, (std::vector<std::string>{"added 0", "all"}));
  columns.reports.clear();
  first->Retitle("Name");
  EXPECT_EQ(columns.reports, (std::vector<std::string>{"item Name"}));
  columns.reports.clear();
  columns.Delete(0);
  EXPECT_EQ(columns.reports, (std::vector<std::string>{"deleting 0", "extracting 0", "all"}));
}

TEST(CollectionTest, UpdateBracketsReportOnce) {
  TColumns columns;
  int events = 0;
  columns.SetOnUpdate([&](TObject* sender, TCollectionItem* item) {
    EXPECT_EQ(sender, &columns);
    EXPECT_EQ(item, nullptr);
    ++events;
  });
  columns.BeginUpdate();
  columns.BeginUpdate();
  columns.Add()->Retitle("x");
  columns.Add();
  columns.EndUpdate();
  EXPECT_EQ(events, 0);
  columns.EndUpdate();
  EXPECT_EQ(events, 1);
  columns.EndUpdate();  // unbalanced: harmless
  EXPECT_EQ(columns.UpdateCount(), 0);
}

TEST(CollectionTest, AssignCopiesItemValues) {
  TColumns source, target;
  source.Add()->title = "x";
  source.Add()->title = "y";
  target.Add()->title = "old";
  target.Assign(&source);
  EXPECT_EQ(Titles(target), (std::vector<std::string>{"x", "y"}));
  source.Items(0)->title = "changed";
  EXPECT_EQ(target.Items(0)->title, "x");
  TColumns plain;
  plain.Add();
  try {
    target.Items(0)->Assign(&plain);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a TCollection to a TColumn");
  }
  EXPECT_THROW(target.Assign(nullptr), EConvertError);
}

TEST(CollectionTest, OwnerIsKept) {
  TColumns owner;
  TColumns columns(&owner);
  EXPECT_EQ(columns.Owner(), &owner);
}

}  // namespace
}  // namespace vorn
