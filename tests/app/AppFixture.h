#pragma once

#include "PlatformDoubles.h"

#include "app/TForm1.h"
#include "core/model/Session.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <memory>

namespace tepa::test {

// A main window started offscreen with the platform doubles, from a fresh temporary folder
// without interface texts, HOME inside it; current directory, HOME and quit-on-last-window are
// restored afterwards.
class AppFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_tempDir.isValid());
        m_savedCurrentDir = QDir::currentPath();
        m_hadHome = qEnvironmentVariableIsSet("HOME");
        m_savedHome = qgetenv("HOME");
        QDir().mkpath(tempPath("home"));
        qputenv("HOME", tempPath("home").toLocal8Bit());
        QDir::setCurrent(m_tempDir.path());
        // A closed window must not leave a quit request behind for a later test.
        QApplication::setQuitOnLastWindowClosed(false);
    }

    void TearDown() override
    {
        form.reset();
        QCoreApplication::processEvents();
        QApplication::setQuitOnLastWindowClosed(true);
        QDir::setCurrent(m_savedCurrentDir);
        if (m_hadHome)
            qputenv("HOME", m_savedHome);
        else
            qunsetenv("HOME");
    }

    // The main window as at program start (the constructor runs the start sequence).
    TForm1& start(const std::filesystem::path& installedDataDir = installDir())
    {
        StartOptions options;
        options.installedDataDir = installedDataDir;
        form = std::make_unique<TForm1>(session, doubles.services(), options);
        return *form;
    }

    void storeWorkDir(const QString& dir)
    {
        doubles.settings.values.insert(QStringLiteral("Arbeitsverzeichnis"), dir);
    }

    QString tempPath(const QString& name) const { return QDir(m_tempDir.path()).filePath(name); }

    static std::filesystem::path installDir()
    {
        return std::filesystem::path(TEPA_TEST_DATA_DIR) / "install";
    }
    static std::filesystem::path sourceDataDir() { return std::filesystem::path(TEPA_SOURCE_DATA_DIR); }

    static QString qPath(const std::filesystem::path& path)
    {
        return QString::fromStdU16String(path.u16string());
    }
    static std::string canonical(const QString& path)
    {
        return QFileInfo(path).canonicalFilePath().toStdString();
    }

    static bool isDir(const QString& path) { return QFileInfo(path).isDir(); }
    static void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
        file.write(bytes);
    }

    // Doubles first: the window keeps references to them and goes before them.
    PlatformDoubles doubles;
    Session session;
    std::unique_ptr<TForm1> form;

private:
    QTemporaryDir m_tempDir;
    QString m_savedCurrentDir;
    QByteArray m_savedHome;
    bool m_hadHome = false;
};

// Exit code of the event loop when nothing asked the application to quit.
constexpr int StillRunning = 77;

// Runs `action` inside the application's event loop and returns the loop's exit code: 0 when
// the action made the application quit, StillRunning when the loop went on after it.
inline int exitCodeAfter(const std::function<void()>& action)
{
    QTimer stillRunning;
    stillRunning.setSingleShot(true);
    QObject::connect(&stillRunning, &QTimer::timeout, qApp, [] { QCoreApplication::exit(StillRunning); });
    QTimer::singleShot(0, qApp, [&] {
        action();
        // Not at once: a timer due in the same pass would overwrite the quit's exit code.
        stillRunning.start(100);
    });
    return QApplication::exec();
}

} // namespace tepa::test
