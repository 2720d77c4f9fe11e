#pragma once

#include "app/CurrentUser.h"
#include "base/Errors.h"
#include "db/DbError.h"
#include "support/ScriptedDialogHost.h"
#include "dialogs/RecordDialogs.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDatabase.h"

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include <functional>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace records_testing {

// A current user holding a connection on a fresh database, and the
// program's own dialogs for the records' searches.
// `sent` holds every statement on that connection as it was sent; a
// statement for which `refuse` answers true is refused by the database.
struct RecordsFixture {
    testing_support::TempDatabase db;
    testing_support::ScriptedPrompts prompts;
    testing_support::ScriptedDialogHost dialogs;
    app::CurrentUser user{nullptr};
    // The product search limited to a location searches these.
    dialogs::RequestLocations requestLocations;
    dialogs::RecordDialogs recordDialogs{[this]() -> db::Connection& { return user.sqlconnection(); }, prompts,
                                         dialogs, [this] { return requestLocations; }};
    records::RecordServices services = recordDialogs.Services();
    QStringList sent;
    std::function<bool(const QString&)> refuse;

    RecordsFixture()
    {
        user.UseConnection(db.OpenAnother());
        Connection().SetStatementObserver([this](const QString& statement) {
            sent << statement;
            if (refuse && refuse(statement))
                throw db::DbError(QStringLiteral("Statement refused"));
        });
    }

    db::Connection& Connection() { return user.sqlconnection(); }
};

// Runs `action`, which must raise the record error with this source.
inline void ExpectRecordError(const std::function<void()>& action, const QString& source)
{
    try {
        action();
        ADD_FAILURE() << "no record error raised; expected " << source.toStdString();
    } catch (const base::RecordError& e) {
        EXPECT_EQ(e.Source(), source);
        EXPECT_EQ(e.Number(), -2147211505);
        EXPECT_EQ(e.Description(), "An unknown error has occurred!");
    }
}

} // namespace records_testing
