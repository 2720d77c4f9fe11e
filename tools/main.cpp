// tessary-admin: creates site and demo databases, adds users, sets
// passwords and runs single statements. Only the command line is read
// here; the work is done by the admin library.
#include "admin/AdminError.h"
#include "admin/Databases.h"
#include "admin/Import.h"
#include "admin/SqlCommand.h"
#include "admin/Users.h"
#include "app/ConnectionSettings.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>
#include <cstdio>
#include <iostream>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace {

const char* const kUsage =
    "Usage:\n"
    "  PATH is a database file, or a server: postgresql://USER@HOST:PORT/DATABASE or\n"
    "  sqlserver://USER@HOST:PORT/DATABASE?driver=NAME (or ?dsn=NAME). The server's password is\n"
    "  taken from TESSARY_PASSWORD (PostgreSQL also: PGPASSWORD, ~/.pgpass) or asked for.\n"
    "  check and backup work on database files.\n"
    "  tessary-admin init PATH [--hospital NAME] [--address LINE] [--address2 LINE] [--code CODE]\n"
    "                                           create a new site database: the hospital record\n"
    "                                           (its name and address head every printed request)\n"
    "                                           and the site switches, all off; no other rows\n"
    "  tessary-admin demo PATH                  create the demo database\n"
    "  tessary-admin sql PATH STATEMENT         run one statement as the program sends it\n"
    "  tessary-admin upgrade PATH               bring a database of an older version up to date\n"
    "  tessary-admin check PATH                 run the database's integrity check\n"
    "  tessary-admin backup PATH DEST           copy the database to a new file, also while in use\n"
    "  tessary-admin user add PATH ID --last L --first F [--password P] [--dept D] [--verifier] [--issuer]\n"
    "                         [--location LOCID]...\n"
    "  tessary-admin user passwd PATH ID [PASSWORD]\n"
    "      Without a password on the command line (where other users of the machine can read it)\n"
    "      the password is asked for without echo, twice, or read from standard input when that\n"
    "      is not a terminal.\n"
    "  tessary-admin import PATH KIND FILE.csv [--dry-run] [--update]\n"
    "      KIND is locations, items, stock, kits or users; import them in that order. The file is\n"
    "      UTF-8, comma-separated, quoted as spreadsheets write it, with a header row naming the\n"
    "      columns (any order; names without regard to case). All or nothing: a file with any bad\n"
    "      row imports nothing and lists every bad row with its line. --dry-run checks without\n"
    "      writing; --update changes records whose code exists (otherwise refused).\n"
    "%1"
    "  tessary-admin default-path               print where the program looks without settings\n"
    "  tessary-admin --help                     print this text\n"
    "  tessary-admin --version                  print the version\n";

QString Usage()
{
    return QString::fromLatin1(kUsage).arg(admin::ImportColumnsHelp());
}

// The usage of one command: its lines of the usage text (the synopsis and
// what follows it up to the next command); the whole text for a command it
// does not name. "user add" and "user passwd" are commands of their own.
QString UsageOf(const QStringList& args)
{
    QString command = args.value(0);
    if (command == QLatin1String("user") && args.size() > 1)
        command += QLatin1Char(' ') + args[1];
    const QString synopsis = QStringLiteral("  tessary-admin ");
    QString lines;
    bool inside = false;
    for (const QString& line : Usage().split(QLatin1Char('\n'))) {
        if (line.startsWith(synopsis))
            inside = line.startsWith(synopsis + command + QLatin1Char(' '));
        else if (!line.startsWith(QStringLiteral("    ")))
            inside = false;  // the notes at the head
        if (inside)
            lines += line + QLatin1Char('\n');
    }
    return command.isEmpty() || lines.isEmpty() ? Usage() : QStringLiteral("Usage:\n") + lines;
}

constexpr int kUsageError = 2;

struct UsageError {
    QString message;
};

