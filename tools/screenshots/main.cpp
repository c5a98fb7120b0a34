// Pictures of the application for the user guide. The two windows are built as the program
// builds them, with the real platform services, on a real display (scripts/screenshots.sh runs
// this under a virtual X server). The driver then works through a new heating design and the
// sample project, heating and cooling, through the windows' own controls, and saves a picture
// of each stage, and finally prints the calculation data, which without a printer goes to a
// PDF file. The modal windows the program shows on the way (the file dialogs, the information
// after loading, the print preview) are answered by a timer, as a planner would answer them.
//
// usage: make-screenshots DATA_DIR PROJECT.kon OUT_DIR
//   DATA_DIR     the installation folder the program runs on (give it a copy: the working
//                folder, from the settings under $HOME, is set to $HOME/ORVA)
//   PROJECT.kon  the project loaded for the heating and cooling pictures
//   OUT_DIR      where the PNG files go
#include "app/TForm1.h"
#include "calcwindow/SizingDialog.h"
#include "calcwindow/TForm2.h"
#include "platform/qt/QtServices.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QTableWidget>
#include <QRadioButton>
#include <QScrollBar>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <stdexcept>

namespace {

// Pictures above this size are scaled down until they fit; the guide lives in the repository.
constexpr qint64 MaxPictureBytes = 150 * 1024;
// The information after loading a project with heating and cooling lists.
constexpr std::size_t ProjectWithBothText = 213;
// The question whether to save the changed project first (answered No).
constexpr std::size_t SaveQuestionText = 121;
// The question which calculation sheet to print when the room heats and cools.
constexpr std::size_t WhichSheetText = 288;

std::string utf8(const QString& text)
{
    return text.toStdString();
}

[[noreturn]] void fail(const QString& what)
{
    throw std::runtime_error(utf8(what));
}

// Answers the modal windows the program opens while a step runs: a file dialog gets the file
// set beforehand (or is cancelled), a question is answered No, a message is confirmed. A
// message nobody announced is kept: the pictures would then not show the intended stage.
class ModalAnswerer
{
public:
    ModalAnswerer()
    {
        m_timer.setInterval(25);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { answer(); });
        m_timer.start();
    }

    void nextFile(const QString& file) { m_file = file; }
    void expectMessage(const QString& text) { m_expected.push_back(text); }
    const QStringList& unexpectedMessages() const { return m_unexpected; }

private:
    void answer()
    {
        QWidget* modal = QApplication::activeModalWidget();
        // The sizing assistant is pictured and closed by its own step.
        if (!modal || qobject_cast<tepa::SizingDialog*>(modal))
            return;
        if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            if (m_file.isEmpty()) {
                std::cerr << "file dialog cancelled\n";
                dialog->reject();
                return;
            }
            // The dialog reads its folder in the background; until it has, it may not take the
            // file, so the answer is repeated until the dialog closes.
            const QFileInfo file(m_file);
            dialog->setDirectory(file.absolutePath());
            dialog->selectFile(file.fileName());
            // Through QDialog, where accept() is public; the dialog's own accept() takes the file.
            static_cast<QDialog*>(dialog)->accept();
            if (dialog->result() == QDialog::Accepted) {
                std::cerr << "file dialog: " << utf8(m_file) << '\n';
                m_file.clear();
            }
            return;
        }
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            std::cerr << "message: " << utf8(box->text()) << '\n';
            if (!m_expected.isEmpty() && m_expected.front() == box->text())
                m_expected.pop_front();
            else
                m_unexpected.push_back(box->text());
            QAbstractButton* button = box->button(QMessageBox::No);
            if (!button)
                button = box->button(QMessageBox::Ok);
            if (!button)
                button = box->defaultButton();
            if (button)
                button->click();
            else
                box->reject();
            return;
        }
        // The print preview: its OK button ("Drucken") prints.
        if (auto* buttons = modal->findChild<QDialogButtonBox*>()) {
            if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok)) {
                std::cerr << "dialog " << utf8(modal->windowTitle()) << ": " << utf8(ok->text()) << '\n';
                ok->click();
            }
        }
    }

    QTimer m_timer;
    QString m_file;
    QStringList m_expected;
    QStringList m_unexpected;
};

template <class Control> Control* find(QWidget* window, const char* name)
{
    auto* control = window->findChild<Control*>(QString::fromLatin1(name));
    if (!control)
        fail(QStringLiteral("no control %1 in %2").arg(QLatin1String(name), window->objectName()));
    return control;
}

// Lets the windows lay out and paint what the last step changed.
void settle()
{
    QTest::qWait(150);
}

