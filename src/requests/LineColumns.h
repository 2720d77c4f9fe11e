#pragma once

namespace requests {

// The columns of the lines grid: one line of the request per row.
enum LineColumn { kCode = 0, kName = 1, kQuantity = 2, kUnitCost = 3, kTotal = 4, kRetail = 5, kAds = 6 };

} // namespace requests
