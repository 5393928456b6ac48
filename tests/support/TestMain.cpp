// Test entry point shared by every test program. Each process gets its own HOME and
// XDG folders so that no test reads or writes the user's settings, trash or sockets.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>
#include <cstdlib>
#include <memory>

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

// A modal window that no test answers would otherwise hang the test until CTest kills
// it; this fails the test with the window's title and closes it instead.
void failUnansweredModals(QApplication& app)
{
    auto* watchdog = new QTimer(&app);
    auto seenSince = std::make_shared<QWidget*>(nullptr);
    auto ticks = std::make_shared<int>(0);
    QObject::connect(watchdog, &QTimer::timeout, &app, [seenSince, ticks] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal != *seenSince) {
            *seenSince = modal;
            *ticks = 0;
            return;
        }
        if (++*ticks < 10)
            return;
        ADD_FAILURE() << "unanswered modal window: " << modal->windowTitle().toStdString();
        modal->close();
        *seenSince = nullptr;
    });
    watchdog->start(500);
}

} // namespace

int main(int argc, char** argv)
{
    isolateEnvironment();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    failUnansweredModals(app);
    return RUN_ALL_TESTS();
}
