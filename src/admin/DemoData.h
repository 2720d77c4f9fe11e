#pragma once

#include "db/Connection.h"

#include <QDate>

namespace admin {

// The demo users and their passwords, for the operator's first log-in.
struct DemoLogin { const char* id; const char* password; };
inline constexpr DemoLogin kDemoLogins[] = {
    {"JDELA", "request"}, {"MSANTOS", "verify"}, {"RLIM", "lim"}, {"AREYES", "reyes"}, {"LGARCIA", "issue"}};

// Fills an empty site database with the demo site: hospital record,
// switches, locations, suppliers, items, stock, kits, users and requests in
// every state. Runs inside the caller's transaction. The same rows every
// time except the request dates, which are counted back from today.
void BuildDemoData(db::Connection& connection, const QDate& today);

} // namespace admin
