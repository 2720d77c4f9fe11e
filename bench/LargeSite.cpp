#include "bench/LargeSite.h"

LargeSite& LargeSite::Get()
{
    static LargeSite site(20000);
    return site;
}

LargeSite& LargeSite::LongHistory()
{
    static LargeSite site(200000);
    return site;
}

LargeSite::LargeSite(int requests)
    : requests_(requests), path_(dir_.filePath(QStringLiteral("large.db"))), connection_(db::SqliteConnection::Create(path_))
{
    auto& c = *connection_;
    c.BeginTransaction();
    AddReferenceRows();
    AddItems();
    AddStock();
    AddRequests();
    c.Commit();
    c.ExecuteNative(QStringLiteral("ANALYZE"));
}

void LargeSite::AddReferenceRows()
{
    auto& c = *connection_;
    c.ExecuteNative(QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
        "INSERT INTO tbInvLocation (LocationID, Location, Status, isWarehouse, isDispensingArea, AllowOrder) "
        "SELECT i, CASE WHEN i <= %2 THEN 'STORE ' ELSE 'WARD ' END || i, 'A', i <= %2, 0, i <= %2 FROM n")
                        .arg(kLocations)
                        .arg(kStores));
    c.ExecuteNative(QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200) "
        "INSERT INTO tbInvSupplier (SupplierID, SupplierName, Status) SELECT i, 'SUPPLIER ' || i, 'A' FROM n"));
    c.ExecuteNative(QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20) "
        "INSERT INTO tbInvClassification (ItemClassificationID, ItemClassificationName, Status, IsFixedAsset) "
        "SELECT i, 'CLASS ' || i, 'A', i = 20 FROM n"));
    c.ExecuteNative(QStringLiteral(
        "INSERT INTO tbInvUserLocation (UserID, LocationID) VALUES ('JDELA','1'), ('JDELA','12')"));
    c.ExecuteNative(QStringLiteral(
        "INSERT INTO tbPasswordMain (EmployeeID, LastName, FirstName) VALUES ('JDELA','DELA CRUZ','JUANA')"));
}

// Item names start with one of 40 words over most of the alphabet, so that
// a one-letter prefix matches thousands of items.
void LargeSite::AddItems()
{
    connection_->ExecuteNative(QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1), "
        "w(k, word) AS (VALUES (0,'ACETAMINOPHEN'),(1,'ALCOHOL'),(2,'AMOXICILLIN'),(3,'AMPICILLIN'),"
        "(4,'BANDAGE'),(5,'BETADINE'),(6,'CATHETER'),(7,'CEFTRIAXONE'),(8,'COTTON'),(9,'DEXTROSE'),"
        "(10,'DIAZEPAM'),(11,'ENOXAPARIN'),(12,'FUROSEMIDE'),(13,'GAUZE'),(14,'GLOVES'),(15,'HEPARIN'),"
        "(16,'IBUPROFEN'),(17,'INSULIN'),(18,'KETOROLAC'),(19,'LIDOCAINE'),(20,'LOSARTAN'),(21,'METFORMIN'),"
        "(22,'MORPHINE'),(23,'NEEDLE'),(24,'NITROGLYCERIN'),(25,'OMEPRAZOLE'),(26,'OXYTOCIN'),"
        "(27,'PARACETAMOL'),(28,'PLASTER'),(29,'RANITIDINE'),(30,'SALINE'),(31,'SUTURE'),(32,'SYRINGE'),"
        "(33,'TRAMADOL'),(34,'URINE BAG'),(35,'VANCOMYCIN'),(36,'VITAMIN'),(37,'WATER'),(38,'XYLOCAINE'),"
        "(39,'ZINC')) "
        "INSERT INTO tbInvMaster (ItemID, ItemName, ItemDesc, SupplierID, MarkupIn, MarkupOut, ListCost, "
        "ItemStatus, Packing, BarCode, ItemClassificationID, UnitOfMeasureID, AverageCost) "
        "SELECT 'P' || substr('000000' || i, -6), w.word || ' ' || (i * 7919 % 100000), "
        "(i % 9 + 1) * 50 || ' MG', 1 + i % 200, 20, 30, 10 + i % 90, CASE WHEN i % 50 = 0 THEN 1 ELSE 0 END, "
        "1 + i % 12, '48' || substr('00000000000' || i, -11), 1 + i % 20, 1, 9.5 "
        "FROM n JOIN w ON w.k = (i / 10 + 3 * i) % 40")
                                   .arg(kItems));
}

void LargeSite::AddStock()
{
    connection_->ExecuteNative(QStringLiteral(
        "INSERT INTO tbInvent (ItemID, LocationID, Markup_In, Markup_Out, OnHand, ItemStatus, MinStockLevel, "
        "MaxStock, AverageCost) "
        "SELECT M.ItemID, L.LocationID, 20, 30, (M.rowid + L.rowid) % 40, "
        "CASE WHEN (M.rowid + L.rowid) % 97 = 0 THEN 1 ELSE 0 END, 5, 50, 9.5 "
        "FROM tbInvMaster M, tbInvLocation L "
        "WHERE L.rowid <= %1 OR (L.rowid < %2 AND ((M.rowid * L.rowid * 2654435761) >> 13) % 10 = 0) "
        "OR (L.rowid = %2 AND M.rowid % 300 = 7)")
                                   .arg(kStores)
                                   .arg(kLocations));
}

void LargeSite::AddRequests()
{
    connection_->ExecuteNative(QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1), "
        "line(l) AS (VALUES (0),(1),(2)) "
        "INSERT INTO tbInvWithdrawRequest (DocumentNumber, ItemID, Quantity, UnitCost, ForRetail, isADS, "
        "LocationID, TargetLocationID, TransDate, UserID, Status, VerifiedBy) "
        "SELECT i, 'P' || substr('000000' || ((i * 3 + l) % %2 + 1), -6), 1, 2.5, 'Y', 0, "
        "1 + i % %3, %3 + 1 + i % (%4 - %3), "
        // (QString::arg would take printf's %02d for a marker.)
        "(2016 + i * 10 / %1) || '-' || substr('0' || (1 + i % 12), -2) || '-' || "
        "substr('0' || (1 + i % 28), -2) || ' 10:00:00', 'JDELA', "
        "CASE WHEN i % %5 = 0 THEN NULL ELSE 'P' END, CASE WHEN i % %5 = 0 THEN NULL ELSE 'MSANTOS' END "
        "FROM n, line")
                                   .arg(requests_)
                                   .arg(kItems)
                                   .arg(kStores)
                                   .arg(kLocations)
                                   .arg(requests_ / kPending));
}
