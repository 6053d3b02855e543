// Umbrella of the query subsystem: TOracleQuery, its variables and
// columns, LOB locators, objects and references, the query thread, the variable scanner and the
// engine the sessions use.
#pragma once

#include "vorn/query/FieldData.h"
#include "vorn/query/LobLocator.h"
#include "vorn/query/ObjectTypeHandles.h"
#include "vorn/query/OracleObject.h"
#include "vorn/query/OracleQuery.h"
#include "vorn/query/OracleReference.h"
#include "vorn/query/QueryEngine.h"
#include "vorn/query/QueryThread.h"
#include "vorn/query/QueryTypes.h"
#include "vorn/query/SqlVariables.h"
#include "vorn/query/Variables.h"
