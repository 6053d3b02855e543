// The pointer list and its typed wrapper.
#include "vorn/host/List.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "vorn/host/Exceptions.h"

namespace vorn {
namespace {

// Frees its items, as a list of expression nodes does.
class TOwningList : public TTypedList<int> {
 public:
  ~TOwningList() override { Clear(); }
  std::vector<std::pair<int, TListNotification>> seen;

 protected:
  void Notify(void* item, TListNotification action) override {
    seen.emplace_back(*static_cast<int*>(item), action);
    if (action == lnDeleted) delete static_cast<int*>(item);
  }
};

TEST(ListTest, AddInsertDeleteAndFind) {
  int a = 1, b = 2, c = 3;
  TTypedList<int> list;
  EXPECT_EQ(list.Add(&a), 0);
  EXPECT_EQ(list.Add(&c), 1);
  list.Insert(1, &b);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Items(1), &b);
  EXPECT_EQ(list.IndexOf(&c), 2);
  EXPECT_EQ(list.First(), &a);
  EXPECT_EQ(list.Last(), &c);
  EXPECT_EQ(list.Remove(&a), 0);
  EXPECT_EQ(list.Remove(&a), -1);
  list.Delete(0);
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Extract(&c), &c);
  EXPECT_EQ(list.Count(), 0);
}

TEST(ListTest, IndexErrorsNameTheIndex) {
  TList list;
  int x = 0;
  list.Add(&x);
  auto message = [](const std::function<void()>& action) {
    try {
      action();
    } catch (const EListError& e) {
      return e.Message();
    }
    return std::string("no error");
  };
  EXPECT_EQ(message([&] { list.Items(1); }), "List index out of bounds (1)");
  EXPECT_EQ(message([&] { list.Delete(-1); }), "List index out of bounds (-1)");
  EXPECT_EQ(message([&] { list.Insert(3, &x); }), "List index out of bounds (3)");
  EXPECT_EQ(message([&] { list.Move(0, 1); }), "List index out of bounds (1)");
  EXPECT_EQ(message([&] {
              list.Last();
              list.Clear();
              list.Last();
            }),
            "List index out of bounds (-1)");
  EXPECT_EQ(message([&] { list.SetCount(-1); }), "List count out of bounds (-1)");
}

TEST(ListTest, ExchangeMoveSortAndPack) {
  int v[5] = {5, 3, 9, 1, 7};
  TTypedList<int> list;
  for (int& x : v)
    list.Add(&x);
  list.Exchange(0, 4);
  EXPECT_EQ(*list.Items(0), 7);
  list.Move(0, 3);
  EXPECT_EQ(*list.Items(3), 7);
  list.Sort([](int* a, int* b) { return *a - *b; });
  std::vector<int> sorted;
  for (int i = 0; i < list.Count(); ++i)
    sorted.push_back(*list.Items(i));
  EXPECT_EQ(sorted, (std::vector<int>{1, 3, 5, 7, 9}));
  list.SetCount(7);
  EXPECT_EQ(list.Items(6), nullptr);
  list.Pack();
  EXPECT_EQ(list.Count(), 5);
  list.SetCapacity(100);
  EXPECT_GE(list.Capacity(), 100);
  EXPECT_THROW(list.SetCapacity(2), EListError);
}

TEST(ListTest, NotifyLetsASubclassOwnItsItems) {
  TOwningList list;
  list.Add(new int(1));
  list.Add(new int(2));
  int* kept = new int(3);
  list.Add(kept);
  list.Add(nullptr);
  EXPECT_EQ(list.Extract(kept), kept);
  list.Delete(0);
  list.SetItems(0, new int(4));
  using Seen = std::vector<std::pair<int, TListNotification>>;
  EXPECT_EQ(list.seen, (Seen{{1, lnAdded},
                             {2, lnAdded},
                             {3, lnAdded},
                             {3, lnExtracted},
                             {1, lnDeleted},
                             {2, lnDeleted},
                             {4, lnAdded}}));
  EXPECT_EQ(list.Count(), 2);
  delete kept;
}  // the list frees the 4

}  // namespace
}  // namespace vorn
