// Oracle date format models (TO_CHAR(date, fmt), TO_DATE(text, fmt) and the
// NLS_DATE_FORMAT conversions). A model is compiled once into a list of
// elements and then used for both directions; SessionValues caches compiled
// models per session.
//
// Elements: AD BC A.D. B.C., AM PM A.M. P.M., CC SCC, D, DAY, DD, DDD, DY,
// HH HH12 HH24, IW, I IY IYY IYYY, J, MI, MM, MON, MONTH, Q, RM, RR RRRR,
// SS, SSSSS, W, WW, Y YY YYY YYYY SYYYY, Y,YYY, the modifiers FM (fill mode:
// no padding) and FX (exact matching on input), punctuation and "quoted
// text", and the suffixes TH, SP, SPTH/THSP on numeric elements. Character
// elements take their case from the model: MONTH, Month, month.
//
// TO_CHAR pads names to their longest form (MONTH to 9, DAY to 9) and
// numbers with leading zeros unless FM is in effect.
//
// TO_DATE follows Oracle's lenient rules unless FX is given: case does not
// matter, punctuation in the model matches any run of punctuation in the
// input (or none), numbers may come with fewer digits than the element's
// width, MON and MONTH accept both the short and the full name and MM a
// name too, YY and RR accept four-digit years as given. RR chooses the
// century from the current year (00-49 and 50-99 halves); YY and YYY take
// the current century and millennium. Missing fields default to the
// current year and month, day 1 and midnight. Input may end before the
// model as long as only time fields remain. Errors: ORA-01821 (bad model,
// at compile time), 01810 (element twice), 01820 (element not allowed on
// input: CC, Q, W, WW, IW, I...), 01830 (input left over), 01840 (input ends
// before a date field), 01841, 01843, 01846, 01847, 01839, 01849, 01850,
// 01851, 01852, 01855, 01858 (digit expected), 01861 (literal mismatch),
// 01862 (FX number width).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "value/OraDate.h"

namespace vorn::server {

class DateFormat {
 public:
  // Compiles `model`; raises ORA-01821 when it is not a date format.
  explicit DateFormat(std::string_view model);

  const std::string& model() const { return model_; }

  // TO_CHAR: appends the formatted date to `out`.
  void format(const OraDate& date, std::string& out) const;
  std::string format(const OraDate& date) const;
  std::string formatSeconds(int64_t seconds) const { return format(OraDate::fromSeconds(seconds)); }

  // TO_DATE: parses `text`; `now` supplies the defaults (current year and
  // month) and the current year of the RR rule.
  OraDate parse(std::string_view text, const OraDate& now) const;

  // One compiled element (implementation detail of the .cpp files).
  struct Element {
    enum class Kind : uint8_t {
      Literal,
      AdBc,
      AmPm,
      CC,
      SCC,
      D,
      Day,
      DD,
      DDD,
      DY,
      HH12,
      HH24,
      IW,
      I,
      IY,
      IYY,
      IYYY,
      J,
      MI,
      MM,
      Mon,
      Month,
      Q,
      RM,
      RR,
      RRRR,
      SS,
      SSSSS,
      W,
      WW,
      Y,
      YY,
      YYY,
      YYYY,
      SYYYY,
      YCommaYYY
    };
    enum class Case : uint8_t { Upper, Capitalized, Lower };
    Kind kind = Kind::Literal;
    Case letterCase = Case::Upper;
    bool fill = true;      // pad (FM not in effect)
    bool exact = false;    // FX in effect
    bool dots = false;     // A.D. / P.M. form
    bool quoted = false;   // literal came from "quoted text"
    bool ordinal = false;  // TH suffix
    bool spelled = false;  // SP suffix
    Case suffixCase = Case::Upper;
    std::string text;  // literal text
  };

 private:
  std::string model_;
  std::vector<Element> elements_;
};

}  // namespace vorn::server
