// The values of variables: the element buffers at declaration, resizing,
// and the conversions between variants and the stored elements.
#pragma once

#include "vorn/host/Variant.h"

namespace vorn {

class TOracleSession;
class TVariableData;

class VariableValues {
 public:
  // Bytes per element at declaration; -1 for a code that is not accepted.
  static int DeclaredElementSize(int typeCode);
  // Gives a new variable its code, one null element and its buffer.
  static void Declare(TVariableData& variable, const std::string& name, int typeCode);
  // N elements, all null; `stringSize` (when positive) sets the element
  // size of a string to stringSize + 1. Nothing changes when the count and
  // size already match.
  static void Resize(TVariableData& variable, int count, int stringSize, TOracleSession* session);
  // Stores `value` in element `index` (Setting one element).
  static void SetElement(TVariableData& variable, int index, const Variant& value,
                         TOracleSession* session);
  // Element `index` as a variant; null elements give the session's null.
  static Variant GetElement(const TVariableData& variable, int index, TOracleSession* session);
  // An unassigned variant, or a null one under nvNull.
  static Variant NullOf(TOracleSession* session);
  // The longest string a bind may have plus its terminator: the session's
  // maximum string length + 1 (2001 without a session).
  static int StringLimit(TOracleSession* session);
  // Carriage returns are removed from text sent, and line breaks read back
  // become CR LF, unless the session's ConvertCRLF preference is off.
  static bool ConvertsLineBreaks(TOracleSession* session);
};

// Line feeds not already preceded by a carriage return get one.
std::string WithCrLf(std::string text);
// The text without carriage returns.
std::string WithoutCr(std::string text);

}  // namespace vorn