// Replaces the text of a field key by key and confirms it with Enter, as the planner would.
// QTest types ASCII keys only; other characters arrive as key events carrying their text.
void typeInto(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(edit, c.toLatin1());
        } else {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(edit, &press);
            QApplication::sendEvent(edit, &release);
        }
    }
    QTest::keyClick(edit, Qt::Key_Return);
}

// The row of a list whose text, without leading blanks, starts with `start` followed by a blank
// or the end of the text.
int rowStartingWith(QListWidget* list, const QString& start)
{
    for (int row = 0; row < list->count(); ++row) {
        const QString text = list->item(row)->text().trimmed();
        if (text == start || text.startsWith(start + QLatin1Char(' ')))
            return row;
    }
    fail(QStringLiteral("no line %1 in %2").arg(start, list->objectName()));
}

void clickRow(QListWidget* list, int row, bool doubleClick = false)
{
    if (row < 0 || row >= list->count())
        fail(QStringLiteral("no row %1 in %2").arg(row).arg(list->objectName()));
    QListWidgetItem* item = list->item(row);
    list->scrollToItem(item);
    QCoreApplication::processEvents();
    const QPoint at = list->visualItemRect(item).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    if (doubleClick)
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    settle();
}

void savePicture(QWidget* window, const QString& outDir, const QString& name)
{
    settle();
    QImage image = window->grab().toImage().convertToFormat(QImage::Format_RGB888);
    const QString file = QDir(outDir).filePath(name);
    for (;;) {
        if (!image.save(file, "PNG", 9))
            fail(QStringLiteral("cannot write %1").arg(file));
        if (QFileInfo(file).size() <= MaxPictureBytes)
            break;
        image = image.scaledToWidth(image.width() * 9 / 10, Qt::SmoothTransformation);
    }
    std::cout << utf8(file) << "  " << image.width() << "x" << image.height() << "  "
              << QFileInfo(file).size() / 1024 << " KB\n";
}

struct Windows
{
    tepa::TForm1& form1;
    tepa::TForm2& form2;
    ModalAnswerer& answerer;
    QString project;
    QString outDir;
};

// A new project: room data for heating typed in, a fan convector type picked from the room's
// type list, then its length and height in the calculation window.
void newHeatingDesign(Windows& w)
{
    w.form1.Neu1->trigger();
    settle();
    w.form1.Raumdaten1->trigger();
    settle();
    typeInto(find<QLineEdit>(&w.form1, "Edit13"), QStringLiteral("Büro 1.12"));
    typeInto(find<QLineEdit>(&w.form1, "Edit3"), QStringLiteral("20"));
    typeInto(find<QLineEdit>(&w.form1, "Edit2"), QStringLiteral("1850"));
    typeInto(find<QLineEdit>(&w.form1, "Edit4"), QStringLiteral("70"));
    auto* types = find<QListWidget>(&w.form1, "ListBox3");
    const int fanType = rowStartingWith(types, QStringLiteral("WF"));
    clickRow(types, fanType);
    savePicture(&w.form1, w.outDir, QStringLiteral("main-room-data.png"));

    clickRow(types, fanType, true);
    if (w.form2.isHidden())
        fail(QStringLiteral("the calculation window did not open"));
    clickRow(find<QListWidget>(&w.form2, "ListBox1"), 1);
    clickRow(find<QListWidget>(&w.form2, "ListBox3"), 3);
    clickRow(find<QListWidget>(&w.form2, "ListBox4"), 0);
    savePicture(&w.form2, w.outDir, QStringLiteral("calc-type-choice.png"));

    find<QPushButton>(&w.form2, "Konweiter")->click();
    settle();
    find<QScrollBar>(&w.form2, "DrehzahlBar4")->setValue(1000);
    typeInto(find<QLineEdit>(&w.form2, "Edit1"), QStringLiteral("55"));
    savePicture(&w.form2, w.outDir, QStringLiteral("calc-heating-new.png"));

    // The sizing assistant's list for the rest of the room's demand, its first line marked.
    find<QAction>(&w.form2, "Auslegung1")->trigger();
    settle();
    auto* sizing = w.form2.findChild<tepa::SizingDialog*>(QStringLiteral("SizingDialog"));
    if (!sizing)
        fail(QStringLiteral("the sizing assistant did not open"));
    sizing->SizingTable->selectRow(0);
    savePicture(sizing, w.outDir, QStringLiteral("calc-sizing.png"));
    sizing->reject();
    settle();
    find<QAction>(&w.form2, "Schliessen1")->trigger();
    settle();
}

