// Umbrella header: #include <vorn/vorn.h> brings every public class of Vorn.
// Each subsystem has an umbrella of its own, listed here as it lands.
#pragma once
#include <vorn/client/client.h>
#include <vorn/dataset/dataset.h>
#include <vorn/filter/filter.h>
#include <vorn/host/host.h>
#include <vorn/platform/platform.h>
#include <vorn/query/query.h>
#include <vorn/session/session.h>
