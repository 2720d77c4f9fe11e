#pragma once

#include <QDateTime>
#include <QString>
#include <QVector>
#include <memory>
#include <stdexcept>

namespace records {

// The figures kept about one generic or brand item: plain values.
struct GenericObject {
    bool GenericOrBrand = false;
    double ListCost = 0;
    QString UOM_ID;
    QString UOM;
    double ForOrderQuantity = 0;
    double IT = 0;
    double AMC = 0;
    double BOH = 0;
    qint16 LastDeliveryQuantity = 0;
    QDateTime LastDeliveryDate;
    QString GLCode;
    QString GenericName;
    double DT = 0;
    double SSL = 0;
};

// A key already in the collection, a position outside it or a key that is
// not there.
class CollectionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An ordered collection of GenericObject items, reached by their 1-based
// position or by an optional text key, unique within the collection and
// compared without regard to case. A failing call leaves the collection as
// it was.
class colGeneric {
public:
    using ObjectPtr = std::shared_ptr<GenericObject>;

    // Appends an item made of these values, under the key unless it is
    // empty. The quantity is brought to the nearest whole number, halves
    // to the even one (2.5 is 2, 3.5 is 4); outside the 16-bit range it
    // fails before anything is appended.
    ObjectPtr Add(const QString& GenericName, const QString& GLCode, const QDateTime& LastDeliveryDate,
             double LastDeliveryQuantity, double BOH, double AMC, double IT, double ForOrderQuantity,
             const QString& strUOM, const QString& strUOM_ID, double dblListCost, bool blnGenericOrBrand,
             double dblDT, double dblSSL, const QString& sKey = QString());

    ObjectPtr Item(int position) const;
    ObjectPtr Item(const QString& key) const;
    int Count() const { return int(items_.size()); }
    void Remove(int position);
    void Remove(const QString& key);

    // Iteration in order.
    QVector<ObjectPtr>::const_iterator begin() const { return items_.begin(); }
    QVector<ObjectPtr>::const_iterator end() const { return items_.end(); }

private:
    // The 0-based index of the key's item, -1 for none (and for no key).
    qsizetype IndexOf(const QString& key) const;
    int PositionOf(const QString& key) const;
    void CheckPosition(int position) const;

    QVector<ObjectPtr> items_;
    QVector<QString> keys_;  // beside each item, its folded key or empty
};

} // namespace records
