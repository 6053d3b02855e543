// Umbrella header of the filter subsystem: expression trees of a dataset's
// client-side filter and the parser that builds them from filter text.
#pragma once

#include "vorn/filter/ColumnExpression.h"
#include "vorn/filter/Expression.h"
#include "vorn/filter/ExpressionTypes.h"
#include "vorn/filter/FilterParser.h"
#include "vorn/filter/Functions.h"
#include "vorn/filter/Literals.h"
#include "vorn/filter/MathExpression.h"
#include "vorn/filter/Operators.h"
#include "vorn/filter/StringExpression.h"
