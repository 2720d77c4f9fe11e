#pragma once

#include "db/SqliteConnection.h"

#include <QTemporaryDir>
#include <memory>

// A large hospital site, built once per process in a temporary folder:
// 100 000 items (2% inactive, 5% in a fixed-asset class, names spread over
// the alphabet) at 50 locations. Locations 1 to 5 are stores that stock
// every item; the departments 6 to 49 each stock about one item in ten, and
// ward 50 only one item in 300 (a ward with a short list of its own).
// 20 000 stored requests of three lines, one in ten pending.
class LargeSite {
public:
    static constexpr int kItems = 100000;
    static constexpr int kLocations = 50;
    static constexpr int kStores = 5;
    static constexpr int kRequests = 20000;

    static LargeSite& Get();

    db::SqliteConnection& Connection() { return *connection_; }
    const QString& Path() const { return path_; }

private:
    LargeSite();
    void AddReferenceRows();
    void AddItems();
    void AddStock();
    void AddRequests();

    QTemporaryDir dir_;
    QString path_;
    std::unique_ptr<db::SqliteConnection> connection_;
};
