// The real program, started from any folder on its installation, the working directory set.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

namespace {

TEST(Executable, StartsFromAnyFolderOnItsInstallationAndQuitsCleanly)
{
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QString work = temp.filePath("work");
    const QString config = temp.filePath("config");
    ASSERT_TRUE(QDir().mkpath(config + "/Orva"));
    ASSERT_TRUE(QDir().mkpath(temp.filePath("home")));
    {
        QFile settings(config + "/Orva/kiv.conf");
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write("[General]\nArbeitsverzeichnis=" + work.toUtf8() + "\n");
    }

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    environment.insert(QStringLiteral("HOME"), temp.filePath("home"));
    environment.insert(QStringLiteral("TEPA_QUIT_AFTER_START"), QStringLiteral("1"));
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(temp.path());
    program.start(QStringLiteral(TEPA_APP_EXECUTABLE), {});
    const bool finished = program.waitForFinished(20000);
    if (!finished)
        program.kill(), program.waitForFinished(5000);
    const std::string errors = program.readAllStandardError().toStdString();
    ASSERT_TRUE(finished) << "the program did not end by itself; stderr:\n" << errors;
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << errors;
    EXPECT_EQ(program.exitCode(), 0) << errors;
    EXPECT_TRUE(QFileInfo(work + "/Projekte").isDir() && QFileInfo(work + "/tmp").isDir());
}

} // namespace
