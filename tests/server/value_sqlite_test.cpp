// The Oracle functions through a real SQLite connection: typed results,
// '' as NULL, NULL propagation, implicit conversions, the format-model
// caches, SYSDATE pinning and the OraError carried out of sqlite3_step.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <optional>
#include <string>
#include <vector>

#include "value/OraDate.h"
#include "value/SessionValues.h"
#include "value/SqlFunctions.h"
#include "value_support.h"

namespace vorn::server {
namespace {

// One result value: its SQLite type and text ("NULL" for NULL, hex for
// BLOB).
struct Cell {
  int type = SQLITE_NULL;
  std::string text;
  bool operator==(const Cell&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Cell& c) {
  static const char* kTypes[] = {"?", "INTEGER", "REAL", "TEXT", "BLOB", "NULL"};
  return os << kTypes[c.type] << " '" << c.text << "'";
}

Cell integer(int64_t v) {
  return {SQLITE_INTEGER, std::to_string(v)};
}
Cell real(const char* text) {
  return {SQLITE_FLOAT, text};
}
Cell text(const char* t) {
  return {SQLITE_TEXT, t};
}
Cell blob(const char* hex) {
  return {SQLITE_BLOB, hex};
}
const Cell kNull{SQLITE_NULL, "NULL"};

class OracleSqlFunctionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(sqlite3_open(":memory:", &db_), SQLITE_OK);
    session_.setClock([this] { return now_; });
    registerOracleFunctions(db_, &session_);
  }
  void TearDown() override { sqlite3_close(db_); }

  // Runs `sql` and returns every row's first column; an error surfaces as
  // the OraError the engine would rethrow.
  std::vector<Cell> column(const std::string& sql) {
    session_.clearPendingError();
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
      throw std::runtime_error(sqlite3_errmsg(db_));
    std::vector<Cell> out;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
      out.push_back(cellOf(stmt));
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE) {
      session_.rethrowPendingError();
      throw std::runtime_error("SQLite error without a pending OraError");
    }
    return out;
  }

  Cell one(const std::string& sql) {
    std::vector<Cell> cells = column("SELECT " + sql);
    return cells.at(0);
  }

