#pragma once

#include "db/TsqlTokenizer.h"

namespace db {

// Rewrites a translated SELECT so that SQLite reads it in the order the
// statement names its tables, the first one driving: rows then come in the
// order of the first table's index, without reading and sorting the whole
// result before the first row. The rewrites keep the result the same:
// - an inner join, or an outer join whose right table the WHERE clause
//   requires (alias.column compared with a literal), becomes a CROSS JOIN,
//   which SQLite joins in the written order;
// - "alias.column IN (SELECT column FROM ...)" among the WHERE clause's
//   AND-ed terms becomes a correlated EXISTS, looked up row by row instead
//   of being read whole before the first row.
// Statements of other shapes are left as they are.
void PlanForFirstRows(Tokens& tokens);

} // namespace db
