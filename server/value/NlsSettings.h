// A session's NLS parameters as far as the server's conversions use them.
// The date language is AMERICAN and the territory AMERICA (Sunday is day 1
// of the week); only the date format is changed by sessions in practice
// (ALTER SESSION SET NLS_DATE_FORMAT).
#pragma once

#include <string>

namespace vorn::server {

struct NlsSettings {
  std::string dateFormat = "DD-MON-RR";
  std::string dateLanguage = "AMERICAN";
  // Decimal character, then group separator (format elements D and G).
  std::string numericCharacters = ".,";
  std::string currency = "$";       // format element L (and U)
  std::string isoCurrency = "USD";  // format element C
};

}  // namespace vorn::server
