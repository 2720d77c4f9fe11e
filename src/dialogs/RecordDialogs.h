#pragma once

#include "dialogs/ItemLookup.h"
#include "records/RecordServices.h"

#include <functional>

namespace forms { class DialogHost; class Prompts; }

namespace dialogs {

// The records' lookups and failure messages, shown with the program's own
// dialogs and message boxes. The owner of the screen makes one and hands
// its Services() to the records it uses. A product search limited to a
// location searches the request's two locations, which `requestLocations`
// reads from the owner's pickers when the search opens.
class RecordDialogs : public records::Lookups, public records::FailureNotices {
public:
    // `searchReads` gives where a product search runs what the user types
    // (app::CurrentUser::SearchReads), when anywhere.
    RecordDialogs(std::function<db::Connection&()> connection, forms::Prompts& prompts, forms::DialogHost& dialogs,
                  std::function<RequestLocations()> requestLocations = {},
                  std::function<db::BackgroundReads*()> searchReads = {});

    records::RecordServices Services() { return {connection_, *this, *this}; }

    QString PickItem(const QString& searchText, const QString& locationName, const QString& locationID) override;
    QString PickReference(const QString& searchText, Reference table) override;
    void Tell(const QString& description) override;
    void TellCritical(const QString& description, const QString& caption) override;

private:
    std::function<db::Connection&()> connection_;
    forms::Prompts& prompts_;
    forms::DialogHost& dialogs_;
    std::function<RequestLocations()> requestLocations_;
    std::function<db::BackgroundReads*()> searchReads_;
};

} // namespace dialogs
