#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QTemporaryDir>

namespace testing_support {

// Points the user's configuration and data folders ($XDG_CONFIG_HOME,
// $XDG_DATA_HOME) and the system's configuration folders ($XDG_CONFIG_DIRS)
// at temporary folders for as long as it lives, so that a test never reads
// or writes the real ones (nor /etc/xdg).
class ConfigFolders {
public:
    ConfigFolders()
    {
        Set("XDG_CONFIG_HOME", Home());
        Set("XDG_DATA_HOME", dir_.filePath(QStringLiteral("data")));
        Set("XDG_CONFIG_DIRS", System(0) + QLatin1Char(':') + System(1));
    }
    ~ConfigFolders()
    {
        for (int i = 0; i < 3; ++i)
            if (saved_[i].isNull())
                qunsetenv(kNames[i]);
            else
                qputenv(kNames[i], saved_[i]);
    }
    ConfigFolders(const ConfigFolders&) = delete;
    ConfigFolders& operator=(const ConfigFolders&) = delete;

    QString Home() const { return dir_.filePath(QStringLiteral("home")); }
    // The system's configuration folders, most important first.
    QString System(int index) const { return dir_.filePath(QStringLiteral("etc%1").arg(index)); }
    QString Path(const QString& name) const { return dir_.filePath(name); }

private:
    static constexpr const char* kNames[3] = {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CONFIG_DIRS"};

    void Set(const char* name, const QString& value)
    {
        for (int i = 0; i < 3; ++i)
            if (qstrcmp(kNames[i], name) == 0)
                saved_[i] = qgetenv(name);
        qputenv(name, value.toUtf8());
    }

    QTemporaryDir dir_;
    QByteArray saved_[3];
};

} // namespace testing_support
