// The value context of one session: its NLS settings, its caches of
// compiled format models, its clock (SYSDATE) and the slot through which a
// SQL function's OraError leaves sqlite3_step intact.
//
// The engine owns one SessionValues per session and passes it to
// registerOracleFunctions; it must outlive the SQLite connection. Like the
// session, it is used by one thread at a time.
//
// Error carrying: a registered function that fails stores its OraError here
// (setPendingError) and reports SQLITE_ERROR to SQLite. The engine, on any
// SQLITE_ERROR from sqlite3_step (or sqlite3_reset), calls
// rethrowPendingError(), which throws the stored error (code, text) and
// clears the slot; when it returns, the error was SQLite's own. The engine
// calls clearPendingError() before it executes a statement so that a stale
// error is never attributed to the wrong statement.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "value/DateFormat.h"
#include "value/NlsSettings.h"
#include "value/NumberFormat.h"
#include "value/OraError.h"

namespace vorn::server {

class SessionValues {
 public:
  // Returns the current time as DATE seconds (local wall-clock time).
  using Clock = std::function<int64_t()>;

  SessionValues();
  explicit SessionValues(NlsSettings nls);
  SessionValues(const SessionValues&) = delete;
  SessionValues& operator=(const SessionValues&) = delete;

  const NlsSettings& nls() const { return nls_; }
  // ALTER SESSION SET NLS_DATE_FORMAT = 'model': raises ORA-01821 for a bad
  // model and then leaves the setting as it was.
  void setDateFormat(std::string_view model);
  const DateFormat& nlsDateFormat() const { return *nlsDateFormat_; }

  // Compiled format models, cached by their text (bad models raise
  // ORA-01821 / ORA-01481 and are not cached).
  std::shared_ptr<const DateFormat> dateFormat(std::string_view model);
  std::shared_ptr<const NumberFormat> numberFormat(std::string_view model);

  // The implicit DATE <-> text conversions (NLS_DATE_FORMAT).
  std::string dateToText(int64_t date) const;
  void appendDateText(int64_t date, std::string& out) const;
  // Blank text is NULL in Oracle: callers check isBlankText first.
  int64_t textToDate(std::string_view text) const;
  // TO_DATE(text, model): defaults and the RR rule use the session's clock.
  int64_t textToDate(std::string_view text, const DateFormat& model) const;

  // SYSDATE: the server's local time in whole seconds. Oracle gives every
  // row of one statement the same SYSDATE: the engine pins the time when an
  // execution starts (pinSysdate) and unpins it when the execution ends.
  int64_t sysdate() const;
  void pinSysdate();
  void unpinSysdate();
  // Replaces the clock (tests fix the time); an empty clock restores the
  // system's local time.
  void setClock(Clock clock);

  // Error carrying (see the top of this file). The first error stored
  // wins until it is taken or cleared.
  void setPendingError(const OraError& error);
  bool hasPendingError() const { return pending_.has_value(); }
  void clearPendingError() { pending_.reset(); }
  // Throws the pending error and clears it; returns when there is none.
  void rethrowPendingError();

 private:
  struct StringHash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  template <class T>
  using Cache =
      std::unordered_map<std::string, std::shared_ptr<const T>, StringHash, std::equal_to<>>;

  NlsSettings nls_;
  std::shared_ptr<const DateFormat> nlsDateFormat_;
  Cache<DateFormat> dateFormats_;
  Cache<NumberFormat> numberFormats_;
  Clock clock_;
  std::optional<int64_t> pinnedSysdate_;
  std::optional<OraError> pending_;
};

// The system's local time now, as DATE seconds.
int64_t localTimeNow();

}  // namespace vorn::server
