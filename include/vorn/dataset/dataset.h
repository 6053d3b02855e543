// Umbrella header of the dataset subsystem: the buffered dataset over a
// query, the statement text operations its generated statements use, its
// sequence field and its dictionary options with the session's cache of
// table information.
#pragma once

#include "vorn/dataset/DictionaryCache.h"
#include "vorn/dataset/OracleDictionary.h"
#include "vorn/dataset/SequenceField.h"
#include "vorn/dataset/SqlText.h"
