// The object query translator, built into the server as PL/SQL packages:
//
//   parser.LoadLanguage(language)  chooses VORN, ODDL or ODML for this
//                                  session (any letter case)
//   parser.Parse(statement)        translates a statement of that language
//                                  into <language>.result
//   VORN.result, ODDL.result, ODML.result
//                                  the translated text, NULL until a parse
//                                  succeeds (and after one fails)
//
// so that the front end's block
//   begin parser.LoadLanguage('VORN'); parser.Parse('select name from dogs');
//   :result := VORN.result; end;
// leaves Oracle SQL framed by a result-kind tag in :result (Languages.h).
// Everything is per session. Errors are ORA-20001..20005 (Scanner.h); the
// parser package's own say "parser: ...".
#pragma once

#include <memory>
#include <string>

#include "engine/Catalog.h"

namespace vorn::server::translator {

// Translates `statement` in `language` as `user` sees the catalog.
std::string translate(const std::string& language, const std::string& statement,
                      std::shared_ptr<const Catalog> catalog, const std::string& user);

// Registers PARSER, VORN, ODDL and ODML with the built-in packages.
void registerTranslatorPackages();

}  // namespace vorn::server::translator
