#include "db/ServerSchema.h"

namespace db {

namespace {

// The comparisons, + on texts and the server's conversions that translated
// statements lean on. Text columns are citext (case-insensitive in ORDER BY,
// DISTINCT, LIKE and grouping); = and <> between them are shadowed, through
// the search path, by operators that also disregard trailing blanks. Their
// functions are plain SQL, so the planner inlines them: a comparison becomes
// rtrim(lower(a::text)) = rtrim(lower(b::text)), which joins by hashing and
// finds the expression indexes below.
const char* const kPgSupport[] = {
    "CREATE EXTENSION IF NOT EXISTS citext WITH SCHEMA public",
    "CREATE SCHEMA tessary",
    "CREATE FUNCTION tessary.text_eq(public.citext, public.citext) RETURNS boolean LANGUAGE sql IMMUTABLE STRICT "
    "PARALLEL SAFE AS $f$ SELECT rtrim(lower($1::text)) = rtrim(lower($2::text)) $f$",
    "CREATE FUNCTION tessary.text_ne(public.citext, public.citext) RETURNS boolean LANGUAGE sql IMMUTABLE STRICT "
    "PARALLEL SAFE AS $f$ SELECT rtrim(lower($1::text)) <> rtrim(lower($2::text)) $f$",
    "CREATE OPERATOR tessary.= (LEFTARG = public.citext, RIGHTARG = public.citext, FUNCTION = tessary.text_eq, "
    "COMMUTATOR = OPERATOR(tessary.=), NEGATOR = OPERATOR(tessary.<>), RESTRICT = eqsel, JOIN = eqjoinsel)",
    "CREATE OPERATOR tessary.<> (LEFTARG = public.citext, RIGHTARG = public.citext, FUNCTION = tessary.text_ne, "
    "COMMUTATOR = OPERATOR(tessary.<>), NEGATOR = OPERATOR(tessary.=), RESTRICT = neqsel, JOIN = neqjoinsel)",
    "CREATE FUNCTION tessary.text_plus(text, text) RETURNS text LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE "
    "AS $f$ SELECT $1 || $2 $f$",
    "CREATE OPERATOR tessary.+ (LEFTARG = text, RIGHTARG = text, FUNCTION = tessary.text_plus)",
    // Text to int as the server converts it: blanks around, an optional sign
    // and digits only; an empty or all-blank text is 0.
    "CREATE FUNCTION tessary.tsql_int(value text) RETURNS integer LANGUAGE plpgsql IMMUTABLE STRICT AS $f$\n"
    "DECLARE trimmed text := btrim(value, E' \\t\\r\\n');\n"
    "BEGIN\n"
    "  IF trimmed = '' THEN RETURN 0; END IF;\n"
    "  IF trimmed !~ '^[+-]?[0-9]+$' THEN\n"
    "    RAISE EXCEPTION USING MESSAGE = format('Conversion failed when converting the varchar value ''%s'' to data type int.', value);\n"
    "  END IF;\n"
    "  IF trimmed::numeric NOT BETWEEN -2147483648 AND 2147483647 THEN\n"
    "    RAISE EXCEPTION USING MESSAGE = format('The conversion of the varchar value ''%s'' overflowed an int column.', value);\n"
    "  END IF;\n"
    "  RETURN trimmed::integer;\n"
    "END $f$",
    "CREATE FUNCTION tessary.tsql_int(value double precision) RETURNS integer LANGUAGE plpgsql IMMUTABLE STRICT AS $f$\n"
    "BEGIN\n"
    "  IF NOT (trunc(value) BETWEEN -2147483648 AND 2147483647) THEN\n"
    "    RAISE EXCEPTION USING MESSAGE = 'Arithmetic overflow error converting expression to data type int.';\n"
    "  END IF;\n"
    "  RETURN trunc(value)::integer;\n"
    "END $f$",
    // A number as the server writes it into a varchar: whole numbers without
    // a decimal part, "*" when it does not fit; a text is cut to the length.
    "CREATE FUNCTION tessary.tsql_varchar(value double precision, size integer) RETURNS text LANGUAGE sql IMMUTABLE "
    "STRICT AS $f$ SELECT CASE WHEN length(t) > size THEN '*' ELSE t END FROM (SELECT CASE WHEN value = trunc(value) "
    "AND abs(value) < 1e15 THEN trunc(value)::bigint::text ELSE value::text END AS t) AS s $f$",
    "CREATE FUNCTION tessary.tsql_varchar(value text, size integer) RETURNS text LANGUAGE sql IMMUTABLE STRICT "
    "AS $f$ SELECT left(value, size) $f$",
    // PATINDEX: where the pattern (LIKE wildcards, case-insensitive) first
    // matches; 0 when it does not.
    "CREATE FUNCTION tessary.tsql_patindex(pattern text, value text) RETURNS integer LANGUAGE sql IMMUTABLE STRICT "
    "AS $f$ SELECT CASE WHEN left(pattern, 1) <> '%' THEN CASE WHEN value ILIKE pattern ESCAPE '' THEN 1 ELSE 0 END "
    "ELSE coalesce((SELECT min(i) FROM generate_series(1, length(value)) AS i "
    "WHERE substr(value, i) ILIKE ltrim(pattern, '%') ESCAPE ''), 0) END $f$",
    // REPLACE finds its text without regard to case, as the server's
    // collation compares.
    "CREATE FUNCTION tessary.tsql_replace(value text, find text, replacement text) RETURNS text LANGUAGE sql "
    "IMMUTABLE STRICT AS $f$ SELECT CASE WHEN find = '' THEN value ELSE regexp_replace(value, "
    "regexp_replace(find, '([.*+?^$(){}|\\[\\]\\\\])', '\\\\\\1', 'g'), replace(replacement, '\\', '\\\\'), 'gi') END $f$",
    "CREATE FUNCTION tessary.tsql_len(value text) RETURNS integer LANGUAGE sql IMMUTABLE STRICT "
    "AS $f$ SELECT length(rtrim(value)) $f$",
};

// Layout 2: what lets the server answer the product search, the request
// lists and the numbering from indexes.
//
// The key of a text's conversion to int, which never fails: 'N' and the int
// plus 2^31 in ten digits when the text converts, else 'T' and the text
// itself. Keys compare (collation "C") as the ints do, and every text that
// does not convert comes after them all. So the largest key gives the
// largest int when every text converts, and otherwise a text that the
// conversion refuses: tsql_int_of_key(max(tsql_int_key(x))) is
// max(tsql_int(x)), failing when that fails, and an index on the key answers
// it from its last entry. (Nested CASEs: a branch whose condition is false
// is never evaluated, not even when the planner folds constants.)
const char* const kPgLayout2Support[] = {
    "CREATE FUNCTION tessary.tsql_int_key(value text) RETURNS text LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $f$ "
    "SELECT CASE WHEN btrim(value, E' \\t\\r\\n') ~ '^[+-]?[0-9]+$' THEN CASE WHEN btrim(value, E' \\t\\r\\n')::numeric "
    "BETWEEN -2147483648 AND 2147483647 THEN 'N' || lpad((btrim(value, E' \\t\\r\\n')::numeric + 2147483648)::text, 10, '0') "
    "ELSE 'T' || value END WHEN btrim(value, E' \\t\\r\\n') = '' THEN 'N2147483648' ELSE 'T' || value END $f$",
    "CREATE FUNCTION tessary.tsql_int_of_key(key text) RETURNS integer LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $f$ "
    "SELECT CASE WHEN left(key, 1) = 'N' THEN (substr(key, 2)::bigint - 2147483648)::integer "
    "ELSE tessary.tsql_int(substr(key, 2)) END $f$",
};

QString PgType(ColumnType type)
{
    switch (type) {
    case ColumnType::Text: return QStringLiteral("public.citext");
    case ColumnType::Integer: return QStringLiteral("integer");
    case ColumnType::Float: return QStringLiteral("double precision");
    case ColumnType::Money: return QStringLiteral("numeric(19,4)");
    case ColumnType::DateTime: return QStringLiteral("timestamp");
    case ColumnType::Flag: return QStringLiteral("smallint");
    }
    return QStringLiteral("public.citext");
}

QString SqlServerType(const ColumnDef& column)
{
    switch (column.type) {
    case ColumnType::Text: return QStringLiteral("varchar(%1)").arg(column.length > 0 ? column.length : 255);
    case ColumnType::Integer: return QStringLiteral("int");
    case ColumnType::Float: return QStringLiteral("float");
    case ColumnType::Money: return QStringLiteral("money");
    case ColumnType::DateTime: return QStringLiteral("datetime");
    case ColumnType::Flag: return QStringLiteral("bit");
    }
    return QStringLiteral("varchar(255)");
}

// A table without a key of its own numbers its rows, so that the request
// loader gives the lines back in the order they were saved.
const QString kRowNumber = QStringLiteral("RowNo");

// The index key of a column: texts by the value the comparisons use.
QString PgKey(const TableDef& table, const QString& column)
{
    const ColumnDef* c = table.FindColumn(column);
    if (c && c->type == ColumnType::Text)
        return QStringLiteral("(rtrim(lower((%1)::text)))").arg(column);
    return column;
}

QString PgProcedureDdl(const ServerProcedure& p)
{
    QStringList parameters;
    for (int i = 0; i < p.parameters.size(); ++i)
        parameters << QStringLiteral("public.citext");
    return QStringLiteral("CREATE FUNCTION inventory.%1(%2) RETURNS TABLE (%3) LANGUAGE sql STABLE SET search_path = %4 "
                          "AS $f$ %5 $f$")
        .arg(p.name.toLower(), parameters.join(QStringLiteral(", ")), p.postgresColumns, kPgSearchPath, p.postgresBody);
}

const QString kKitColumns = QStringLiteral(
    "\"ItemID\" public.citext, \"ItemName\" public.citext, \"Qty\" double precision, \"UnitCost\" numeric, "
    "\"Packing\" integer, \"RetailType\" public.citext, \"Amount\" double precision");
const QString kKitSelect = QStringLiteral(
    "SELECT K.ItemID, C.ItemName, K.Qty, K.UnitCost, C.Packing, K.RetailType, K.Qty * K.UnitCost "
    "FROM tbInvMaster KM JOIN tbInvKit K ON K.KitID = KM.KitID LEFT JOIN tbInvMaster C ON C.ItemID = K.ItemID "
    "WHERE KM.ItemID = $1 AND (K.Active IS NULL OR K.Active <> 'I')");
const QString kKitSelectSqlServer = QStringLiteral(
    "SELECT K.ItemID AS ItemID, C.ItemName AS ItemName, K.Qty AS Qty, K.UnitCost AS UnitCost, C.Packing AS Packing, "
    "K.RetailType AS RetailType, K.Qty * K.UnitCost AS Amount "
    "FROM INVENTORY..tbInvMaster KM JOIN INVENTORY..tbInvKit K ON K.KitID = KM.KitID "
    "LEFT JOIN INVENTORY..tbInvMaster C ON C.ItemID = K.ItemID "
    "WHERE KM.ItemID = @ItemID AND (K.Active IS NULL OR K.Active <> 'I')");

QVector<ServerProcedure> BuildProcedures()
{
    return {
        {QStringLiteral("sp_Inv_UserLocation"), {QStringLiteral("@UserID")},
         QStringLiteral("\"Location\" public.citext, \"LocationID\" public.citext"),
         QStringLiteral("SELECT L.Location, L.LocationID FROM tbInvUserLocation U JOIN tbInvLocation L "
                        "ON L.LocationID = U.LocationID WHERE U.UserID = $1 AND (L.Status IS NULL OR L.Status <> 'I') "
                        "ORDER BY L.Location"),
         QStringLiteral("@UserID varchar(20)"),
         QStringLiteral("SELECT L.Location AS Location, L.LocationID AS LocationID FROM INVENTORY..tbInvUserLocation U "
                        "JOIN INVENTORY..tbInvLocation L ON L.LocationID = U.LocationID "
                        "WHERE U.UserID = @UserID AND (L.Status IS NULL OR L.Status <> 'I') ORDER BY L.Location")},
        {QStringLiteral("sp_Inv_SearchItem_In_Invent"), {QStringLiteral("@ItemID"), QStringLiteral("@LocationID")},
         QStringLiteral(
             "\"LocationID\" public.citext, \"ItemID\" public.citext, \"Markup_In\" integer, \"Markup_Out\" integer, "
             "\"NetAmount\" numeric, \"OnHand\" double precision, \"OnOrder\" double precision, "
             "\"SellingPriceIn\" numeric, \"SellingPriceOut\" numeric, \"ItemStatus\" integer, \"AverageCost\" numeric, "
             "\"MinStockLevel\" double precision, \"MaxStock\" double precision, \"AveConsumption\" double precision, "
             "\"LastInventoryCount\" timestamp, \"ExpiryDate\" timestamp, \"NewGLCode\" public.citext, "
             "\"POMonthsToDeliver\" double precision, \"MinimumOrAverage\" integer, \"StartDate\" public.citext, "
             "\"EndDate\" public.citext, \"ListCost\" numeric, \"UnitOfMeasureID\" integer, "
             "\"UnitOfMeasure\" public.citext, \"Last DDate\" timestamp, \"Last Qty\" double precision, "
             "\"Packing\" integer, \"IsFloor\" integer, \"IsCeiling\" integer, \"Floor\" double precision, "
             "\"Ceiling\" double precision, \"IsADSStock\" integer, \"ADSStock\" double precision"),
         QStringLiteral(
             "SELECT I.LocationID, I.ItemID, I.Markup_In, I.Markup_Out, I.NetAmount, I.OnHand, I.OnOrder, "
             "I.SellingPriceIn, I.SellingPriceOut, I.ItemStatus, I.AverageCost, I.MinStockLevel, "
             "COALESCE(I.MaxStock, 0), I.AveConsumption, I.LastInventoryCount, I.ExpiryDate, I.NewGLCode, "
             "I.POMonthsToDeliver, COALESCE(I.MinimumOrAverage, 0), COALESCE(I.StartDate, ''), "
             "COALESCE(I.EndDate, ''), COALESCE(M.ListCost, 0), COALESCE(M.UnitOfMeasureID, 0), "
             "COALESCE(U.UnitOfMeasure, ''), COALESCE(I.LastDeliveryDate, '1899-12-30'), "
             "COALESCE(I.LastDeliveryQty, 0), COALESCE(M.Packing, 0), COALESCE(I.IsFloor, 0), "
             "COALESCE(I.IsCeiling, 0), COALESCE(I.Floor, 0), COALESCE(I.Ceiling, 0), COALESCE(I.IsADSStock, 0), "
             "COALESCE(I.ADSStock, 0) "
             "FROM tbInvent I LEFT JOIN tbInvMaster M ON M.ItemID = I.ItemID "
             "LEFT JOIN tbInvUnitOfMeasure U ON U.UnitOfMeasureID = M.UnitOfMeasureID "
             "WHERE I.ItemID = $1 AND I.LocationID = $2 LIMIT 1"),
         QStringLiteral("@ItemID varchar(20), @LocationID varchar(10)"),
         QStringLiteral(
             "SELECT TOP 1 I.LocationID AS LocationID, I.ItemID AS ItemID, I.Markup_In AS Markup_In, "
             "I.Markup_Out AS Markup_Out, I.NetAmount AS NetAmount, I.OnHand AS OnHand, I.OnOrder AS OnOrder, "
             "I.SellingPriceIn AS SellingPriceIn, I.SellingPriceOut AS SellingPriceOut, I.ItemStatus AS ItemStatus, "
             "I.AverageCost AS AverageCost, I.MinStockLevel AS MinStockLevel, ISNULL(I.MaxStock, 0) AS MaxStock, "
             "I.AveConsumption AS AveConsumption, I.LastInventoryCount AS LastInventoryCount, "
             "I.ExpiryDate AS ExpiryDate, I.NewGLCode AS NewGLCode, I.POMonthsToDeliver AS POMonthsToDeliver, "
             "ISNULL(I.MinimumOrAverage, 0) AS MinimumOrAverage, ISNULL(I.StartDate, '') AS StartDate, "
             "ISNULL(I.EndDate, '') AS EndDate, ISNULL(M.ListCost, 0) AS ListCost, "
             "ISNULL(M.UnitOfMeasureID, 0) AS UnitOfMeasureID, ISNULL(U.UnitOfMeasure, '') AS UnitOfMeasure, "
             "ISNULL(I.LastDeliveryDate, '18991230') AS [Last DDate], ISNULL(I.LastDeliveryQty, 0) AS [Last Qty], "
             "ISNULL(M.Packing, 0) AS Packing, ISNULL(I.IsFloor, 0) AS IsFloor, ISNULL(I.IsCeiling, 0) AS IsCeiling, "
             "ISNULL(I.Floor, 0) AS Floor, ISNULL(I.Ceiling, 0) AS Ceiling, ISNULL(I.IsADSStock, 0) AS IsADSStock, "
             "ISNULL(I.ADSStock, 0) AS ADSStock "
             "FROM INVENTORY..tbInvent I LEFT JOIN INVENTORY..tbInvMaster M ON M.ItemID = I.ItemID "
             "LEFT JOIN INVENTORY..tbInvUnitOfMeasure U ON U.UnitOfMeasureID = M.UnitOfMeasureID "
             "WHERE I.ItemID = @ItemID AND I.LocationID = @LocationID")},
        {QStringLiteral("sp_Inv_LoadWithdrawalRequest"), {QStringLiteral("@DocumentNumber")},
         QStringLiteral(
             "\"DocumentNumber\" public.citext, \"ItemID\" public.citext, \"Description\" text, "
             "\"Quantity\" double precision, \"UnitCost\" numeric, \"ForRetail\" public.citext, \"isADS\" smallint, "
             "\"LocationID\" public.citext, \"Location\" public.citext, \"TargetLocationID\" public.citext, "
             "\"TLocation\" public.citext, \"TransDate\" timestamp, \"UserID\" public.citext, "
             "\"Remarks\" public.citext, \"VerifiedBy\" public.citext, \"VerifiedDate\" timestamp, "
             "\"Status\" public.citext"),
         QStringLiteral(
             "SELECT R.DocumentNumber, R.ItemID, COALESCE(M.ItemName::text, '') || ' ' || COALESCE(M.ItemDesc::text, ''), "
             "R.Quantity, R.UnitCost, R.ForRetail, R.isADS, R.LocationID, L.Location, R.TargetLocationID, T.Location, "
             "R.TransDate, R.UserID, R.Remarks, R.VerifiedBy, R.VerifiedDate, R.Status "
             "FROM tbInvWithdrawRequest R LEFT JOIN tbInvMaster M ON M.ItemID = R.ItemID "
             "LEFT JOIN tbInvLocation L ON L.LocationID = R.LocationID "
             "LEFT JOIN tbInvLocation T ON T.LocationID = R.TargetLocationID "
             "WHERE R.DocumentNumber = $1 AND $1::text <> 'NEW' ORDER BY R.RowNo"),
         QStringLiteral("@DocumentNumber varchar(10)"),
         QStringLiteral(
             "SELECT R.DocumentNumber AS DocumentNumber, R.ItemID AS ItemID, "
             "ISNULL(M.ItemName, '') + ' ' + ISNULL(M.ItemDesc, '') AS Description, R.Quantity AS Quantity, "
             "R.UnitCost AS UnitCost, R.ForRetail AS ForRetail, R.isADS AS isADS, R.LocationID AS LocationID, "
             "L.Location AS Location, R.TargetLocationID AS TargetLocationID, T.Location AS TLocation, "
             "R.TransDate AS TransDate, R.UserID AS UserID, R.Remarks AS Remarks, R.VerifiedBy AS VerifiedBy, "
             "R.VerifiedDate AS VerifiedDate, R.Status AS Status "
             "FROM INVENTORY..tbInvWithdrawRequest R LEFT JOIN INVENTORY..tbInvMaster M ON M.ItemID = R.ItemID "
             "LEFT JOIN INVENTORY..tbInvLocation L ON L.LocationID = R.LocationID "
             "LEFT JOIN INVENTORY..tbInvLocation T ON T.LocationID = R.TargetLocationID "
             "WHERE R.DocumentNumber = @DocumentNumber AND @DocumentNumber <> 'NEW' ORDER BY R.RowNo")},
        {QStringLiteral("sp_Inv_KitofItems"), {QStringLiteral("@ItemID")}, kKitColumns,
         kKitSelect + QStringLiteral(" ORDER BY K.ItemID"), QStringLiteral("@ItemID varchar(20)"),
         kKitSelectSqlServer + QStringLiteral(" ORDER BY K.ItemID")},
        {QStringLiteral("sp_Inv_KitofItems_PerItem"), {QStringLiteral("@ItemID"), QStringLiteral("@ComponentID")},
         kKitColumns, kKitSelect + QStringLiteral(" AND K.ItemID = $2 ORDER BY K.ItemID"),
         QStringLiteral("@ItemID varchar(20), @ComponentID varchar(20)"),
         kKitSelectSqlServer + QStringLiteral(" AND K.ItemID = @ComponentID ORDER BY K.ItemID")},
    };
}

} // namespace

const QVector<ServerProcedure>& ServerProcedures()
{
    static const QVector<ServerProcedure> procedures = BuildProcedures();
    return procedures;
}

const ServerProcedure* FindServerProcedure(const QString& name)
{
    for (const ServerProcedure& p : ServerProcedures())
        if (p.name.compare(name, Qt::CaseInsensitive) == 0)
            return &p;
    return nullptr;
}

QString PgSchemaOfDatabase(const QString& database)
{
    if (database.compare(QLatin1String("INVENTORY"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("inventory");
    if (database.compare(QLatin1String("Password"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("password");
    return {};
}

namespace {

QString PgColumnDdl(const ColumnDef& c)
{
    QString part = c.name + QLatin1Char(' ') + PgType(c.type);
    if (!c.nullable)
        part += QStringLiteral(" NOT NULL");
    if (c.type == ColumnType::Text && c.length > 0)
        part += QStringLiteral(" CONSTRAINT %1%2 CHECK (char_length(%2) <= %3)")
                    .arg(kPgLengthCheckPrefix, c.name.toLower())
                    .arg(c.length);
    return part;
}

// The tables and indexes of the catalog; `ifMissing` makes each statement
// leave alone what exists.
QStringList PgTablesDdl(const Catalog& catalog, bool ifMissing)
{
    const QString create = ifMissing ? QStringLiteral("CREATE TABLE IF NOT EXISTS") : QStringLiteral("CREATE TABLE");
    const QString index = ifMissing ? QStringLiteral("CREATE INDEX IF NOT EXISTS") : QStringLiteral("CREATE INDEX");
    QStringList ddl;
    for (const TableDef& t : catalog.Tables()) {
        const QString table = PgSchemaOfDatabase(t.database) + QLatin1Char('.') + t.name;
        QStringList parts;
        for (const ColumnDef& c : t.columns)
            parts << PgColumnDdl(c);
        if (t.primaryKey.isEmpty())
            parts << kRowNumber + QStringLiteral(" bigint GENERATED ALWAYS AS IDENTITY");
        else
            parts << QStringLiteral("PRIMARY KEY (%1)").arg(t.primaryKey.join(QStringLiteral(", ")));
        ddl << QStringLiteral("%1 %2 (%3)").arg(create, table, parts.join(QStringLiteral(", ")));
        // Columns a later version added to a table that exists.
        if (ifMissing)
            for (const ColumnDef& c : t.columns)
                ddl << QStringLiteral("ALTER TABLE %1 ADD COLUMN IF NOT EXISTS %2").arg(table, PgColumnDdl(c));
        if (!t.primaryKey.isEmpty()) {
            QStringList keys;
            for (const QString& column : t.primaryKey)
                keys << PgKey(t, column);
            ddl << QStringLiteral("%1 %2_key ON %3 (%4)").arg(index, t.name, table, keys.join(QStringLiteral(", ")));
        }
    }
    for (const IndexDef& ix : catalog.Indexes()) {
        if (ix.embeddedOnly)
            continue;
        const TableDef* t = catalog.FindTable(ix.table);
        QStringList keys;
        for (const QString& column : ix.columns)
            keys << PgKey(*t, column);
        ddl << QStringLiteral("%1 %2 ON %3.%4 (%5)")
                   .arg(index, ix.name, PgSchemaOfDatabase(t->database), ix.table, keys.join(QStringLiteral(", ")));
    }
    return ddl;
}

} // namespace

QStringList PgSchemaDdl(const Catalog& catalog)
{
    QStringList ddl;
    for (const char* statement : kPgSupport)
        ddl << QString::fromLatin1(statement);
    ddl << QStringLiteral("CREATE SCHEMA inventory") << QStringLiteral("CREATE SCHEMA password");
    ddl << PgTablesDdl(catalog, false);
    for (const ServerProcedure& p : ServerProcedures())
        ddl << PgProcedureDdl(p);
    return ddl + PgUpgradeDdl(1);
}

int PgLayoutOf(const std::function<RowSet(const QString&)>& run)
{
    if (!run(QStringLiteral("SELECT to_regclass('tessary.layout') IS NOT NULL")).Field(0).toBool())
        return 1;
    return run(QStringLiteral("SELECT max(version) FROM tessary.layout")).Field(0).toInt();
}

QStringList PgUpgradeDdl(int from)
{
    QStringList ddl;
    if (from < 2) {
        for (const char* statement : kPgLayout2Support)
            ddl << QString::fromLatin1(statement);
        // The product search by the start of a name, in name order: the
        // folded name and description in code point order, as the embedded
        // file orders them. The translation writes the search's LIKE and
        // ORDER BY on the same keys (see PgTranslator).
        ddl << QStringLiteral("CREATE INDEX ixMasterNameFolded ON inventory.tbInvMaster "
                              "((lower(ItemName::text)) COLLATE \"C\", (lower(ItemDesc::text)) COLLATE \"C\")")
            // The new request number: the last entry of this index.
            << QStringLiteral("CREATE INDEX ixRequestNumberValue ON inventory.tbInvWithdrawRequest "
                              "((tessary.tsql_int_key(DocumentNumber::text)) COLLATE \"C\")")
            // The requests not yet processed, by location and time, as the
            // request list asks for them: a few among years of history. The
            // list's other columns ride along, so that it reads the index
            // alone and not rows scattered over the whole history.
            << QStringLiteral("CREATE INDEX ixRequestOpen ON inventory.tbInvWithdrawRequest "
                              "((rtrim(lower(LocationID::text))), TransDate) INCLUDE (LocationID, VerifiedBy, "
                              "DocumentNumber, UserID, TargetLocationID, Status) WHERE %1")
                   .arg(kPgOpenRequest)
            // How many requests are open and how many of them verified: the
            // planner reads the list's conditions from these statistics
            // (PostgreSQL 14 and later keep statistics of expressions).
            << QStringLiteral("DO $d$ BEGIN IF current_setting('server_version_num')::integer >= 140000 THEN "
                              "EXECUTE 'CREATE STATISTICS inventory.tbInvWithdrawRequest_state "
                              "ON (rtrim(lower(coalesce(Status, ''''::public.citext)::text))), "
                              "(rtrim(lower(coalesce(VerifiedBy, ''''::public.citext)::text))) "
                              "FROM inventory.tbInvWithdrawRequest'; END IF; END $d$")
            << QStringLiteral("CREATE TABLE tessary.layout (version integer NOT NULL)");
    }
    if (from < 3) {
        // An item's stock at a location, as the product search reads it for
        // every item it passes in name order: from the index alone, not
        // from stock rows scattered over the whole table. The plain codes
        // ride along because the server reads a row from an index only when
        // the index holds every column the statement names.
        ddl << QStringLiteral("CREATE INDEX ixInventStockRead ON inventory.tbInvent "
                              "((rtrim(lower(LocationID::text))), (rtrim(lower(ItemID::text)))) "
                              "INCLUDE (LocationID, ItemID, ItemStatus, Markup_In, Markup_Out)");
    }
    if (from < kPgLayout)
        ddl << QStringLiteral("INSERT INTO tessary.layout VALUES (%1)").arg(kPgLayout)
            << QStringLiteral("ANALYZE inventory.tbInvMaster") << QStringLiteral("ANALYZE inventory.tbInvent")
            << QStringLiteral("ANALYZE inventory.tbInvWithdrawRequest");
    return ddl;
}

QStringList PgMissingTablesDdl(const Catalog& catalog)
{
    return PgTablesDdl(catalog, true);
}

QStringList SqlServerSchemaDdl(const Catalog& catalog)
{
    QStringList ddl;
    for (const char* database : {"INVENTORY", "Password"})
        ddl << QStringLiteral("IF DB_ID(N'%1') IS NULL CREATE DATABASE [%1]").arg(QLatin1String(database));
    for (const TableDef& t : catalog.Tables()) {
        QStringList parts;
        for (const ColumnDef& c : t.columns)
            parts << c.name + QLatin1Char(' ') + SqlServerType(c) + (c.nullable ? QString() : QStringLiteral(" NOT NULL"));
        if (t.primaryKey.isEmpty())
            parts << kRowNumber + QStringLiteral(" bigint IDENTITY(1,1) NOT NULL");
        else
            parts << QStringLiteral("PRIMARY KEY (%1)").arg(t.primaryKey.join(QStringLiteral(", ")));
        ddl << QStringLiteral("CREATE TABLE [%1].dbo.%2 (%3)").arg(t.database, t.name, parts.join(QStringLiteral(", ")));
    }
    for (const IndexDef& ix : catalog.Indexes()) {
        if (!ix.embeddedOnly)
            ddl << QStringLiteral("CREATE INDEX %1 ON [%2].dbo.%3 (%4)")
                       .arg(ix.name, catalog.FindTable(ix.table)->database, ix.table, ix.columns.join(QStringLiteral(", ")));
    }
    ddl << QStringLiteral("USE [INVENTORY]");
    for (const ServerProcedure& p : ServerProcedures())
        ddl << QStringLiteral("CREATE PROCEDURE dbo.%1 %2 AS SET NOCOUNT ON; %3").arg(p.name, p.sqlServerParameters, p.sqlServerBody);
    return ddl;
}

} // namespace db
