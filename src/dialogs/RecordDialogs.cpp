#include "dialogs/RecordDialogs.h"

#include "dialogs/ReferenceLookup.h"
#include "forms/Prompts.h"

namespace dialogs {

RecordDialogs::RecordDialogs(std::function<db::Connection&()> connection, forms::Prompts& prompts,
                             forms::DialogHost& dialogs, std::function<RequestLocations()> requestLocations,
                             std::function<db::BackgroundReads*()> searchReads)
    : connection_(std::move(connection)), prompts_(prompts), dialogs_(dialogs),
      requestLocations_(std::move(requestLocations)), searchReads_(std::move(searchReads)) {}

QString RecordDialogs::PickItem(const QString& searchText, const QString& locationName, const QString& locationID)
{
    const RequestLocations request = requestLocations_ ? requestLocations_() : RequestLocations{};
    return RunItemLookup(connection_(), prompts_, dialogs_, searchText, locationName, locationID, request,
                         searchReads_ ? searchReads_() : nullptr);
}

QString RecordDialogs::PickReference(const QString& searchText, Reference table)
{
    return RunReferenceLookup(connection_(), prompts_, dialogs_, searchText, qint16(table));
}

void RecordDialogs::Tell(const QString& description)
{
    prompts_.Tell(description);
}

void RecordDialogs::TellCritical(const QString& description, const QString& caption)
{
    prompts_.Show({description, caption, forms::Icon::Critical, forms::Buttons::Ok});
}

} // namespace dialogs
