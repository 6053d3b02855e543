// Umbrella header of the dataset subsystem: the buffered dataset over a
// query and the statement text operations its generated statements use.
#pragma once

#include "vorn/dataset/SqlText.h"
