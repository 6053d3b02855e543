// The three languages of the translator. Each reads one statement from its
// scanner and returns the text its package's RESULT holds: Oracle SQL or
// PL/SQL framed by a leading result-kind comment, the tag that tells the
// caller how to run it:
//   /*:DS*/   a query, opened as a dataset
//   /*:INT*/  a block that assigns an integer to :res
//   /*:STR*/  a block that assigns a string to :res
//   /*:REF*/  a block that assigns a reference text to :res
#pragma once

#include <string>

#include "plsql/translator/ObjectModel.h"
#include "plsql/translator/Scanner.h"

namespace vorn::server::translator {

// select ... from class [where ...] [group by ...] [order by ...]
std::string translateVorn(const ObjectModel& model, Scanner& s);
// create class, drop class, alter class
std::string translateOddl(const ObjectModel& model, Scanner& s);
// insert into, update, delete from
std::string translateOdml(const ObjectModel& model, Scanner& s);

// The generated text framed by its tag: "/*:DS*/ select ...".
inline std::string tagged(const char* tag, const std::string& text) {
  return std::string("/*:") + tag + "*/ " + text;
}

}  // namespace vorn::server::translator
