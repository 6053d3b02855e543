// The variable type codes and the event types of the query engine.
//
// A type code names the kind of value a variable holds (Variables.h) and
// the kind of buffer a fetched column is read into (FieldData.h); for most
// codes it is also the client's external data type the value travels as.
// Codes 108, 110, 112, 113, 114 and 116 make complex variables: their value
// is a reference to an instance the caller owns (an object, a reference, a
// LOB locator, or another TOracleQuery that receives a cursor).
#pragma once

#include <functional>
#include <string>

namespace vorn {

class TOracleQuery;

inline constexpr int otSubst = 1;         // text put into the SQL before parsing
inline constexpr int otInteger = 3;       // 32-bit signed integer
inline constexpr int otFloat = 4;         // 64-bit IEEE double
inline constexpr int otString = 5;        // zero-terminated, at most 4000 characters
inline constexpr int otLong = 8;          // text of any length
inline constexpr int otPLSQLString = 10;  // zero-terminated, at most 32512 characters
inline constexpr int otDate = 12;         // the 7-byte DATE layout (DateBytes.h)
inline constexpr int otLongRaw = 24;      // bytes of any length
inline constexpr int otChar = 97;         // zero-terminated fixed-width text
inline constexpr int otObject = 108;      // a TOracleObject
inline constexpr int otReference = 110;   // a TOracleReference
inline constexpr int otCLOB = 112;        // a TLOBLocator
inline constexpr int otBLOB = 113;        // a TLOBLocator
inline constexpr int otBFile = 114;       // a TLOBLocator
inline constexpr int otCursor = 116;      // a TOracleQuery that receives the cursor

// True for the codes of complex variables.
constexpr bool IsComplexType(int typeCode) {
  return typeCode == otObject || typeCode == otReference || typeCode == otCLOB ||
         typeCode == otBLOB || typeCode == otBFile || typeCode == otCursor;
}

using TOracleQueryEvent = std::function<void(TOracleQuery* sender)>;
// A row of an Array DML execution failed: `index` is its element, and the
// handler may clear `continueExecution` to stop the remaining rows.
using TArrayErrorEvent =
    std::function<void(TOracleQuery* sender, int index, int errorCode,
                       const std::string& errorMessage, bool& continueExecution)>;
using TThreadErrorEvent =
    std::function<void(TOracleQuery* sender, int errorCode, const std::string& errorMessage)>;

}  // namespace vorn
