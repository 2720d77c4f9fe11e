#include "db/ServerLogin.h"

#include "db/DbError.h"

#include <QUrl>
#include <QUrlQuery>

namespace db {

namespace {

struct Scheme {
    const char* name;
    Backend backend;
    ServerLogin::Driver driver;
};

constexpr Scheme kSchemes[] = {
    {"postgresql", Backend::PostgreSql, ServerLogin::Driver::Native},
    {"postgres", Backend::PostgreSql, ServerLogin::Driver::Native},
    {"sqlserver", Backend::SqlServer, ServerLogin::Driver::Odbc},
    {"odbc-postgresql", Backend::PostgreSql, ServerLogin::Driver::Odbc},
};

QString OdbcValue(const QString& value)
{
    if (!value.contains(QLatin1Char(';')) && !value.contains(QLatin1Char('{')) && !value.contains(QLatin1Char('}'))
        && value.trimmed() == value)
        return value;
    QString braced = value;
    braced.replace(QLatin1Char('}'), QLatin1String("}}"));
    return QLatin1Char('{') + braced + QLatin1Char('}');
}

} // namespace

bool ServerLogin::IsUrl(const QString& text)
{
    for (const Scheme& s : kSchemes)
        if (text.startsWith(QLatin1String(s.name) + QLatin1String("://"), Qt::CaseInsensitive))
            return true;
    return false;
}

ServerLogin ServerLogin::FromUrl(const QString& text)
{
    const QUrl url(text, QUrl::StrictMode);
    ServerLogin login;
    bool known = false;
    for (const Scheme& s : kSchemes) {
        if (url.scheme().compare(QLatin1String(s.name), Qt::CaseInsensitive) == 0) {
            login.backend = s.backend;
            login.driver = s.driver;
            known = true;
        }
    }
    const QUrlQuery query(url);
    login.odbcDsn = query.queryItemValue(QStringLiteral("dsn"), QUrl::FullyDecoded);
    login.odbcDriver = query.queryItemValue(QStringLiteral("driver"), QUrl::FullyDecoded);
    if (!url.isValid() || !known || (url.host().isEmpty() && login.odbcDsn.isEmpty()))
        throw DbError(QStringLiteral("\"%1\" is no server address: write postgresql://USER@HOST:PORT/DATABASE, "
                                     "sqlserver://USER@HOST:PORT/DATABASE?driver=NAME (or ?dsn=NAME) or "
                                     "odbc-postgresql://USER@HOST:PORT/DATABASE?driver=NAME.")
                          .arg(text));
    login.host = url.host();
    login.port = url.port(0);
    login.user = url.userName(QUrl::FullyDecoded);
    login.password = url.password(QUrl::FullyDecoded);
    login.database = url.path(QUrl::FullyDecoded).mid(1);
    if (login.database.isEmpty())
        login.database = login.backend == Backend::SqlServer ? QStringLiteral("INVENTORY") : QStringLiteral("tessary");
    if (login.driver == Driver::Odbc && login.odbcDsn.isEmpty() && login.odbcDriver.isEmpty())
        login.odbcDriver = login.backend == Backend::SqlServer ? QStringLiteral("FreeTDS") : QStringLiteral("PostgreSQL Unicode");
    return login;
}

QString ServerLogin::ToUrl() const
{
    QUrl url;
    for (const Scheme& s : kSchemes)
        if (s.backend == backend && s.driver == driver) {
            url.setScheme(QLatin1String(s.name));
            break;
        }
    url.setHost(host);
    if (port > 0)
        url.setPort(port);
    url.setUserName(user);
    url.setPath(QLatin1Char('/') + database);
    QUrlQuery query;
    if (!odbcDsn.isEmpty())
        query.addQueryItem(QStringLiteral("dsn"), odbcDsn);
    else if (driver == Driver::Odbc && !odbcDriver.isEmpty())
        query.addQueryItem(QStringLiteral("driver"), odbcDriver);
    url.setQuery(query);
    return url.toString();
}

QString OdbcConnectionString(const ServerLogin& login)
{
    QStringList parts;
    if (!login.odbcDsn.isEmpty()) {
        parts << QStringLiteral("DSN=") + OdbcValue(login.odbcDsn);
    } else {
        parts << QStringLiteral("DRIVER={%1}").arg(QString(login.odbcDriver).replace(QLatin1Char('}'), QLatin1String("}}")));
        // The vendor's SQL Server drivers take the port after a comma in
        // SERVER; FreeTDS and PostgreSQL's driver take PORT.
        const bool portKeyword = login.backend == Backend::PostgreSql
                                 || login.odbcDriver.contains(QLatin1String("FreeTDS"), Qt::CaseInsensitive);
        if (login.port > 0 && !portKeyword)
            parts << QStringLiteral("SERVER=") + OdbcValue(QStringLiteral("%1,%2").arg(login.host).arg(login.port));
        else
            parts << QStringLiteral("SERVER=") + OdbcValue(login.host);
        if (login.port > 0 && portKeyword)
            parts << QStringLiteral("PORT=%1").arg(login.port);
    }
    if (!login.database.isEmpty())
        parts << QStringLiteral("DATABASE=") + OdbcValue(login.database);
    if (!login.user.isEmpty())
        parts << QStringLiteral("UID=") + OdbcValue(login.user);
    if (!login.password.isEmpty())
        parts << QStringLiteral("PWD=") + OdbcValue(login.password);
    return parts.join(QLatin1Char(';')) + QLatin1Char(';');
}

} // namespace db