// One line of standard input, echo off when it is a terminal.
QString ReadLine(bool hidden)
{
    termios saved{};
    const bool terminal = isatty(STDIN_FILENO) && tcgetattr(STDIN_FILENO, &saved) == 0;
    if (terminal && hidden) {
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    std::string line;
    const bool read = bool(std::getline(std::cin, line));
    if (terminal && hidden) {
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::fputs("\n", stderr);
    }
    if (!read)
        throw admin::AdminError(QStringLiteral("No password given."));
    return QString::fromStdString(line);
}

// The password the operator types (twice, unseen) or pipes in.
QString ReadPassword()
{
    if (!isatty(STDIN_FILENO))
        return ReadLine(false);
    std::fputs("Password: ", stderr);
    const QString first = ReadLine(true);
    std::fputs("Password again: ", stderr);
    if (ReadLine(true) != first)
        throw admin::AdminError(QStringLiteral("The two passwords differ; nothing was changed."));
    return first;
}

// Asks for a server's password on the terminal, without echo; nothing to
// ask with when standard input is no terminal (it may carry a user's
// password).
admin::PasswordPrompt ServerPasswordPrompt()
{
    if (!isatty(STDIN_FILENO))
        return {};
    return [](const QString& who) {
        std::fputs(QStringLiteral("Server password for %1: ").arg(who).toLocal8Bit().constData(), stderr);
        return ReadLine(true);
    };
}

// Reads the options of "user add" that follow PATH and ID.
admin::NewUser ParseNewUser(const QString& id, const QStringList& options)
{
    admin::NewUser user;
    user.id = id;
    bool hasLast = false, hasFirst = false, hasPassword = false;
    for (int i = 0; i < options.size(); ++i) {
        const QString& option = options[i];
        if (option == QLatin1String("--verifier")) {
            user.MakeVerifier();
            continue;
        }
        if (option == QLatin1String("--issuer")) {
            user.issueTessary = true;
            continue;
        }
        if (i + 1 >= options.size())
            throw UsageError{QStringLiteral("Option %1 needs a value.").arg(option)};
        const QString value = options[++i];
        if (option == QLatin1String("--last")) {
            user.lastName = value;
            hasLast = true;
        } else if (option == QLatin1String("--first")) {
            user.firstName = value;
            hasFirst = true;
        } else if (option == QLatin1String("--password")) {
            user.password = value;
            hasPassword = true;
        } else if (option == QLatin1String("--dept")) {
            user.department = value;
        } else if (option == QLatin1String("--location")) {
            user.locations << value;
        } else {
            throw UsageError{QStringLiteral("Unknown option %1.").arg(option)};
        }
    }
    if (!hasLast || !hasFirst)
        throw UsageError{QStringLiteral("user add needs --last and --first.")};
    if (!hasPassword)
        user.password = ReadPassword();
    return user;
}

// Reads the options of "init" that follow PATH.
admin::Hospital ParseHospital(const QStringList& options)
{
    admin::Hospital hospital;
    for (int i = 0; i < options.size(); i += 2) {
        const QString& option = options[i];
        if (i + 1 >= options.size())
            throw UsageError{QStringLiteral("Option %1 needs a value.").arg(option)};
        const QString& value = options[i + 1];
        if (option == QLatin1String("--hospital"))
            hospital.name = value;
        else if (option == QLatin1String("--address"))
            hospital.address1 = value;
        else if (option == QLatin1String("--address2"))
            hospital.address2 = value;
        else if (option == QLatin1String("--code"))
            hospital.code = value;
        else
            throw UsageError{QStringLiteral("Unknown option %1.").arg(option)};
    }
    return hospital;
}

void RequireCount(const QStringList& args, int count)
{
    if (args.size() != count)
        throw UsageError{QStringLiteral("Wrong number of arguments for %1.").arg(args.value(0))};
}

// Runs the command the arguments name; throws UsageError when they name none.
void Dispatch(const QStringList& args, QTextStream& out)
{
    const QString command = args.value(0);
    if (command == QLatin1String("init")) {
        if (args.size() < 2)
            throw UsageError{QStringLiteral("init needs PATH.")};
        admin::InitSite(args[1], ParseHospital(args.mid(2)), ServerPasswordPrompt());
    } else if (command == QLatin1String("demo")) {
        RequireCount(args, 2);
        admin::CreateDemoDatabase(args[1], QDate::currentDate(), ServerPasswordPrompt());
    } else if (command == QLatin1String("sql")) {
        RequireCount(args, 3);
        out << admin::RunStatement(*admin::OpenSiteDatabase(args[1], ServerPasswordPrompt()), args[2]);
    } else if (command == QLatin1String("upgrade")) {
        RequireCount(args, 2);
        out << admin::UpgradeSiteDatabase(args[1], ServerPasswordPrompt()) << '\n';
    } else if (command == QLatin1String("check")) {
        RequireCount(args, 2);
        QString report;
        const bool sound = admin::CheckSiteDatabase(args[1], &report);
        out << report << '\n';
        if (!sound)
            throw admin::AdminError(QStringLiteral("The check found problems."));
    } else if (command == QLatin1String("backup")) {
        RequireCount(args, 3);
        admin::OpenDatabaseFile(args[1])->File().BackupTo(args[2]);
        out << QStringLiteral("The database \"%1\" was copied to \"%2\".").arg(args[1], args[2]) << '\n';
    } else if (command == QLatin1String("user") && args.value(1) == QLatin1String("add")) {
        if (args.size() < 4)
            throw UsageError{QStringLiteral("user add needs PATH and ID.")};
        const admin::NewUser user = ParseNewUser(args[3], args.mid(4));
        admin::AddUser(*admin::OpenSiteDatabase(args[2], ServerPasswordPrompt()), user);
    } else if (command == QLatin1String("user") && args.value(1) == QLatin1String("passwd")) {
        if (args.size() != 4 && args.size() != 5)
            throw UsageError{QStringLiteral("Wrong number of arguments for user passwd.")};
        const QString password = args.size() == 5 ? args[4] : ReadPassword();
        admin::SetPassword(*admin::OpenSiteDatabase(args[2], ServerPasswordPrompt()), args[3], password);
    } else if (command == QLatin1String("import")) {
        if (args.size() < 4)
            throw UsageError{QStringLiteral("import needs PATH, KIND and FILE.csv.")};
        const std::optional<admin::ImportKind> kind = admin::ImportKindNamed(args[2]);
        if (!kind)
            throw UsageError{QStringLiteral("Unknown kind of import %1.").arg(args[2])};
        admin::ImportOptions options;
        for (const QString& option : args.mid(4)) {
            if (option == QLatin1String("--dry-run"))
                options.dryRun = true;
            else if (option == QLatin1String("--update"))
                options.update = true;
            else
                throw UsageError{QStringLiteral("Unknown option %1.").arg(option)};
        }
        const admin::ImportSummary summary =
            admin::ImportFile(*admin::OpenSiteDatabase(args[1], ServerPasswordPrompt()), *kind, args[3], options);
        out << admin::DescribeImport(*kind, summary, options, args[1]);
    } else if (command == QLatin1String("default-path")) {
        RequireCount(args, 1);
        out << app::ConnectionSettings::DefaultDatabasePath() << '\n';
    } else {
        throw UsageError{command.isEmpty() ? QStringLiteral("No command given.")
                                           : QStringLiteral("Unknown command %1.").arg(command)};
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = application.arguments().mid(1);

    if (args.value(0) == QLatin1String("--help") || args.value(0) == QLatin1String("-h")) {
        out << Usage();
        return 0;
    }
    if (args.value(0) == QLatin1String("--version")) {
        out << "tessary-admin " << TESSARY_VERSION << '\n';
        return 0;
    }
    try {
        return admin::RunReportingFailure([&] { Dispatch(args, out); }, err);
    } catch (const UsageError& e) {
        err << e.message << '\n' << UsageOf(args);
        return kUsageError;
    }
}
