// The Oracle SQL functions as SQLite functions: argument conversion,
// results, error carrying and registration. The semantics live in the
// value files; this file only adapts them. See SqlFunctions.h for the table.
#include "value/SqlFunctions.h"

#include <sqlite3.h>

#include <cmath>
#include <new>
#include <string>

#include "value/DateFunctions.h"
#include "value/NumberFunctions.h"
#include "value/OraDate.h"
#include "value/OraError.h"
#include "value/OraNumber.h"
#include "value/RawHex.h"
#include "value/RowidText.h"
#include "value/SessionValues.h"
#include "value/StorageFit.h"
#include "value/StringFunctions.h"

namespace vorn::server {
namespace {

using Args = sqlite3_value**;

SessionValues& sessionOf(sqlite3_context* ctx) {
  return *static_cast<SessionValues*>(sqlite3_user_data(ctx));
}

// Output buffer reused across calls (sessions run on one thread at a time,
// and SQLite copies results before the next call).
std::string& scratch() {
  thread_local std::string buffer;
  buffer.clear();
  return buffer;
}

// ---- Arguments ---------------------------------------------------------------

// An argument as character data: TEXT as it is, numbers in their text form,
// RAW in hexadecimal (Oracle's implicit conversions). Empty means NULL.
class TextArg {
 public:
  explicit TextArg(sqlite3_value* v) {
    switch (sqlite3_value_type(v)) {
      case SQLITE_TEXT: {
        auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
        view_ = std::string_view(p, static_cast<size_t>(sqlite3_value_bytes(v)));
        break;
      }
      case SQLITE_INTEGER:
        view_ = std::string_view(buf_, numberToText(OraNumber(sqlite3_value_int64(v)), buf_));
        break;
      case SQLITE_FLOAT:
        view_ = std::string_view(
            buf_, numberToText(OraNumber::fromDouble(sqlite3_value_double(v)), buf_));
        break;
      case SQLITE_BLOB: {
        auto* p = static_cast<const char*>(sqlite3_value_blob(v));
        owned_ = rawToHex(std::string_view(p, static_cast<size_t>(sqlite3_value_bytes(v))));
        view_ = owned_;
        break;
      }
      default:
        break;
    }
  }
  TextArg(const TextArg&) = delete;
  TextArg& operator=(const TextArg&) = delete;

  bool isNull() const { return view_.empty(); }
  std::string_view view() const { return view_; }

 private:
  char buf_[kNumberTextMax];
  std::string owned_;
  std::string_view view_;
};

// A NUMBER argument; false for NULL (and for blank text, which is NULL).
bool numberArg(sqlite3_value* v, OraNumber& out) {
  switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
      out = OraNumber(sqlite3_value_int64(v));
      return true;
    case SQLITE_FLOAT:
      out = OraNumber::fromDouble(sqlite3_value_double(v));
      return true;
    case SQLITE_TEXT: {
      auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
      std::string_view text(p, static_cast<size_t>(sqlite3_value_bytes(v)));
      if (isBlankText(text)) return false;
      out = textToNumber(text);
      return true;
    }
    case SQLITE_BLOB:
      raiseOra(932, {"NUMBER", "BINARY"});
    default:
      return false;
  }
}

bool intArg(sqlite3_value* v, int64_t& out) {
  OraNumber n;
  if (!numberArg(v, n)) return false;
  out = n.truncToInt64();
  return true;
}

// A DATE argument; text is read with NLS_DATE_FORMAT.
bool dateArg(sqlite3_context* ctx, sqlite3_value* v, int64_t& out) {
  switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
      out = sqlite3_value_int64(v);
      return true;
    case SQLITE_FLOAT: {
      double d = sqlite3_value_double(v);
      if (!(std::fabs(d) < 9e18)) raiseOra(1841);
      out = std::llround(d);
      return true;
    }
    case SQLITE_TEXT: {
      auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
      std::string_view text(p, static_cast<size_t>(sqlite3_value_bytes(v)));
      if (text.empty()) return false;
      out = sessionOf(ctx).textToDate(text);
      return true;
    }
    case SQLITE_BLOB:
      raiseOra(932, {"DATE", "BINARY"});
    default:
      return false;
  }
}

