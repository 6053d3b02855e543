// A session's value context; see SessionValues.h.
#include "value/SessionValues.h"

#include <ctime>

#include "value/OraDate.h"

namespace vorn::server {
namespace {

// Bound on cached models per kind: generated SQL uses a handful, but a
// client that formats with ever new models must not grow the cache forever.
constexpr size_t kMaxCachedModels = 256;

}  // namespace

int64_t localTimeNow() {
  // localtime_r is slow (time zone rules, a lock); the answer only changes
  // once a second.
  thread_local std::time_t cachedTime = -1;
  thread_local int64_t cachedDate = 0;
  std::time_t t = std::time(nullptr);
  if (t == cachedTime) return cachedDate;
  std::tm local{};
  localtime_r(&t, &local);
  OraDate d;
  d.year = local.tm_year + 1900;
  d.month = local.tm_mon + 1;
  d.day = local.tm_mday;
  d.hour = local.tm_hour;
  d.minute = local.tm_min;
  d.second = local.tm_sec > 59 ? 59 : local.tm_sec;  // leap second
  cachedTime = t;
  cachedDate = d.toSeconds();
  return cachedDate;
}

SessionValues::SessionValues() : SessionValues(NlsSettings()) {}

SessionValues::SessionValues(NlsSettings nls)
    : nls_(std::move(nls)), nlsDateFormat_(std::make_shared<DateFormat>(nls_.dateFormat)) {}

void SessionValues::setDateFormat(std::string_view model) {
  auto compiled = std::make_shared<DateFormat>(model);  // raises before anything changes
  nls_.dateFormat = std::string(model);
  nlsDateFormat_ = std::move(compiled);
}

std::shared_ptr<const DateFormat> SessionValues::dateFormat(std::string_view model) {
  auto it = dateFormats_.find(model);
  if (it != dateFormats_.end()) return it->second;
  auto compiled = std::make_shared<const DateFormat>(model);
  if (dateFormats_.size() >= kMaxCachedModels) dateFormats_.clear();
  dateFormats_.emplace(std::string(model), compiled);
  return compiled;
}

std::shared_ptr<const NumberFormat> SessionValues::numberFormat(std::string_view model) {
  auto it = numberFormats_.find(model);
  if (it != numberFormats_.end()) return it->second;
  auto compiled = std::make_shared<const NumberFormat>(model, nls_);
  if (numberFormats_.size() >= kMaxCachedModels) numberFormats_.clear();
  numberFormats_.emplace(std::string(model), compiled);
  return compiled;
}

std::string SessionValues::dateToText(int64_t date) const {
  std::string out;
  appendDateText(date, out);
  return out;
}

void SessionValues::appendDateText(int64_t date, std::string& out) const {
  nlsDateFormat_->format(OraDate::fromSeconds(date), out);
}

int64_t SessionValues::textToDate(std::string_view text) const {
  return textToDate(text, *nlsDateFormat_);
}

int64_t SessionValues::textToDate(std::string_view text, const DateFormat& model) const {
  return model.parse(text, OraDate::fromSeconds(sysdate())).toSeconds();
}

int64_t SessionValues::sysdate() const {
  if (pinnedSysdate_) return *pinnedSysdate_;
  return clock_ ? clock_() : localTimeNow();
}

void SessionValues::pinSysdate() {
  pinnedSysdate_.reset();
  pinnedSysdate_ = sysdate();
}

void SessionValues::unpinSysdate() {
  pinnedSysdate_.reset();
}

void SessionValues::setClock(Clock clock) {
  clock_ = std::move(clock);
}

void SessionValues::setPendingError(const OraError& error) {
  if (!pending_) pending_ = error;
}

void SessionValues::rethrowPendingError() {
  if (!pending_) return;
  OraError error = std::move(*pending_);
  pending_.reset();
  throw error;
}

}  // namespace vorn::server