  void exec(const char* sql) {
    ASSERT_EQ(sqlite3_exec(db_, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql;
  }

  static Cell cellOf(sqlite3_stmt* stmt) {
    Cell c;
    c.type = sqlite3_column_type(stmt, 0);
    switch (c.type) {
      case SQLITE_NULL:
        c.text = "NULL";
        break;
      case SQLITE_BLOB: {
        auto* p = static_cast<const unsigned char*>(sqlite3_column_blob(stmt, 0));
        int n = sqlite3_column_bytes(stmt, 0);
        static const char* kHex = "0123456789ABCDEF";
        for (int i = 0; i < n; ++i) {
          c.text += kHex[p[i] >> 4];
          c.text += kHex[p[i] & 15];
        }
        break;
      }
      default:
        c.text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
    }
    return c;
  }

  template <class F>
  int code(F&& f) {
    return test::oraCode(f);
  }

  sqlite3* db_ = nullptr;
  SessionValues session_;
  int64_t now_ = OraDate{2024, 6, 15, 10, 20, 30}.toSeconds();
};

const int64_t k2000 = 946684800;  // 2000-01-01 00:00:00

TEST_F(OracleSqlFunctionsTest, ConversionsProduceTheStorageTypes) {
  EXPECT_EQ(one("ora_num_text(1.5)"), text("1.5"));
  EXPECT_EQ(one("ora_num_text(-0.5)"), text("-.5"));
  EXPECT_EQ(one("ora_num_text(0.1 + 0.2)"), text(".3"));
  EXPECT_EQ(one("ora_date_text(946684800)"), text("01-JAN-00"));
  EXPECT_EQ(one("ora_to_date('2000-01-01', 'YYYY-MM-DD')"), integer(k2000));
  EXPECT_EQ(one("ora_text_to_date('01-JAN-2000')"), integer(k2000));
  EXPECT_EQ(one("ora_to_date('01-JAN-00')"), integer(k2000));
  EXPECT_EQ(one("ora_to_number('1,234.5', '9,999.9')"), real("1234.5"));
  EXPECT_EQ(one("ora_to_number('12')"), integer(12));
  EXPECT_EQ(one("ora_to_num('  42 ')"), integer(42));
  EXPECT_EQ(one("ora_to_num('   ')"), kNull);
  EXPECT_EQ(one("ora_to_num(2.0)"), integer(2));
  EXPECT_EQ(one("ora_num(2.0)"), integer(2));
  EXPECT_EQ(one("ora_num_to_char(1234.5, '$9,999.99')"), text(" $1,234.50"));
  EXPECT_EQ(one("ora_date_to_char(0, 'YYYY-MM-DD HH24:MI')"), text("1970-01-01 00:00"));
  EXPECT_EQ(one("ora_to_date(20000101, 'YYYYMMDD')"), integer(k2000));
}

TEST_F(OracleSqlFunctionsTest, NlsDateFormatDrivesImplicitConversions) {
  session_.setDateFormat("YYYY-MM-DD HH24:MI:SS");
  EXPECT_EQ(one("ora_date_text(946684800)"), text("2000-01-01 00:00:00"));
  EXPECT_EQ(one("ora_text_to_date('2000-01-01 00:00:00')"), integer(k2000));
  EXPECT_EQ(one("ora_date_add('2000-01-01 00:00:00', 1)"), integer(k2000 + 86400));
  EXPECT_EQ(code([this] { session_.setDateFormat("YYYY-MM-DDTHH"); }), 1821);
  EXPECT_EQ(session_.nls().dateFormat, "YYYY-MM-DD HH24:MI:SS");
}

TEST_F(OracleSqlFunctionsTest, ArithmeticKeepsIntegersIntegral) {
  EXPECT_EQ(one("ora_div(7, 2)"), real("3.5"));
  EXPECT_EQ(one("ora_div(6, 3)"), integer(2));
  EXPECT_EQ(one("ora_add(0.5, 0.5)"), integer(1));
  EXPECT_EQ(one("ora_add(0.1, 0.2) = 0.3"), integer(1));
  EXPECT_EQ(one("ora_mul(9223372036854775807, 2)"), real("1.84467440737096e+19"));
  EXPECT_EQ(one("ora_sub(5, 7)"), integer(-2));
  EXPECT_EQ(one("ora_neg(-3)"), integer(3));
  EXPECT_EQ(one("ora_add(NULL, 1)"), kNull);
  EXPECT_EQ(one("ora_abs('-5')"), integer(5));
}

TEST_F(OracleSqlFunctionsTest, DateArithmetic) {
  EXPECT_EQ(one("ora_date_add(946684800, 0.5)"), integer(k2000 + 43200));
  EXPECT_EQ(one("ora_date_sub(946684800, 1)"), integer(k2000 - 86400));
  EXPECT_EQ(one("ora_date_diff(946684800 + 129600, 946684800)"), real("1.5"));
  EXPECT_EQ(one("ora_date_diff(946684800 + 86400, 946684800)"), integer(1));
  EXPECT_EQ(one("ora_date_text(ora_add_months(ora_to_date('31-01-2000', 'DD-MM-YYYY'), 1))"),
            text("29-FEB-00"));
  EXPECT_EQ(one("ora_months_between(ora_to_date('02-02-1995','DD-MM-YYYY'), "
                "ora_to_date('01-01-1995','DD-MM-YYYY'))"),
            real("1.03225806451613"));
  EXPECT_EQ(one("ora_date_text(ora_last_day(946684800))"), text("31-JAN-00"));
  EXPECT_EQ(one("ora_trunc_date(946684800 + 50000)"), integer(k2000));
  EXPECT_EQ(one("ora_date_text(ora_round_date(ora_to_date('16-01-2000','DD-MM-YYYY'), 'MM'))"),
            text("01-FEB-00"));
}

TEST_F(OracleSqlFunctionsTest, EmptyResultsAreNull) {
  EXPECT_EQ(one("ora_substr('abc', 5)"), kNull);
  EXPECT_EQ(one("ora_concat(NULL, NULL)"), kNull);
  EXPECT_EQ(one("ora_concat('a', NULL)"), text("a"));
  EXPECT_EQ(one("ora_concat(NULL, 'b')"), text("b"));
  EXPECT_EQ(one("ora_concat('a', 1)"), text("a1"));
  EXPECT_EQ(one("ora_text_to_char('')"), kNull);
  EXPECT_EQ(one("ora_replace('aaa', 'a')"), kNull);
  EXPECT_EQ(one("ora_replace('abc', NULL, 'x')"), text("abc"));
  EXPECT_EQ(one("ora_trim('   ')"), kNull);
  EXPECT_EQ(one("ora_upper('')"), kNull);
  EXPECT_EQ(one("ora_length('')"), kNull);
  EXPECT_EQ(one("ora_lpad('abc', 0)"), kNull);
  EXPECT_EQ(one("ora_hextoraw('')"), kNull);
}

TEST_F(OracleSqlFunctionsTest, NullArgumentsGiveNull) {
  for (const char* call :
       {"ora_substr(NULL, 1)", "ora_substr('a', NULL)", "ora_substr('a', 1, NULL)",
        "ora_lpad('a', NULL)", "ora_lpad('a', 3, NULL)", "ora_instr('a', NULL)",
        "ora_num_to_char(1, NULL)", "ora_date_to_char(NULL, 'YYYY')", "ora_to_date(NULL)",
        "ora_round_num(1.5, NULL)", "ora_mod(NULL, 2)", "ora_ltrim('a', NULL)",
        "ora_trim_leading('a', NULL)", "ora_like(NULL, 'a')", "ora_add_months(NULL, 1)",
        "ora_fit_number(NULL, 5, 2, 'c')", "ora_rowid_text(1, 2, NULL, 4)", "ora_chr(NULL)"})
    EXPECT_EQ(one(call), kNull) << call;
}

TEST_F(OracleSqlFunctionsTest, CharacterFunctions) {
  EXPECT_EQ(one("ora_substr('ABCDEFG', -3, 2)"), text("EF"));
  EXPECT_EQ(one("ora_substr(12345, 2, 3)"), text("234"));
  EXPECT_EQ(one("ora_instr('CORPORATE FLOOR', 'OR')"), integer(2));
  EXPECT_EQ(one("ora_instr('CORPORATE FLOOR', 'OR', 3)"), integer(5));
  EXPECT_EQ(one("ora_instr('CORPORATE FLOOR', 'OR', -3, 2)"), integer(2));
  EXPECT_EQ(one("ora_length('abc')"), integer(3));
  EXPECT_EQ(one("ora_initcap('hello wORLD')"), text("Hello World"));
  EXPECT_EQ(one("ora_lpad('7', 3, '0')"), text("007"));
  EXPECT_EQ(one("ora_rpad('abcdef', 2)"), text("ab"));
  EXPECT_EQ(one("ora_ltrim('xxabc', 'x')"), text("abc"));
  EXPECT_EQ(one("ora_rtrim('abc  ')"), text("abc"));
  EXPECT_EQ(one("ora_trim_leading('000123', '0')"), text("123"));
  EXPECT_EQ(one("ora_trim_trailing('123000', '0')"), text("123"));
  EXPECT_EQ(one("ora_trim('xabcx', 'x')"), text("abc"));
  EXPECT_EQ(one("ora_replace('JACK and JUE', 'J', 'BL')"), text("BLACK and BLUE"));
  EXPECT_EQ(one("ora_chr(65)"), text("A"));
  EXPECT_EQ(one("ora_ascii('A')"), integer(65));
  EXPECT_EQ(one("ora_like('SMITH', 'S%')"), integer(1));
  EXPECT_EQ(one("ora_like('smith', 'S%')"), integer(0));
  EXPECT_EQ(one("ora_like('10%', '10!%', '!')"), integer(1));
}

TEST_F(OracleSqlFunctionsTest, NumericFunctions) {
  EXPECT_EQ(one("ora_round_num(2.675, 2)"), real("2.68"));
  EXPECT_EQ(one("ora_round_num(1234.5678, -2)"), integer(1200));
  EXPECT_EQ(one("ora_round_num(2.5)"), integer(3));
  EXPECT_EQ(one("ora_trunc_num(-1.9)"), integer(-1));
  EXPECT_EQ(one("ora_mod(-11, 4)"), integer(-3));
  EXPECT_EQ(one("ora_mod(11, 0)"), integer(11));
  EXPECT_EQ(one("ora_power(2, 10)"), integer(1024));
  EXPECT_EQ(one("ora_sqrt(16)"), integer(4));
  EXPECT_EQ(one("ora_sign(-2.5)"), integer(-1));
  EXPECT_EQ(one("ora_floor(-1.5)"), integer(-2));
  EXPECT_EQ(one("ora_ceil(1.2)"), integer(2));
}

TEST_F(OracleSqlFunctionsTest, GreatestAndLeastAreSqliteMaxAndMin) {
  // Oracle's GREATEST/LEAST give NULL when any argument is NULL; so do
  // SQLite's multi-argument max() and min().
  EXPECT_EQ(one("max(1, NULL, 3)"), kNull);
  EXPECT_EQ(one("min(3, NULL)"), kNull);
  EXPECT_EQ(one("max(1, 3, 2)"), integer(3));
  EXPECT_EQ(one("min(2.5, 1, 3)"), integer(1));
  EXPECT_EQ(one("max('apple', 'banana')"), text("banana"));
  EXPECT_EQ(one("max('a', 'B')"), text("a"));  // binary order, as Oracle's BINARY sort
}

TEST_F(OracleSqlFunctionsTest, StorageEnforcement) {
  EXPECT_EQ(one("ora_fit_number(2.5, 3, 0, '\"S\".\"T\".\"N\"')"), integer(3));
  EXPECT_EQ(one("ora_fit_number(123.456, 5, 2, '\"S\".\"T\".\"N\"')"), real("123.46"));
  EXPECT_EQ(one("ora_fit_number('42', 5, 0, '\"S\".\"T\".\"N\"')"), integer(42));
  EXPECT_EQ(one("ora_fit_float(1.23456789, 10, '\"S\".\"T\".\"F\"')"), real("1.235"));
  EXPECT_EQ(one("ora_fit_text('abc', 3, '\"S\".\"T\".\"V\"')"), text("abc"));
  EXPECT_EQ(one("ora_fit_text('', 3, '\"S\".\"T\".\"V\"')"), kNull);
  EXPECT_EQ(one("ora_fit_text(12.5, 4, '\"S\".\"T\".\"V\"')"), text("12.5"));
  EXPECT_EQ(one("ora_fit_char('ab', 4, '\"S\".\"T\".\"C\"')"), text("ab  "));
  EXPECT_EQ(one("ora_fit_raw('0A0B', 2, '\"S\".\"T\".\"R\"')"), blob("0A0B"));
  EXPECT_EQ(one("ora_fit_raw(x'0A0B', 2, '\"S\".\"T\".\"R\"')"), blob("0A0B"));
  EXPECT_EQ(one("ora_fit_date(946684800)"), integer(k2000));
}

TEST_F(OracleSqlFunctionsTest, RowidAndRaw) {
  EXPECT_EQ(one("ora_rowid_text(116, 1, 929, 0)"), text("AAAAB0AABAAAAOhAAA"));
  EXPECT_EQ(one("ora_rowid_object('AAAAB0AABAAAAOhAAA')"), integer(116));
  EXPECT_EQ(one("ora_rowid_file('AAAAB0AABAAAAOhAAA')"), integer(1));
  EXPECT_EQ(one("ora_rowid_block('AAAAB0AABAAAAOhAAA')"), integer(929));
  EXPECT_EQ(one("ora_rowid_row('AAAAB0AABAAAAOhAAA')"), integer(0));
  EXPECT_EQ(one("ora_rowid_check('AAAAB0AABAAAAOhAAA')"), text("AAAAB0AABAAAAOhAAA"));
  EXPECT_EQ(one("ora_rawtohex(x'01AB')"), text("01AB"));
  EXPECT_EQ(one("ora_rawtohex('01ab')"), text("01AB"));
  EXPECT_EQ(one("ora_hextoraw('01ab')"), blob("01AB"));
}

TEST_F(OracleSqlFunctionsTest, ErrorsLeaveStepWithTheirOraError) {
  struct Case {
    const char* sql;
    const char* message;
  };
  const Case cases[] = {
      {"ora_div(1, 0)", "ORA-01476: divisor is equal to zero"},
      {"ora_to_number('abc')", "ORA-01722: invalid number"},
      {"ora_to_num('1x')", "ORA-01722: invalid number"},
      {"ora_to_date('31-02-2000', 'DD-MM-YYYY')", "ORA-01839: date not valid for month specified"},
      {"ora_to_date('2000', 'CC')", "ORA-01820: format code cannot appear in date input format"},
      {"ora_num_to_char(1, '9.9.9')", "ORA-01481: invalid number format model"},
      {"ora_date_to_char(0, 'XYZ')", "ORA-01821: date format not recognized"},
      {"ora_fit_number(123.456, 4, 2, '\"SCOTT\".\"T\".\"N\"')",
       "ORA-01438: value larger than specified precision allowed for this column"},
      {"ora_fit_text('toolong', 3, '\"SCOTT\".\"T\".\"V\"')",
       "ORA-12899: value too large for column \"SCOTT\".\"T\".\"V\" (actual: 7, maximum: 3)"},
      {"ora_rowid_object('bad')", "ORA-01410: invalid ROWID"},
      {"ora_sqrt(-1)", "ORA-01428: argument '-1' is out of range"},
      {"ora_abs(x'01')", "ORA-00932: inconsistent datatypes: expected NUMBER got BINARY"},
      {"ora_hextoraw('XY')", "ORA-01465: invalid hex number"},
      {"ora_date_add(253402300799, 1)",
       "ORA-01841: (full) year must be between -4713 and +9999, and not be 0"},
      {"ora_trunc_date(0, 'XX')", "ORA-01899: bad precision specifier"},
      {"ora_trim('abc', 'ab')", "ORA-30001: trim set should have only one character"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(test::oraText([&] { one(c.sql); }), c.message) << c.sql;
    EXPECT_FALSE(session_.hasPendingError()) << c.sql;
  }
}

TEST_F(OracleSqlFunctionsTest, ErrorInTheMiddleOfAScanKeepsTheRowsBeforeIt) {
  exec("CREATE TABLE t(x); INSERT INTO t VALUES (1), (2), (0), (5);");
  session_.clearPendingError();
  sqlite3_stmt* stmt = nullptr;
  ASSERT_EQ(
      sqlite3_prepare_v2(db_, "SELECT ora_div(10, x) FROM t ORDER BY rowid", -1, &stmt, nullptr),
      SQLITE_OK);
  EXPECT_EQ(sqlite3_step(stmt), SQLITE_ROW);
  EXPECT_EQ(sqlite3_column_int64(stmt, 0), 10);
  EXPECT_EQ(sqlite3_step(stmt), SQLITE_ROW);
  EXPECT_EQ(sqlite3_column_int64(stmt, 0), 5);
  EXPECT_EQ(sqlite3_step(stmt), SQLITE_ERROR);
  EXPECT_STREQ(sqlite3_errmsg(db_), "ORA-01476: divisor is equal to zero");
  ASSERT_TRUE(session_.hasPendingError());
  try {
    session_.rethrowPendingError();
    ADD_FAILURE() << "no error rethrown";
  } catch (const OraError& e) {
    EXPECT_EQ(e.code(), 1476);
    EXPECT_EQ(e.message(), "ORA-01476: divisor is equal to zero");
  }
  sqlite3_finalize(stmt);
  // The slot is empty again and the connection works on.
  EXPECT_FALSE(session_.hasPendingError());
  session_.rethrowPendingError();  // nothing pending: returns
  EXPECT_EQ(one("ora_div(10, 4)"), real("2.5"));
}

TEST_F(OracleSqlFunctionsTest, TheFirstPendingErrorWins) {
  session_.setPendingError(OraError(1476, oraMessage(1476)));
  session_.setPendingError(OraError(1722, oraMessage(1722)));
  EXPECT_EQ(code([this] { session_.rethrowPendingError(); }), 1476);
  EXPECT_FALSE(session_.hasPendingError());
}

TEST_F(OracleSqlFunctionsTest, FormatModelsPerRowAndConstant) {
  exec(
      "CREATE TABLE f(d, fmt); "
      "INSERT INTO f VALUES (946684800, 'YYYY'), (946684800, 'MON'), (946684800, 'YYYY'), "
      "(0, 'DD.MM.YYYY'), (0, 'YYYY');");
  std::vector<Cell> perRow = column("SELECT ora_date_to_char(d, fmt) FROM f ORDER BY rowid");
  EXPECT_EQ(perRow, (std::vector<Cell>{text("2000"), text("JAN"), text("2000"), text("01.01.1970"),
                                       text("1970")}));
  std::vector<Cell> constant = column(
      "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 999) "
      "SELECT ora_num_to_char(i, '0000') FROM n");
  ASSERT_EQ(constant.size(), 1000u);
  EXPECT_EQ(constant[7], text(" 0007"));
  EXPECT_EQ(constant[999], text(" 0999"));
}

TEST_F(OracleSqlFunctionsTest, SysdateFollowsTheClockUnlessPinned) {
  EXPECT_EQ(one("ora_sysdate()"), integer(now_));
  now_ += 5;
  EXPECT_EQ(one("ora_sysdate()"), integer(now_));
  session_.pinSysdate();
  int64_t pinned = now_;
  now_ += 100;
  EXPECT_EQ(one("ora_sysdate()"), integer(pinned));
  session_.unpinSysdate();
  EXPECT_EQ(one("ora_sysdate()"), integer(now_));
  // Missing TO_DATE fields default from the session's clock.
  EXPECT_EQ(one("ora_date_text(ora_to_date('15', 'DD'))"), text("15-JUN-24"));
}

TEST_F(OracleSqlFunctionsTest, LocalTimeIsAValidDate) {
  SessionValues plain;
  EXPECT_TRUE(OraDate::fromSeconds(plain.sysdate()).isValid());
  EXPECT_GT(plain.sysdate(), (OraDate{2020, 1, 1, 0, 0, 0}.toSeconds()));
}

}  // namespace
}  // namespace vorn::server
