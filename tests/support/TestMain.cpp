// Test entry point shared by every test program. Each process gets its own HOME and
// XDG folders so that no test reads or writes the user's settings, trash or sockets.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cstdlib>

namespace {

QString makeIsolatedHome()
{
    static QTemporaryDir root(QDir::tempPath() + QStringLiteral("/dorvane-test-XXXXXX"));
    const QString base = root.path();
    for (const char* sub : {"home", "config", "data", "runtime", "cache"})
        QDir().mkpath(base + QLatin1Char('/') + QLatin1String(sub));
    QFile::setPermissions(base + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return base;
}

void isolateEnvironment()
{
    const QByteArray base = makeIsolatedHome().toLocal8Bit();
    setenv("HOME", QByteArray(base + "/home").constData(), 1);
    setenv("XDG_CONFIG_HOME", QByteArray(base + "/config").constData(), 1);
    setenv("XDG_DATA_HOME", QByteArray(base + "/data").constData(), 1);
    setenv("XDG_RUNTIME_DIR", QByteArray(base + "/runtime").constData(), 1);
    setenv("XDG_CACHE_HOME", QByteArray(base + "/cache").constData(), 1);
    if (!getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

} // namespace

int main(int argc, char** argv)
{
    isolateEnvironment();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
