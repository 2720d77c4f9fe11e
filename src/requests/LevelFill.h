#pragma once

#include "forms/Button.h"

#include <QObject>
#include <QString>
#include <QVector>

#include <optional>

namespace app { struct SessionContext; }
namespace db { class Connection; }
namespace forms { class Prompts; }

namespace requests {

class RequestScreen;

// An item the department keeps below its minimum level, and the quantity
// that brings it back.
struct LevelLine {
    QString itemId;
    double quantity = 0;
};

// The quantity that brings a department's stock from below its minimum
// level up to its maximum (up to the minimum where no maximum above it is
// kept), in whole units; none when the stock is not below the minimum.
std::optional<double> QuantityToReachLevels(double onHand, double minimum, double maximum);

// The items the department keeps (active there) below their minimum level
// that the location requested to stocks (active there) and has on hand:
// active items, no fixed assets and no kits (whose question would replace
// the request's lines), by name.
QVector<LevelLine> ReadLevelLines(db::Connection& connection, const QString& departmentFrom,
                                  const QString& requestTo);

// "Fill from levels" on a new request: a line for each item that the
// department from keeps below its minimum level, entered as a typed line is
// (its checks and messages), except items already on the request. The
// request screen composes it; the clerk then edits the lines as usual.
class LevelFill : public QObject {
    Q_OBJECT
public:
    LevelFill(RequestScreen& screen, app::SessionContext& session, forms::Prompts& prompts,
              QObject* parent = nullptr);

    forms::Button cmdFill{QStringLiteral("Fill from &levels")};

    void Fill();

private:
    RequestScreen& s_;
    app::SessionContext& session_;
    forms::Prompts& prompts_;
};

} // namespace requests
