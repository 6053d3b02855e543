// Umbrella of the platform layer: what Vorn takes from the operating
// system. The layer depends on nothing else of Vorn.
#pragma once

#include "vorn/platform/CommandLine.h"
#include "vorn/platform/CurrentDirectory.h"
#include "vorn/platform/DynamicLibrary.h"
#include "vorn/platform/Environment.h"
#include "vorn/platform/FileSystem.h"
#include "vorn/platform/Mutex.h"
#include "vorn/platform/Paths.h"
#include "vorn/platform/Registry.h"
#include "vorn/platform/TextFile.h"
