#pragma once

#include "db/SqliteConnection.h"

#include <QTemporaryDir>
#include <memory>

// A large hospital site, built once per process in a temporary folder:
// 100 000 items (2% inactive, 5% in a fixed-asset class, names spread over
// the alphabet) at 50 locations. Locations 1 to 5 are stores that stock
// every item; the departments 6 to 49 each stock about one item in ten, and
// ward 50 only one item in 300 (a ward with a short list of its own).
// A history of stored requests of three lines each, sent by the wards to
// the five stores; 2 000 of them are pending (all at store 1, whose list
// JDELA sees), the others processed.
class LargeSite {
public:
    static constexpr int kItems = 100000;
    static constexpr int kLocations = 50;
    static constexpr int kStores = 5;
    static constexpr int kPending = 2000;

    // The site with 20 000 stored requests.
    static LargeSite& Get();
    // The same site after years of work: 200 000 stored requests, of which
    // as many are pending as in Get().
    static LargeSite& LongHistory();

    int Requests() const { return requests_; }

    db::SqliteConnection& Connection() { return *connection_; }
    const QString& Path() const { return path_; }

private:
    explicit LargeSite(int requests);
    void AddReferenceRows();
    void AddItems();
    void AddStock();
    void AddRequests();

    int requests_;
    QTemporaryDir dir_;
    QString path_;
    std::unique_ptr<db::SqliteConnection> connection_;
};
