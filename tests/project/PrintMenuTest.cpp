// The print commands of the main window, with a recording printer; the pages are the core's.
#include "MainWindowFixture.h"

namespace tepa::test {
namespace {

using PrintMenu = MainWindowFixture;

TEST_F(PrintMenu, Walk)
{
    recordBoxes = true;
    createWindow();
    loadSample();
    boxes.taken();
    // A program folder holding the letterhead logo; the fixture installation has none.
    const QString logoDir = tempPath("program");
    QDir().mkpath(logoDir);
    writeFile(logoDir + "/image4.bmp", "BM");
    const std::filesystem::path installed = session->ProgramDir;
    auto& printer = doubles.printer;
    runScript("PrintMenu.txt",
              {{"logo",
                [&](const std::vector<std::string>& words) {
                    session->ProgramDir = words[1] == "yes" ? std::filesystem::path(logoDir.toStdString()) : installed;
                    return QString();
                }},
               {"printer", // "cancel" or the resolution of the pages
                [&](const std::vector<std::string>& words) {
                    printer.cancel = words[1] == "cancel";
                    printer.dpi = printer.cancel ? printer.dpi : std::stoi(words[1]);
                    return QString();
                }},
               {"print", // the menu item, and for the calculation sheet which list it asks for
                [&](const std::vector<std::string>& words) {
                    boxes.answer = words.size() < 3 || words[2] == "heating";
                    const auto listBefore = session->ConvectorList;
                    const std::size_t jobsBefore = printer.jobs.size();
                    const qsizetype namesBefore = printer.jobNames.size();
                    qobject_cast<QAction*>(named(words[1]))->trigger();
                    const QString program = QString::fromStdString(session->ProgramDir.string());
                    QStringList out;
                    if (!boxes.boxes.isEmpty())
                        out << boxes.taken().replace(program, "<program>");
                    for (qsizetype i = namesBefore; i < printer.jobNames.size(); ++i)
                        out << "job '" + printer.jobNames[i] + "'";
                    for (std::size_t i = jobsBefore; i < printer.jobs.size(); ++i) {
                        const auto& job = printer.jobs[i];
                        QString page = QString("%1 texts").arg(job.texts.size());
                        for (const char* mark : {"WFW", "Text 110", "Text 186", "Text 141"})
                            page += job.find(mark) ? QString(" ") + mark : QString();
                        if (const auto* heading = job.find("Text 86"))
                            page += QString(" Text 86 at %1").arg(heading->y);
                        for (const auto& bitmap : job.bitmaps)
                            page += " bitmap " + QString::fromStdString(bitmap.file.filename().string());
                        out << page;
                    }
                    if (session->ConvectorList != listBefore)
                        out << "list changed";
                    return out.join(" | ");
                }}});
}

} // namespace
} // namespace tepa::test
