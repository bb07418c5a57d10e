#pragma once

#include "data/datamod.h"

#include <functional>
#include <vector>

namespace Sheet {
class Worksheet;
}
class TQuery;

// The basket laid out on a sheet: a heading row, one row per line with the price and the price
// with VAT (a live formula) for every visible price column, and a totals row summing weight and
// prices over the quantities.
namespace BasketExport {

// Stages after the lines, each followed by one step of the gauge.
constexpr int FinishingStages = 5;

// Fills the sheet from the price columns (all rows of PriceFields, in table order) and the open
// basket query `lines` read from its first row. `step` is called once per price column row, once
// per line and once after each finishing stage.
void fill(Sheet::Worksheet& sheet, const std::vector<TDM::PriceColumn>& columns, TQuery& lines,
          int ndsPercent, const std::function<void()>& step);

} // namespace BasketExport