// A compiled format model for argument `index`, kept by SQLite with the
// argument while it stays the same (constant models compile once per
// statement) and cached in the session otherwise.
template <class Model>
std::shared_ptr<const Model> modelArg(
    sqlite3_context* ctx, int index, std::string_view text,
    std::shared_ptr<const Model> (SessionValues::*lookup)(std::string_view)) {
  using Holder = std::shared_ptr<const Model>;
  auto* held = static_cast<Holder*>(sqlite3_get_auxdata(ctx, index));
  if (held && (*held)->model() == text) return *held;
  Holder model = (sessionOf(ctx).*lookup)(text);
  sqlite3_set_auxdata(ctx, index, new Holder(model),
                      [](void* p) { delete static_cast<Holder*>(p); });
  return model;
}

// ---- Results -----------------------------------------------------------------

void resultNumber(sqlite3_context* ctx, OraNumber n) {
  if (n.isInteger())
    sqlite3_result_int64(ctx, n.integer());
  else
    sqlite3_result_double(ctx, n.toDouble());
}

void resultInt(sqlite3_context* ctx, std::optional<int64_t> v) {
  if (v) sqlite3_result_int64(ctx, *v);
}

// A result past SQLite's length limit (a REPLACE that multiplies a long
// text, say) fails like an over-long concatenation in Oracle.
void checkLength(sqlite3_context* ctx, size_t size) {
  int limit = sqlite3_limit(sqlite3_context_db_handle(ctx), SQLITE_LIMIT_LENGTH, -1);
  if (size > static_cast<size_t>(limit)) raiseOra(1489);
}

