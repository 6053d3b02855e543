// The statement processor's text rules: how a line is classified, connect
// lines split, slots substituted, the language chosen, the translator's
// block built and the result kind read from the translated text.
#include "StatementText.h"

#include <gtest/gtest.h>

#include "vorn/host/Exceptions.h"

namespace vorn {
namespace {

// --- Classifying lines ---

TEST(ClassifyLineTest, CommitInAnyLetterCaseWithBlanksAroundCommits) {
  EXPECT_EQ(ClassifyLine("commit").kind, LineKind::Commit);
  EXPECT_EQ(ClassifyLine("  COMMIT \t").kind, LineKind::Commit);
  EXPECT_EQ(ClassifyLine("CoMmIt\r").kind, LineKind::Commit);
}

TEST(ClassifyLineTest, CommitFollowedByAnythingIsAStatement) {
  EXPECT_EQ(ClassifyLine("commit;").kind, LineKind::Statement);
  EXPECT_EQ(ClassifyLine("commit work").kind, LineKind::Statement);
}

TEST(ClassifyLineTest, EmptyAndBlankLinesDoNothing) {
  EXPECT_EQ(ClassifyLine("").kind, LineKind::Empty);
  EXPECT_EQ(ClassifyLine(" \t\r\n").kind, LineKind::Empty);
}

TEST(ClassifyLineTest, AmpersandAndDigitStoresThatSlotWhateverFollows) {
  const ClassifiedLine line = ClassifyLine("  &3 ignored text");
  EXPECT_EQ(line.kind, LineKind::StoreSlot);
  EXPECT_EQ(line.slot, 3);
  EXPECT_EQ(ClassifyLine("&0").slot, 0);
  EXPECT_EQ(ClassifyLine("&9").slot, 9);
}

TEST(ClassifyLineTest, AmpersandWithoutADigitDoesNothing) {
  EXPECT_EQ(ClassifyLine("&").kind, LineKind::Ignored);
  EXPECT_EQ(ClassifyLine("&x").kind, LineKind::Ignored);
  EXPECT_EQ(ClassifyLine("& 1").kind, LineKind::Ignored);
}

TEST(ClassifyLineTest, ConnectNeedsTheBlankAndIgnoresLetterCase) {
  EXPECT_EQ(ClassifyLine("CONNECT man/man@DEMO").kind, LineKind::Connect);
  EXPECT_EQ(ClassifyLine("connect man").kind, LineKind::Connect);
  EXPECT_EQ(ClassifyLine("connection").kind, LineKind::Statement);
  // Trimmed first: "connect " with nothing after it is "connect".
  EXPECT_EQ(ClassifyLine("connect ").kind, LineKind::Statement);
}

TEST(ClassifyLineTest, TheTextIsTrimmedOfBlanksAndControlCharacters) {
  EXPECT_EQ(ClassifyLine("\t select 1 from dual \r\n").text, "select 1 from dual");
}

// --- Connect lines ---

TEST(SplitConnectLineTest, UserPasswordAndDatabase) {
  const ConnectTarget target = SplitConnectLine("connect  man/secret @DEMO ");

  EXPECT_EQ(target.username, "man");
  EXPECT_EQ(target.password, "secret");
  // The user name part is trimmed, the database part is not.
  EXPECT_EQ(target.database, "DEMO ");
}

TEST(SplitConnectLineTest, WithoutAtTheDatabaseIsTheWholeLine) {
  const ConnectTarget target = SplitConnectLine("connect man/man");

  EXPECT_EQ(target.username, "");
  EXPECT_EQ(target.password, "");
  EXPECT_EQ(target.database, "connect man/man");
}

TEST(SplitConnectLineTest, WithoutSlashThePasswordIsAllTheCredentials) {
  const ConnectTarget target = SplitConnectLine("connect man@DEMO");

  EXPECT_EQ(target.username, "");
  EXPECT_EQ(target.password, "man");
  EXPECT_EQ(target.database, "DEMO");
}

TEST(SplitConnectLineTest, OnlyTheFirstAtAndSlashSplit) {
  const ConnectTarget target = SplitConnectLine("connect a/b/c@d@e");

  EXPECT_EQ(target.username, "a");
  EXPECT_EQ(target.password, "b/c");
  EXPECT_EQ(target.database, "d@e");
}

TEST(SplitConnectLineTest, AnAtInsideTheConnectWordLeavesEmptyCredentials) {
  const ConnectTarget target = SplitConnectLine("con@x");

  EXPECT_EQ(target.username, "");
  EXPECT_EQ(target.password, "");
  EXPECT_EQ(target.database, "x");
}

// --- Slots ---

SlotValues Slots(std::initializer_list<std::pair<int, std::string>> values) {
  SlotValues slots;
  for (const auto& [slot, value] : values)
    slots[static_cast<size_t>(slot)] = value;
  return slots;
}

TEST(SubstituteSlotsTest, AReferenceTakesTheSlotsValue) {
  EXPECT_EQ(SubstituteSlots("select name from man.dogs where age = &3", Slots({{3, "42"}})),
            "select name from man.dogs where age = 42");
}

TEST(SubstituteSlotsTest, AnEmptySlotRemovesTheReference) {
  EXPECT_EQ(SubstituteSlots("a&1b", SlotValues{}), "ab");
}

TEST(SubstituteSlotsTest, AnAmpersandWithoutADigitStays) {
  EXPECT_EQ(SubstituteSlots("a & b &x &&1 end&", Slots({{1, "one"}})), "a & b &x &one end&");
}

TEST(SubstituteSlotsTest, ASlotValueHoldingAReferenceIsSubstitutedInTurn) {
  EXPECT_EQ(SubstituteSlots("x=&1", Slots({{1, "&2+&2"}, {2, "7"}})), "x=7+7");
}

TEST(SubstituteSlotsTest, AReferenceMadeByJoiningTextIsSubstitutedFromTheStart) {
  // "&" from slot 1 and "2" after the reference make "&2".
  EXPECT_EQ(SubstituteSlots("&12", Slots({{1, "&"}, {2, "two"}})), "two");
}

TEST(SubstituteSlotsTest, ASlotReferringToItselfStopsWithAnErrorNamingIt) {
  try {
    SubstituteSlots("select &1", Slots({{1, "x&1"}}));
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_NE(e.Message().find("after 1000 substitutions"), std::string::npos) << e.Message();
    EXPECT_NE(e.Message().find("slot &1 refers to itself"), std::string::npos) << e.Message();
  }
}

TEST(SubstituteSlotsTest, SlotsReferringToEachOtherStopWithAnErrorNamingThem) {
  try {
    SubstituteSlots("&4", Slots({{2, "&5"}, {4, "&2"}, {5, "&4"}, {7, "&7"}}));
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_NE(e.Message().find("slots &2, &4, &5 and &7 refer to each other"), std::string::npos)
        << e.Message();
  }
}

TEST(SubstituteSlotsTest, ManyReferencesWithinTheBoundAreAllSubstituted) {
  std::string text;
  for (int i = 0; i < kMaxSlotSubstitutions; ++i)
    text += "&0";

  EXPECT_EQ(SubstituteSlots(text, Slots({{0, "a"}})), std::string(kMaxSlotSubstitutions, 'a'));
  EXPECT_THROW(SubstituteSlots(text + "&0", Slots({{0, "a"}})), Exception);
}

// --- Languages and the translator's block ---

TEST(LanguageOfTest, TheFirstWordInAnyLetterCaseChoosesTheLanguage) {
  EXPECT_EQ(LanguageOf("select x from y"), "VORN");
  EXPECT_EQ(LanguageOf("SELECT x"), "VORN");
  EXPECT_EQ(LanguageOf("Create type t"), "ODDL");
  EXPECT_EQ(LanguageOf("drop type t"), "ODDL");
  EXPECT_EQ(LanguageOf("ALTER type t"), "ODDL");
  EXPECT_EQ(LanguageOf("insert into t"), "ODML");
  EXPECT_EQ(LanguageOf("delete t"), "ODML");
  EXPECT_EQ(LanguageOf("update t"), "ODML");
}

TEST(LanguageOfTest, OtherWordsAndStatementsWithoutABlankHaveNone) {
  EXPECT_EQ(LanguageOf("merge into t"), "");
  EXPECT_EQ(LanguageOf("select"), "");
  // Only a blank ends the first word.
  EXPECT_EQ(LanguageOf("select\tx from y"), "");
}

TEST(TranslatorBlockTest, JoinsTheLanguageAndTheStatement) {
  EXPECT_EQ(TranslatorBlock("VORN", "select name from man.dogs"),
            "begin parser.LoadLanguage('VORN'); parser.Parse('select name from man.dogs'); "
            ":result := VORN.result; end;");
}

TEST(TranslatorBlockTest, QuotesOfTheStatementAreDoubledSoItCannotEndTheLiteral) {
  EXPECT_EQ(TranslatorBlock("VORN", "select name from man.dogs where name = 'Rex'"),
            "begin parser.LoadLanguage('VORN'); "
            "parser.Parse('select name from man.dogs where name = ''Rex'''); "
            ":result := VORN.result; end;");
  // A statement crafted to close the literal and run its own PL/SQL stays
  // one literal.
  EXPECT_EQ(TranslatorBlock("", "x'); drop user man cascade; --"),
            "begin parser.LoadLanguage(''); parser.Parse('x''); drop user man cascade; --'); "
            ":result := .result; end;");
}

// --- Result kinds ---

TEST(ResultKindOfTest, TagsWithAColonInAnyLetterCase) {
  EXPECT_EQ(ResultKindOf("/*:INT*/ begin :res := 1; end;"), ResultKind::Integer);
  EXPECT_EQ(ResultKindOf("/*:int*/ x"), ResultKind::Integer);
  EXPECT_EQ(ResultKindOf("/*:Str*/ x"), ResultKind::String);
  EXPECT_EQ(ResultKindOf("/*:ref*/ x"), ResultKind::String);
  EXPECT_EQ(ResultKindOf("/*:ds*/ select 1 from dual"), ResultKind::DataSet);
}

TEST(ResultKindOfTest, TagsWithoutAColonOnlyInCapitals) {
  EXPECT_EQ(ResultKindOf("/*INT*/ x"), ResultKind::Integer);
  EXPECT_EQ(ResultKindOf("/*STR*/ x"), ResultKind::String);
  EXPECT_EQ(ResultKindOf("/*REF*/ x"), ResultKind::String);
  EXPECT_EQ(ResultKindOf("/*int*/ x"), ResultKind::DataSet);
}

TEST(ResultKindOfTest, BlanksInTheTagOrAnUnknownTagMeanADataSet) {
  EXPECT_EQ(ResultKindOf("/* INT*/ x"), ResultKind::DataSet);
  EXPECT_EQ(ResultKindOf("/*:INT */ x"), ResultKind::DataSet);
  EXPECT_EQ(ResultKindOf("/*:NUM*/ x"), ResultKind::DataSet);
}

TEST(ResultKindOfTest, TheTagIsTakenFromBeforeTheFirstCommentEnd) {
  EXPECT_EQ(ResultKindOf("select 1 /*:INT*/ from dual"), ResultKind::Integer);
  EXPECT_EQ(ResultKindOf("/*:DS*/ select 1 /*:INT*/ from dual"), ResultKind::DataSet);
  // The last "/*" before the first "*/" does not count; the first does.
  EXPECT_EQ(ResultKindOf("/*:INT /*:STR*/ x"), ResultKind::DataSet);
}

TEST(ResultKindOfTest, NoCommentIsADataSet) {
  EXPECT_EQ(ResultKindOf("select name from man.dogs"), ResultKind::DataSet);
  EXPECT_EQ(ResultKindOf("select 1 */ from dual"), ResultKind::DataSet);
  EXPECT_EQ(ResultKindOf(""), ResultKind::DataSet);
}

}  // namespace
}  // namespace vorn
