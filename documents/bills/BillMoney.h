// The money arithmetic of the bills: exact sums of currency values, a discount given in tenths
// (8 charges 80 %) and a quantity times a price, each result held to four decimals with halves
// rounded to even, so that a bill's totals never drift from its lines.
#pragma once

#include "platform/rtl/Currency.h"

class TField;

namespace qx::documents {

// The field's value as money; an empty value (or no field) counts as 0.
Currency moneyOf(const TField* field);

// amount × tenths / 10, rounded once to four decimals, halves to even; a discount of 0 means
// none and gives amount unchanged. The discount itself is taken to four decimals.
Currency discounted(Currency amount, double tenths);

// quantity × price, exact.
Currency lineAmount(qint64 quantity, Currency price);

} // namespace qx::documents