// Oracle has no empty string: '' is NULL.
void resultText(sqlite3_context* ctx, std::string_view s) {
  if (s.empty()) return;  // the default result is NULL
  checkLength(ctx, s.size());
  sqlite3_result_text(ctx, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
}

void resultRaw(sqlite3_context* ctx, std::string_view bytes) {
  if (bytes.empty()) return;
  checkLength(ctx, bytes.size());
  sqlite3_result_blob(ctx, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
}

void resultDate(sqlite3_context* ctx, int64_t date) {
  sqlite3_result_int64(ctx, date);
}

// ---- Conversions -------------------------------------------------------------

void numText(sqlite3_context* ctx, int, Args argv) {
  OraNumber n;
  if (!numberArg(argv[0], n)) return;
  char buf[kNumberTextMax];
  resultText(ctx, std::string_view(buf, numberToText(n, buf)));
}

void dateText(sqlite3_context* ctx, int, Args argv) {
  int64_t d;
  if (!dateArg(ctx, argv[0], d)) return;
  std::string& out = scratch();
  sessionOf(ctx).appendDateText(d, out);
  resultText(ctx, out);
}

void textToChar(sqlite3_context* ctx, int, Args argv) {
  TextArg t(argv[0]);
  resultText(ctx, t.view());
}

void numToChar(sqlite3_context* ctx, int, Args argv) {
  OraNumber n;
  TextArg fmt(argv[1]);
  if (!numberArg(argv[0], n) || fmt.isNull()) return;
  auto model = modelArg(ctx, 1, fmt.view(), &SessionValues::numberFormat);
  std::string& out = scratch();
  model->format(n, out);
  resultText(ctx, out);
}

void dateToChar(sqlite3_context* ctx, int, Args argv) {
  int64_t d;
  TextArg fmt(argv[1]);
  if (!dateArg(ctx, argv[0], d) || fmt.isNull()) return;
  auto model = modelArg(ctx, 1, fmt.view(), &SessionValues::dateFormat);
  std::string& out = scratch();
  model->format(OraDate::fromSeconds(d), out);
  resultText(ctx, out);
}

void toNum(sqlite3_context* ctx, int, Args argv) {
  OraNumber n;
  if (numberArg(argv[0], n)) resultNumber(ctx, n);
}

void toNumber(sqlite3_context* ctx, int argc, Args argv) {
  if (argc == 1) return toNum(ctx, argc, argv);
  TextArg text(argv[0]), fmt(argv[1]);
  if (text.isNull() || fmt.isNull()) return;
  auto model = modelArg(ctx, 1, fmt.view(), &SessionValues::numberFormat);
  resultNumber(ctx, model->parse(text.view()));
}

void textToDate(sqlite3_context* ctx, int, Args argv) {
  int64_t d;
  if (dateArg(ctx, argv[0], d)) resultDate(ctx, d);
}

void toDate(sqlite3_context* ctx, int argc, Args argv) {
  if (argc == 1) return textToDate(ctx, argc, argv);
  TextArg text(argv[0]), fmt(argv[1]);
  if (text.isNull() || fmt.isNull()) return;
  auto model = modelArg(ctx, 1, fmt.view(), &SessionValues::dateFormat);
  resultDate(ctx, sessionOf(ctx).textToDate(text.view(), *model));
}

// ---- Arithmetic --------------------------------------------------------------

template <OraNumber (*Op)(OraNumber, OraNumber)>
void binaryNumber(sqlite3_context* ctx, int, Args argv) {
  OraNumber a, b;
  if (numberArg(argv[0], a) && numberArg(argv[1], b)) resultNumber(ctx, Op(a, b));
}

template <OraNumber (*Op)(OraNumber)>
void unaryNumber(sqlite3_context* ctx, int, Args argv) {
  OraNumber a;
  if (numberArg(argv[0], a)) resultNumber(ctx, Op(a));
}

OraNumber add(OraNumber a, OraNumber b) {
  return a + b;
}
OraNumber sub(OraNumber a, OraNumber b) {
  return a - b;
}
OraNumber mul(OraNumber a, OraNumber b) {
  return a * b;
}
OraNumber divide(OraNumber a, OraNumber b) {
  return a / b;
}
OraNumber negate(OraNumber a) {
  return -a;
}
OraNumber identity(OraNumber a) {
  return a;
}

void dateAdd(sqlite3_context* ctx, int, Args argv) {
  int64_t d;
  OraNumber n;
  if (dateArg(ctx, argv[0], d) && numberArg(argv[1], n)) resultDate(ctx, addDays(d, n));
}

void dateSub(sqlite3_context* ctx, int, Args argv) {
  int64_t d;
  OraNumber n;
  if (dateArg(ctx, argv[0], d) && numberArg(argv[1], n)) resultDate(ctx, addDays(d, -n));
}

void dateDiff(sqlite3_context* ctx, int, Args argv) {
  int64_t a, b;
  if (dateArg(ctx, argv[0], a) && dateArg(ctx, argv[1], b)) resultNumber(ctx, daysBetween(a, b));
}

// ---- Character ---------------------------------------------------------------

void concatFn(sqlite3_context* ctx, int, Args argv) {
  TextArg a(argv[0]), b(argv[1]);
  if (b.isNull()) return resultText(ctx, a.view());
  if (a.isNull()) return resultText(ctx, b.view());
  std::string& out = scratch();
  out.append(a.view());
  out.append(b.view());
  resultText(ctx, out);
}

void substrFn(sqlite3_context* ctx, int argc, Args argv) {
  TextArg s(argv[0]);
  int64_t pos, len;
  if (s.isNull() || !intArg(argv[1], pos)) return;
  if (argc < 3) return resultText(ctx, substr(s.view(), pos));
  if (!intArg(argv[2], len)) return;
  resultText(ctx, substr(s.view(), pos, len));
}

void instrFn(sqlite3_context* ctx, int argc, Args argv) {
  TextArg s(argv[0]), sub(argv[1]);
  int64_t pos = 1, occurrence = 1;
  if (s.isNull() || sub.isNull()) return;
  if (argc >= 3 && !intArg(argv[2], pos)) return;
  if (argc >= 4 && !intArg(argv[3], occurrence)) return;
  resultInt(ctx, instr(s.view(), sub.view(), pos, occurrence));
}

void lengthFn(sqlite3_context* ctx, int, Args argv) {
  TextArg s(argv[0]);
  resultInt(ctx, length(s.view()));
}

template <std::string (*Fn)(std::string_view)>
void mapText(sqlite3_context* ctx, int, Args argv) {
  TextArg s(argv[0]);
  if (!s.isNull()) resultText(ctx, Fn(s.view()));
}

template <std::string (*Fn)(std::string_view, int64_t, std::string_view)>
void padFn(sqlite3_context* ctx, int argc, Args argv) {
  TextArg s(argv[0]);
  int64_t n;
  if (s.isNull() || !intArg(argv[1], n)) return;
  if (argc < 3) return resultText(ctx, Fn(s.view(), n, " "));
  TextArg padText(argv[2]);
  if (!padText.isNull()) resultText(ctx, Fn(s.view(), n, padText.view()));
}

template <std::string_view (*Fn)(std::string_view, std::string_view)>
void trimSetFn(sqlite3_context* ctx, int argc, Args argv) {
  TextArg s(argv[0]);
  if (s.isNull()) return;
  if (argc < 2) return resultText(ctx, Fn(s.view(), " "));
  TextArg set(argv[1]);
  if (!set.isNull()) resultText(ctx, Fn(s.view(), set.view()));
}

template <TrimSide Side>
void trimFn(sqlite3_context* ctx, int argc, Args argv) {
  TextArg s(argv[0]);
  if (s.isNull()) return;
  if (argc < 2) return resultText(ctx, trim(s.view(), Side, " "));
  TextArg c(argv[1]);
  if (!c.isNull()) resultText(ctx, trim(s.view(), Side, c.view()));
}

void replaceFn(sqlite3_context* ctx, int argc, Args argv) {
  TextArg s(argv[0]), search(argv[1]);
  if (s.isNull()) return;
  if (argc < 3) return resultText(ctx, replace(s.view(), search.view()));
  TextArg replacement(argv[2]);
  resultText(ctx, replace(s.view(), search.view(), replacement.view()));
}

void chrFn(sqlite3_context* ctx, int, Args argv) {
  int64_t code;
  if (intArg(argv[0], code)) resultText(ctx, chr(code));
}

void asciiFn(sqlite3_context* ctx, int, Args argv) {
  TextArg s(argv[0]);
  resultInt(ctx, ascii(s.view()));
}

void likeFn(sqlite3_context* ctx, int argc, Args argv) {
  TextArg s(argv[0]), pattern(argv[1]);
  if (s.isNull() || pattern.isNull()) return;
  std::string_view escape;
  std::optional<TextArg> esc;
  if (argc >= 3) {
    esc.emplace(argv[2]);
    if (esc->isNull()) return;
    escape = esc->view();
  }
  sqlite3_result_int(ctx, like(s.view(), pattern.view(), escape) ? 1 : 0);
}

// ---- Numeric -----------------------------------------------------------------

template <OraNumber (*Fn)(OraNumber, int64_t)>
void roundingFn(sqlite3_context* ctx, int argc, Args argv) {
  OraNumber n;
  int64_t digits = 0;
  if (!numberArg(argv[0], n)) return;
  if (argc >= 2 && !intArg(argv[1], digits)) return;
  resultNumber(ctx, Fn(n, digits));
}

// ---- Dates -------------------------------------------------------------------

void addMonthsFn(sqlite3_context* ctx, int, Args argv) {
  int64_t d;
  OraNumber n;
  if (dateArg(ctx, argv[0], d) && numberArg(argv[1], n)) resultDate(ctx, addMonths(d, n));
}

void monthsBetweenFn(sqlite3_context* ctx, int, Args argv) {
  int64_t a, b;
  if (dateArg(ctx, argv[0], a) && dateArg(ctx, argv[1], b)) resultNumber(ctx, monthsBetween(a, b));
}

void lastDayFn(sqlite3_context* ctx, int, Args argv) {
  int64_t d;
  if (dateArg(ctx, argv[0], d)) resultDate(ctx, lastDay(d));
}

template <int64_t (*Fn)(int64_t, std::string_view)>
void dateUnitFn(sqlite3_context* ctx, int argc, Args argv) {
  int64_t d;
  if (!dateArg(ctx, argv[0], d)) return;
  if (argc < 2) return resultDate(ctx, Fn(d, "DD"));
  TextArg unit(argv[1]);
  if (!unit.isNull()) resultDate(ctx, Fn(d, unit.view()));
}

void sysdateFn(sqlite3_context* ctx, int, Args) {
  resultDate(ctx, sessionOf(ctx).sysdate());
}

// ---- RAW ---------------------------------------------------------------------

// RAW argument bytes: BLOB as it is, character data as hexadecimal.
bool rawArg(sqlite3_value* v, std::string& out) {
  if (sqlite3_value_type(v) == SQLITE_BLOB) {
    auto* p = static_cast<const char*>(sqlite3_value_blob(v));
    out.assign(p, static_cast<size_t>(sqlite3_value_bytes(v)));
    return !out.empty();
  }
  TextArg t(v);
  if (t.isNull()) return false;
  out = hexToRaw(t.view());
  return true;
}

void rawToHexFn(sqlite3_context* ctx, int, Args argv) {
  std::string raw;
  if (rawArg(argv[0], raw)) resultText(ctx, rawToHex(raw));
}

void hexToRawFn(sqlite3_context* ctx, int, Args argv) {
  std::string raw;
  if (rawArg(argv[0], raw)) resultRaw(ctx, raw);
}

// ---- Column storage ----------------------------------------------------------

void fitNumberFn(sqlite3_context* ctx, int, Args argv) {
  OraNumber v;
  if (!numberArg(argv[0], v)) return;
  int64_t p = sqlite3_value_int64(argv[1]), s = sqlite3_value_int64(argv[2]);
  resultNumber(ctx, fitNumber(v, static_cast<int>(p), static_cast<int>(s)));
}

void fitFloatFn(sqlite3_context* ctx, int, Args argv) {
  OraNumber v;
  if (!numberArg(argv[0], v)) return;
  resultNumber(ctx, fitFloat(v, static_cast<int>(sqlite3_value_int64(argv[1]))));
}

std::string_view columnArg(sqlite3_value* v) {
  auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
  return p ? std::string_view(p, static_cast<size_t>(sqlite3_value_bytes(v))) : std::string_view();
}

void fitTextFn(sqlite3_context* ctx, int, Args argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_TEXT) {
    // Text that fits is the result as it is: SQLite passes a bound text on
    // without copying it.
    int64_t length = sqlite3_value_bytes(argv[0]);
    if (length == 0) return;
    int64_t maxLength = sqlite3_value_int64(argv[1]);
    if (length > maxLength) {
      auto* p = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
      fitText(std::string_view(p, static_cast<size_t>(length)), maxLength, columnArg(argv[2]));
    }
    sqlite3_result_value(ctx, argv[0]);
    return;
  }
  TextArg v(argv[0]);
  if (v.isNull()) return;
  resultText(ctx, fitText(v.view(), sqlite3_value_int64(argv[1]), columnArg(argv[2])));
}

void fitCharFn(sqlite3_context* ctx, int, Args argv) {
  TextArg v(argv[0]);
  if (v.isNull()) return;
  resultText(ctx, fitChar(v.view(), sqlite3_value_int64(argv[1]), columnArg(argv[2])));
}

void fitRawFn(sqlite3_context* ctx, int, Args argv) {
  std::string raw;
  if (!rawArg(argv[0], raw)) return;
  fitRaw(raw, sqlite3_value_int64(argv[1]), columnArg(argv[2]));
  resultRaw(ctx, raw);
}

void fitDateFn(sqlite3_context* ctx, int, Args argv) {
  int64_t d;
  if (!dateArg(ctx, argv[0], d)) return;
  checkDateSeconds(d);
  resultDate(ctx, d);
}

// ---- ROWID -------------------------------------------------------------------

void rowidTextFn(sqlite3_context* ctx, int, Args argv) {
  for (int i = 0; i < 4; ++i)
    if (sqlite3_value_type(argv[i]) == SQLITE_NULL) return;
  RowidParts parts;
  parts.object = static_cast<uint64_t>(sqlite3_value_int64(argv[0]));
  parts.file = static_cast<uint64_t>(sqlite3_value_int64(argv[1]));
  parts.block = static_cast<uint64_t>(sqlite3_value_int64(argv[2]));
  parts.row = static_cast<uint64_t>(sqlite3_value_int64(argv[3]));
  char text[kRowidTextLength];
  rowidToText(parts, text);
  resultText(ctx, std::string_view(text, kRowidTextLength));
}

template <uint64_t RowidParts::*Part>
void rowidPartFn(sqlite3_context* ctx, int, Args argv) {
  TextArg t(argv[0]);
  if (t.isNull()) return;
  sqlite3_result_int64(ctx, static_cast<int64_t>(rowidFromText(t.view()).*Part));
}

void rowidCheckFn(sqlite3_context* ctx, int, Args argv) {
  TextArg t(argv[0]);
  if (t.isNull()) return;
  rowidFromText(t.view());
  resultText(ctx, t.view());
}

// ---- Registration ------------------------------------------------------------

using Function = void (*)(sqlite3_context*, int, Args);

// Every failure leaves as SQLITE_ERROR with the OraError kept in the session.
template <Function Fn>
void guarded(sqlite3_context* ctx, int argc, Args argv) {
  try {
    Fn(ctx, argc, argv);
  } catch (const OraError& e) {
    sessionOf(ctx).setPendingError(e);
    sqlite3_result_error(ctx, e.what(), -1);
  } catch (const std::bad_alloc&) {
    sqlite3_result_error_nomem(ctx);
  } catch (const std::exception& e) {
    OraError internal(600, oraMessage(600, {e.what()}));
    sessionOf(ctx).setPendingError(internal);
    sqlite3_result_error(ctx, internal.what(), -1);
  }
}

struct Registration {
  const char* name;
  int minArgs;
  int maxArgs;
  Function fn;
  bool deterministic = true;
};

const Registration kFunctions[] = {
    {"ora_num_text", 1, 1, guarded<numText>},
    {"ora_date_text", 1, 1, guarded<dateText>},
    {"ora_text_to_char", 1, 1, guarded<textToChar>},
    {"ora_num_to_char", 2, 2, guarded<numToChar>},
    {"ora_date_to_char", 2, 2, guarded<dateToChar>},
    {"ora_to_num", 1, 1, guarded<toNum>},
    {"ora_to_number", 1, 2, guarded<toNumber>},
    {"ora_text_to_date", 1, 1, guarded<textToDate>},
    {"ora_to_date", 1, 2, guarded<toDate>},
    {"ora_num", 1, 1, guarded<unaryNumber<identity>>},
    {"ora_add", 2, 2, guarded<binaryNumber<add>>},
    {"ora_sub", 2, 2, guarded<binaryNumber<sub>>},
    {"ora_mul", 2, 2, guarded<binaryNumber<mul>>},
    {"ora_div", 2, 2, guarded<binaryNumber<divide>>},
    {"ora_neg", 1, 1, guarded<unaryNumber<negate>>},
    {"ora_date_add", 2, 2, guarded<dateAdd>},
    {"ora_date_sub", 2, 2, guarded<dateSub>},
    {"ora_date_diff", 2, 2, guarded<dateDiff>},
    {"ora_concat", 2, 2, guarded<concatFn>},
    {"ora_substr", 2, 3, guarded<substrFn>},
    {"ora_instr", 2, 4, guarded<instrFn>},
    {"ora_length", 1, 1, guarded<lengthFn>},
    {"ora_upper", 1, 1, guarded<mapText<upper>>},
    {"ora_lower", 1, 1, guarded<mapText<lower>>},
    {"ora_initcap", 1, 1, guarded<mapText<initcap>>},
    {"ora_lpad", 2, 3, guarded<padFn<lpad>>},
    {"ora_rpad", 2, 3, guarded<padFn<rpad>>},
    {"ora_ltrim", 1, 2, guarded<trimSetFn<ltrim>>},
    {"ora_rtrim", 1, 2, guarded<trimSetFn<rtrim>>},
    {"ora_trim", 1, 2, guarded<trimFn<TrimSide::Both>>},
    {"ora_trim_leading", 1, 2, guarded<trimFn<TrimSide::Leading>>},
    {"ora_trim_trailing", 1, 2, guarded<trimFn<TrimSide::Trailing>>},
    {"ora_replace", 2, 3, guarded<replaceFn>},
    {"ora_chr", 1, 1, guarded<chrFn>},
    {"ora_ascii", 1, 1, guarded<asciiFn>},
    {"ora_like", 2, 3, guarded<likeFn>},
    {"ora_abs", 1, 1, guarded<unaryNumber<absNumber>>},
    {"ora_sign", 1, 1, guarded<unaryNumber<signNumber>>},
    {"ora_floor", 1, 1, guarded<unaryNumber<floorNumber>>},
    {"ora_ceil", 1, 1, guarded<unaryNumber<ceilNumber>>},
    {"ora_sqrt", 1, 1, guarded<unaryNumber<sqrtNumber>>},
    {"ora_round_num", 1, 2, guarded<roundingFn<roundNumber>>},
    {"ora_trunc_num", 1, 2, guarded<roundingFn<truncNumber>>},
    {"ora_mod", 2, 2, guarded<binaryNumber<modNumber>>},
    {"ora_power", 2, 2, guarded<binaryNumber<powerNumber>>},
    {"ora_add_months", 2, 2, guarded<addMonthsFn>},
    {"ora_months_between", 2, 2, guarded<monthsBetweenFn>},
    {"ora_last_day", 1, 1, guarded<lastDayFn>},
    {"ora_round_date", 1, 2, guarded<dateUnitFn<roundDate>>},
    {"ora_trunc_date", 1, 2, guarded<dateUnitFn<truncDate>>},
    {"ora_sysdate", 0, 0, guarded<sysdateFn>, false},
    {"ora_rawtohex", 1, 1, guarded<rawToHexFn>},
    {"ora_hextoraw", 1, 1, guarded<hexToRawFn>},
    {"ora_fit_number", 4, 4, guarded<fitNumberFn>},
    {"ora_fit_float", 3, 3, guarded<fitFloatFn>},
    {"ora_fit_text", 3, 3, guarded<fitTextFn>},
    {"ora_fit_char", 3, 3, guarded<fitCharFn>},
    {"ora_fit_raw", 3, 3, guarded<fitRawFn>},
    {"ora_fit_date", 1, 2, guarded<fitDateFn>},
    {"ora_rowid_text", 4, 4, guarded<rowidTextFn>},
    {"ora_rowid_object", 1, 1, guarded<rowidPartFn<&RowidParts::object>>},
    {"ora_rowid_file", 1, 1, guarded<rowidPartFn<&RowidParts::file>>},
    {"ora_rowid_block", 1, 1, guarded<rowidPartFn<&RowidParts::block>>},
    {"ora_rowid_row", 1, 1, guarded<rowidPartFn<&RowidParts::row>>},
    {"ora_rowid_check", 1, 1, guarded<rowidCheckFn>},
};

}  // namespace

void registerOracleFunctions(sqlite3* db, SessionValues* session) {
  for (const Registration& r : kFunctions) {
    int flags = SQLITE_UTF8 | SQLITE_INNOCUOUS | (r.deterministic ? SQLITE_DETERMINISTIC : 0);
    for (int n = r.minArgs; n <= r.maxArgs; ++n) {
      int rc = sqlite3_create_function_v2(db, r.name, n, flags, session, r.fn, nullptr, nullptr,
                                          nullptr);
      if (rc != SQLITE_OK) raiseOra(600, {"sqlite3_create_function", r.name, sqlite3_errstr(rc)});
    }
  }
}

}  // namespace vorn::server
