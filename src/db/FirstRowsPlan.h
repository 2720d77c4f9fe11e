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
//
// A membership list short enough is better read whole: it then drives the
// search from its few rows, which are sorted, where looking it up row by
// row would pass over most of the first table to find a screenful. Which
// list is short is known only from the data, so a statement with one such
// list gets both plans and the query that counts the list (up to
// kShortListRows rows); the cursor chooses when it opens.
constexpr int kShortListRows = 2000;

struct FirstRowsPlans {
    Tokens byOrder;      // in the first table's order, memberships looked up per row
    Tokens byShortList;  // the membership list drives; empty when there is none
    QString listCount;   // counts the list's rows up to kShortListRows
};

FirstRowsPlans PlanForFirstRows(const Tokens& tokens);

} // namespace db
