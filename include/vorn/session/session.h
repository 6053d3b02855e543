// Umbrella of the session subsystem: TOracleSession with its preferences,
// EOracleError, the interfaces through which queries and datasets work with
// a session, and TOracleLogon with the form its dialogs run on.
#pragma once

#include "vorn/session/LogonForm.h"
#include "vorn/session/OracleError.h"
#include "vorn/session/OracleLogon.h"
#include "vorn/session/OracleSession.h"
#include "vorn/session/SessionCallLock.h"
#include "vorn/session/SessionClients.h"
#include "vorn/session/SessionPreferences.h"
#include "vorn/session/SessionQuery.h"
#include "vorn/session/SessionTypes.h"