// The sample project: its project data, its heating list with a fan entry being edited, its
// cooling list, and the project's convector list.
void sampleProject(Windows& w)
{
    w.answerer.nextFile(w.project);
    // The new design before it is not saved: the program asks first.
    w.answerer.expectMessage(QString::fromStdString(w.form1.session().InterfaceTexts.line(SaveQuestionText)));
    w.answerer.expectMessage(
        QString::fromStdString(w.form1.session().InterfaceTexts.line(ProjectWithBothText)));
    w.form1.Laden1->trigger();
    settle();
    savePicture(&w.form1, w.outDir, QStringLiteral("main-project-data.png"));

    w.form1.Raumdaten1->trigger();
    settle();
    w.form1.Berechnungen1->trigger();
    settle();
    if (w.form2.isHidden())
        fail(QStringLiteral("the calculation window did not open for heating"));
    auto* entries = find<QListWidget>(&w.form2, "ListBox2");
    clickRow(entries, 1);
    find<QPushButton>(&w.form2, "Bearbeiten")->click();
    savePicture(&w.form2, w.outDir, QStringLiteral("calc-heating.png"));
    find<QAction>(&w.form2, "Schliessen1")->trigger();
    settle();

    find<QRadioButton>(&w.form1, "RadioButton2")->click();
    settle();
    w.form1.Berechnungen1->trigger();
    settle();
    if (w.form2.isHidden())
        fail(QStringLiteral("the calculation window did not open for cooling"));
    savePicture(&w.form2, w.outDir, QStringLiteral("calc-cooling.png"));
    find<QAction>(&w.form2, "Schliessen1")->trigger();
    settle();

    w.form1.Konvliste->trigger();
    savePicture(&w.form1, w.outDir, QStringLiteral("main-convector-list.png"));

    // Printing without a printer writes a PDF file; it goes to the temporary home folder.
    const QString pdf = QDir(QDir::homePath()).filePath(QStringLiteral("berechnungsdaten.pdf"));
    // A file of an earlier run would bring up the question whether to replace it.
    QFile::remove(pdf);
    w.answerer.nextFile(pdf);
    // The sample room heats and cools: the program asks which sheet (answered No: cooling).
    w.answerer.expectMessage(QString::fromStdString(w.form1.session().InterfaceTexts.line(WhichSheetText)));
    w.form1.normal2->trigger();
    settle();
    if (!QFileInfo(pdf).isFile())
        fail(QStringLiteral("printing wrote no PDF file"));
    std::cout << utf8(pdf) << "  " << QFileInfo(pdf).size() / 1024 << " KB (printed by the application)\n";
}

} // namespace

int main(int argc, char** argv)
{
    // Qt's own dialogs, which the timer can answer, also where the desktop offers its own.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("ORVA TEPA"));
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 3) {
        std::cerr << "usage: make-screenshots DATA_DIR PROJECT.kon OUT_DIR\n";
        return 2;
    }
    const QString dataDir = QFileInfo(args[0]).absoluteFilePath();
    const QString project = QFileInfo(args[1]).absoluteFilePath();
    const QString outDir = QFileInfo(args[2]).absoluteFilePath();
    QDir().mkpath(outDir);

    // The working folder is known already, so the program starts without asking for it.
    QSettings(QStringLiteral("Orva"), QStringLiteral("kiv"))
        .setValue(QStringLiteral("Arbeitsverzeichnis"),
                  QDir(QDir::homePath()).filePath(QStringLiteral("ORVA")));

    ModalAnswerer answerer;
    tepa::Session session;
    tepa::platform::QtPlatform platform;
    tepa::TForm1 form1(session, platform.services(),
                       {std::filesystem::path(dataDir.toStdU16String()), {}, QDir::currentPath()});
    platform.setOwner(&form1);
    tepa::TForm2 form2(session, platform.services(), &form1);
    form1.setCalculationWindow(&form2);
    form2.setAttribute(Qt::WA_QuitOnClose, false);
    form1.show();

    Windows windows{form1, form2, answerer, project, outDir};
    // A modal window the answerer does not know would hold the run for ever.
    QTimer::singleShot(std::chrono::minutes(2), &app, [] {
        std::cerr << "make-screenshots: no end after two minutes\n";
        std::exit(1);
    });
    QTimer::singleShot(0, &app, [&] {
        try {
            newHeatingDesign(windows);
            sampleProject(windows);
            if (!answerer.unexpectedMessages().isEmpty())
                fail(QStringLiteral("unexpected message: ") + answerer.unexpectedMessages().front());
            QCoreApplication::exit(0);
        } catch (const std::exception& e) {
            std::cerr << "make-screenshots: " << e.what() << '\n';
            QCoreApplication::exit(1);
        }
    });
    return app.exec();
}
