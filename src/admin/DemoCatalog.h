#pragma once

#include <QString>
#include <QVector>

namespace admin::demo {

// The fixed reference tables of the demo site and the items built from them.

struct Classification { const char* id; const char* name; bool fixedAsset; };
struct UnitOfMeasure { int id; const char* name; const char* status; };
struct Terms { int id; const char* name; int days; const char* status; };
struct Supplier { const char* id; const char* name; const char* address; int termsId; const char* phone;
                  const char* contact; const char* status; };
struct GenericNode { const char* key; const char* name; };

struct Item {
    QString id;
    QString name;
    QString description;
    QString classification;
    int unitOfMeasure = 0;
    int packing = 1;
    double listCost = 0;
    QString genericId;        // empty for items that are no medicine
    QString supplierId;
    QString oralInject;       // "O", "I", "E" for medicines, else empty
    QString glCode;
    QString kitId;            // set on the kit items only
    bool medicine = false;
    bool fixedAsset = false;
    // Stocked and active at the central supply room and at every requesting
    // department, so that it can be entered on a request from anywhere.
    bool everyDepartment = false;
};

struct Generic { QString id; QString name; QString nodeKey; };

struct KitComponent { const char* itemName; const char* itemDescription; double qty; const char* retailType;
                      const char* active; };
struct Kit { const char* itemId; const char* kitId; const char* name; const char* description;
             QVector<KitComponent> components; };

const QVector<Classification>& Classifications();
const QVector<UnitOfMeasure>& UnitsOfMeasure();
const QVector<Terms>& PaymentTerms();
const QVector<Supplier>& Suppliers();
const QVector<GenericNode>& GenericNodes();
const QVector<Kit>& Kits();

// Generic names and every item (kit items included), in code order. The
// same every time.
struct ItemCatalog {
    QVector<Generic> generics;
    QVector<Item> items;
};
ItemCatalog BuildItemCatalog();

} // namespace admin::demo
