// String lists: sorting, duplicates, case sensitivity, name=value pairs,
// Text and CommaText, update events, streams and files.
#include "vorn/host/StringList.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "vorn/host/Exceptions.h"
#include "vorn/host/MemoryStream.h"

namespace vorn {
namespace {

std::vector<std::string> Items(const TStrings& list) {
  std::vector<std::string> items;
  for (int i = 0; i < list.Count(); ++i)
    items.push_back(list[i]);
  return items;
}

using V = std::vector<std::string>;

std::string ListMessage(const std::function<void()>& action) {
  try {
    action();
  } catch (const EListError& e) {
    return e.Message();
  }
  return "no error";
}

TEST(StringListTest, UnsortedListKeepsOrder) {
  TStringList list;
  list.Add("b");
  list.Add("a");
  list.Insert(1, "c");
  list.Insert(3, "d");
  EXPECT_EQ(Items(list), (V{"b", "c", "a", "d"}));
  list.Delete(0);
  list.SetStrings(0, "C");
  list.Exchange(0, 2);
  EXPECT_EQ(Items(list), (V{"d", "a", "C"}));
  list.Move(2, 0);
  EXPECT_EQ(Items(list), (V{"C", "d", "a"}));
  EXPECT_EQ(ListMessage([&] { list.Delete(3); }), "List index out of bounds (3)");
  EXPECT_EQ(ListMessage([&] { list.Insert(5, "x"); }), "List index out of bounds (5)");
  EXPECT_EQ(ListMessage([&] { list.Strings(-1); }), "List index out of bounds (-1)");
}

TEST(StringListTest, IndexOfIgnoresCaseUnlessAsked) {
  TStringList list;
  list.Add("Alpha");
  list.Add("beta");
  EXPECT_EQ(list.IndexOf("ALPHA"), 0);
  EXPECT_EQ(list.IndexOf("gamma"), -1);
  list.SetCaseSensitive(true);
  EXPECT_EQ(list.IndexOf("ALPHA"), -1);
  EXPECT_EQ(list.IndexOf("beta"), 1);
}

TEST(StringListTest, SortedListInsertsInOrder) {
  TStringList list;
  list.SetSorted(true);
  for (const char* s : {"pear", "Apple", "fig", "banana"})
    list.Add(s);
  EXPECT_EQ(Items(list), (V{"Apple", "banana", "fig", "pear"}));
  int index = -1;
  EXPECT_TRUE(list.Find("FIG", index));
  EXPECT_EQ(index, 2);
  EXPECT_FALSE(list.Find("cherry", index));
  EXPECT_EQ(index, 2);
  EXPECT_EQ(list.IndexOf("PEAR"), 3);
  EXPECT_EQ(ListMessage([&] { list.Insert(0, "x"); }), "Operation not allowed on sorted list");
  EXPECT_EQ(ListMessage([&] { list.SetStrings(0, "x"); }), "Operation not allowed on sorted list");
}

TEST(StringListTest, SortingAnExistingList) {
  TStringList list;
  list.SetText("c\nB\na\n");
  list.SetSorted(true);
  EXPECT_EQ(Items(list), (V{"a", "B", "c"}));
  list.SetCaseSensitive(true);  // re-sorts by byte order in the C locale
  EXPECT_EQ(Items(list), (V{"B", "a", "c"}));
  list.SetSorted(false);
  list.Add("A");
  list.CustomSort([](TStringList& l, int a, int b) { return l[b].compare(l[a]); });
  EXPECT_EQ(Items(list), (V{"c", "a", "B", "A"}));
}

TEST(StringListTest, DuplicatesOnASortedList) {
  TStringList list;
  list.SetSorted(true);
  list.Add("one");
  EXPECT_EQ(list.Add("ONE"), 0);  // dupIgnore by default, ignoring case
  EXPECT_EQ(list.Count(), 1);
  list.SetDuplicates(dupAccept);
  list.Add("one");
  EXPECT_EQ(list.Count(), 2);
  list.SetDuplicates(dupError);
  try {
    list.Add("One");
    FAIL();
  } catch (const EStringListError& e) {
    EXPECT_EQ(e.Message(), "String list does not allow duplicates");
  }
  list.SetCaseSensitive(true);
  list.Add("One");
  EXPECT_EQ(list.Count(), 3);
  // An unsorted list takes duplicates whatever the setting.
  TStringList plain;
  plain.SetDuplicates(dupError);
  plain.Add("x");
  plain.Add("x");
  EXPECT_EQ(plain.Count(), 2);
}

TEST(StringListTest, TextJoinsWithCrLfAndSplitsAnyBreak) {
  TStringList list;
  list.Add("select *");
  list.Add("from dual");
  EXPECT_EQ(list.Text(), "select *\r\nfrom dual\r\n");
  list.SetText("a\r\nb\nc\rd");
  EXPECT_EQ(Items(list), (V{"a", "b", "c", "d"}));
  list.SetText("a\n\nb\r\n");
  EXPECT_EQ(Items(list), (V{"a", "", "b"}));
  list.SetText("\n\r");
  EXPECT_EQ(Items(list), (V{"", ""}));
  list.SetText("");
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Text(), "");
  list.SetText(std::string("x\0y", 3));
  EXPECT_EQ(list[0].size(), 3u);
}

TEST(StringListTest, CommaText) {
  TStringList list;
  list.SetCommaText("a, \"b c\",d \"e\"\"f\",,");
  EXPECT_EQ(Items(list), (V{"a", "b c", "d", "e\"f", "", ""}));
  EXPECT_EQ(list.CommaText(), "a,\"b c\",d,\"e\"\"f\",,");
  list.Clear();
  list.Add("");
  EXPECT_EQ(list.CommaText(), "\"\"");
  list.SetDelimiter(';');
  list.SetDelimitedText("x;y z");
  EXPECT_EQ(Items(list), (V{"x", "y", "z"}));
  list.SetCommaText("p,q");
  EXPECT_EQ(list.Delimiter(), ';');
  EXPECT_EQ(list.DelimitedText(), "p;q");
}

TEST(StringListTest, NamesAndValues) {
  TStringList list;
  list.Add("ORACLEHOME=C:\\orant");
  list.Add("OCIDLL=oci.dll");
  list.Add("plain");
  list.Add("eq=a=b");
  EXPECT_EQ(list.Names(0), "ORACLEHOME");
  EXPECT_EQ(list.Names(2), "");
  EXPECT_EQ(list.Values("oracleHome"), "C:\\orant");
  EXPECT_EQ(list.Values("eq"), "a=b");
  EXPECT_EQ(list.Values("missing"), "");
  EXPECT_EQ(list.ValueFromIndex(2), "");
  EXPECT_EQ(list.IndexOfName("OCIDLL"), 1);
  list.SetValues("OCIDLL", "oci2.dll");
  EXPECT_EQ(list[1], "OCIDLL=oci2.dll");
  list.SetValues("UserId", "scott/tiger");
  EXPECT_EQ(list[4], "UserId=scott/tiger");
  list.SetValues("OCIDLL", "");
  EXPECT_EQ(list.IndexOfName("OCIDLL"), -1);
  TStringList sorted;
  sorted.SetSorted(true);
  sorted.SetValues("b", "1");
  sorted.SetValues("a", "2");
  EXPECT_EQ(Items(sorted), (V{"a=2", "b=1"}));
}

TEST(StringListTest, ObjectsAndTags) {
  TStringList list;
  TObject object;
  list.AddObject("with object", &object);
  list.AddTag("with tag", 42);
  EXPECT_EQ(list.Objects(0), &object);
  EXPECT_EQ(list.Tags(1), 42);
  EXPECT_EQ(list.IndexOfObject(&object), 0);
  list.Exchange(0, 1);
  EXPECT_EQ(list.Objects(1), &object);
  TStringList copy;
  copy.Assign(&list);
  EXPECT_EQ(copy.Tags(0), 42);
  EXPECT_TRUE(copy.Equals(list));
}

TEST(StringListTest, ChangeEventsAndUpdateBrackets) {
  TStringList list;
  std::vector<std::string> events;
  list.SetOnChanging([&](TObject* sender) {
    EXPECT_EQ(sender, &list);
    events.push_back("changing " + std::to_string(list.Count()));
  });
  list.SetOnChange([&](TObject*) { events.push_back("change " + std::to_string(list.Count())); });
  list.Add("a");
  EXPECT_EQ(events, (V{"changing 0", "change 1"}));
  events.clear();
  list.BeginUpdate();
  list.Add("b");
  list.Add("c");
  list.Delete(0);
  list.EndUpdate();
  EXPECT_EQ(events, (V{"changing 1", "change 2"}));
  events.clear();
  list.SetText("x\ny");
  EXPECT_EQ(events, (V{"changing 2", "change 2"}));
  events.clear();
  list.Clear();
  list.Clear();
  EXPECT_EQ(events, (V{"changing 2", "change 0"}));
}

TEST(StringListTest, AssignAndAddStrings) {
  TStringList source;
  source.SetText("b\na");
  TStringList sorted;
  sorted.SetSorted(true);
  sorted.Add("z");
  sorted.Assign(&source);
  EXPECT_EQ(Items(sorted), (V{"a", "b"}));
  sorted.AddStrings(source);
  EXPECT_EQ(sorted.Count(), 2);
  try {
    sorted.Assign(nullptr);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a nil to a TStringList");
  }
}

TEST(StringListTest, StreamsAndFiles) {
  TStringList list;
  list.SetText("line 1\nline 2");
  TMemoryStream stream;
  list.SaveToStream(stream);
  EXPECT_EQ(std::string(stream.Bytes().begin(), stream.Bytes().end()), "line 1\r\nline 2\r\n");
  stream.SetPosition(8);
  TStringList tail;
  tail.LoadFromStream(stream);
  EXPECT_EQ(Items(tail), (V{"line 2"}));

  auto path = std::filesystem::temp_directory_path() /
              ("vorn-strings-" + std::to_string(::getpid()) + ".txt");
  list.SaveToFile(path.string());
  TStringList loaded;
  loaded.LoadFromFile(path.string());
  EXPECT_TRUE(loaded.Equals(list));
  std::filesystem::remove(path);
  EXPECT_THROW(loaded.LoadFromFile(path.string()), EFOpenError);
  EXPECT_TRUE(loaded.Equals(list));
}

}  // namespace
}  // namespace vorn
