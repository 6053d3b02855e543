// Umbrella of the client binding: the Oracle client library found and
// loaded at run time, its two call tables, and the database alias list.
// Everything Vorn does with the client library goes through these headers.
#pragma once

#include "vorn/client/ClientEntry.h"
#include "vorn/client/ClientLibrary.h"
#include "vorn/client/DatabaseAliases.h"
#include "vorn/client/Oci7Calls.h"
#include "vorn/client/Oci8Calls.h"
#include "vorn/client/OciConstants.h"
#include "vorn/client/OciTypes.h"
#include "vorn/client/OracleHome.h"
