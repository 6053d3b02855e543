// Umbrella header of the dataset subsystem: the buffered dataset over a
// query, its option objects (sequence field, dictionary options), the
// session's cache of table information, and the statement text operations
// its generated statements use.
#pragma once

#include "vorn/dataset/DictionaryCache.h"
#include "vorn/dataset/OracleDataSet.h"
#include "vorn/dataset/OracleDataSetTypes.h"
#include "vorn/dataset/OracleDictionary.h"
#include "vorn/dataset/QBEDefinition.h"
#include "vorn/dataset/SequenceField.h"
#include "vorn/dataset/SqlText.h"
