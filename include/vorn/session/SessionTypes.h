// The enumerations of a session's published properties and the session's
// event type.
//
// Each option that is sent to the server has an Unchanged value, the
// default, which leaves the server's own setting alone; the other values
// are sent as an ALTER SESSION statement at every logon and whenever they
// change while connected (OracleSession.h).
#pragma once

#include <functional>

namespace vorn {

class TOracleSession;

// How queries and datasets hand a null value to their callers: as an
// unassigned variant, or as a null variant.
enum TNullValueOption { nvUnAssigned, nvNull };

enum TSQLTraceOption { stUnchanged, stTrue, stFalse };

enum TOptimizerGoalOption { ogUnchanged, ogChoose, ogFirstRows, ogAllRows, ogRule };

enum TIsolationLevelOption { ilUnchanged, ilReadCommitted, ilSerializable };

// The width of a character in the server's character set, which sizes the
// string buffers of queries; bcAutoDetect asks the server once per logon.
enum TBytesPerCharacterOption { bcAutoDetect, bc1Byte, bc2Bytes, bc3Bytes, bc4Bytes };

using TOracleSessionEvent = std::function<void(TOracleSession* sender)>;

}  // namespace vorn
