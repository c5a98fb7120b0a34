// The real program, started as a planner starts it: from any folder, on the installation
// beside it, with the working directory already in the settings.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

namespace {

struct ProgramRun
{
    bool finished = false;
    QProcess::ExitStatus status = QProcess::CrashExit;
    int exitCode = -1;
    QByteArray errors;
};

// Starts the program in `folder` with its settings under `configHome` and lets it quit as soon
// as its event loop runs.
ProgramRun startProgram(const QString& folder, const QString& configHome, const QString& home)
{
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("TEPA_QUIT_AFTER_START"), QStringLiteral("1"));
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(folder);
    program.start(QStringLiteral(TEPA_APP_EXECUTABLE), {});
    ProgramRun run;
    run.finished = program.waitForFinished(20000);
    if (!run.finished) {
        program.kill();
        program.waitForFinished(5000);
    }
    run.status = program.exitStatus();
    run.exitCode = program.exitCode();
    run.errors = program.readAllStandardError();
    return run;
}

TEST(Executable, StartsFromAnyFolderOnItsInstallationAndQuitsCleanly)
{
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QString work = temp.filePath("work");
    const QString config = temp.filePath("config");
    ASSERT_TRUE(QDir().mkpath(config + "/Orva"));
    ASSERT_TRUE(QDir().mkpath(temp.filePath("home")));
    {
        // The settings store the program uses on this system, holding the working directory,
        // so no dialog waits for an answer.
        QFile settings(config + "/Orva/kiv.conf");
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write("[General]\nArbeitsverzeichnis=" + work.toUtf8() + "\n");
    }

    const ProgramRun run = startProgram(temp.path(), config, temp.filePath("home"));

    ASSERT_TRUE(run.finished) << "the program did not end by itself; stderr:\n" << run.errors.toStdString();
    EXPECT_EQ(run.status, QProcess::NormalExit) << run.errors.toStdString();
    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
    // Start-up ran through: the working directory from the settings got its two folders.
    EXPECT_TRUE(QFileInfo(work + "/Projekte").isDir());
    EXPECT_TRUE(QFileInfo(work + "/tmp").isDir());
}

} // namespace
