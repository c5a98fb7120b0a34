#pragma once

#include "core/model/Session.h"
#include "platform/Services.h"

#include <QLockFile>
#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QGroupBox;
class QLabel;

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QFrame;

namespace tepa {

class TForm2;

// Where the program finds its installation and how it was started.
struct StartOptions
{
    // The installed data folder, used when the current directory holds no interface texts.
    std::filesystem::path installedDataDir;
    // The command-line arguments after the program name.
    QStringList arguments;
    // The current directory when the program was started; a relative project file named on
    // the command line is taken from here, not from the data folder the program moves to.
    QString startDirectory;
    // The same arguments as the system gave them (bytes): a file name that is not valid in the
    // locale's encoding is saved under exactly the name that was given.
    std::vector<std::string> argumentBytes{};
};

// The main window: menus, the project data panel, the room data panel with the type list, the
// information box and the convector list panel. The class is split over several source files
// by subsystem: src/app (start-up, menus, exit), src/project (project files, project and room
// data), src/help (type pictures, information box).
class TForm1 : public QMainWindow
{
    Q_OBJECT

public:
    TForm1(Session& session, platform::Services services, StartOptions options, QWidget* parent = nullptr);
    ~TForm1() override;

    // The calculation window; created after the main window, as at start.
    void setCalculationWindow(TForm2* form2);

    // Start-up (src/app/TForm1.cpp)
    void FormCreate();
    void establishWorkingDirectory();
    void Programmbeenden1Click();
    // "Arbeitsverzeichnis ...": chooses another working folder (src/app/TForm1.cpp).
    void Arbeitsverzeichnis1Click();
    // Command-line mode: opens the project file named on the command line, run once at start
    // after the calculation window exists (src/project/ProjectFiles.cpp).
    void openCommandLineProject();

    // The project differs from what was last loaded, saved or started new, typing not yet
    // taken over from the panels included.
    bool projectModified();
    // Shows the modified marker in the window title when the project is modified.
    void updateModifiedMarker();

    // Project files (src/project/ProjectFiles.cpp)
    void Laden1Click();
    // Loads a project file as the load command does after its dialog; false (after the message)
    // when the file is no project or cannot be read.
    bool loadProject(const QString& file);
    // True when the project was written.
    bool Speichern1Click();
    // Command-line mode: the project file named by the arguments, or nothing.
    std::optional<QString> commandLineProjectFile() const;

    // New, project data and room data (src/project/ProjectData.cpp, RoomData.cpp)
    void Neu1Click();
    void Projektdaten1Click();
    void Raumdaten1Click();
    void ProjectDataToRecord();
    void RecordToProjectData();
    void RoomDataToRecord();
    void RecordToRoomData();
    void ResetProjectData();
    void ResetRoomData();
    void FillTypeList(int mode);
    void Edit1Change();
    void Edit2Change();
    void Edit3Change();
    void Edit4Change();
    void Edit6Change();
    void Edit7Change();
    void Edit9Change();
    void Edit13Change();
    void RadioButton1Click();
    void RadioButton2Click();
    void RadioButton3Click();
    void RadioButton4Click();
    // Empties the calculation window's list of entries (src/project/RoomData.cpp).
    void clearCalculationList();
    void Add1Click();
    void Del1Click();
    void ListBox2Click();
    void run1Click();
    void ListBox3DblClick();

    // Room calculation run; the next stage opens the calculation window from here.
    void Berechnungen1Click();

    // Type pictures and information box (src/help/TypePictures.cpp, InfoBox.cpp)
    void ListBox3Click();
    void Info2Click();
    void Label2Click();
    void Label4Click();
    void Button3Click();

    // Convector list panel and printouts (reports; not yet built)
    void KonvlisteClick();
    void ListBox1Click();

    Session& session() { return m_session; }
    const QString& text(std::size_t line) const;

    // Menus (text n is the caption from interface text line n)
    QMenu* Projekt1 = nullptr;           // text 1
    QAction* Neu1 = nullptr;             // text 2, Ctrl+N
    QAction* Laden1 = nullptr;           // text 3, Ctrl+L
    QAction* Speichern1 = nullptr;       // text 4, Ctrl+S
    QAction* Programmbeenden1 = nullptr; // text 120, the platform's quit key (Ctrl+Q)
    QMenu* Drucken1 = nullptr;           // text 7
    QMenu* Konlistedrucken = nullptr;    // text 29
    QAction* normal1 = nullptr;          // text 147
    QAction* Orvapapier1 = nullptr;      // text 148
    QMenu* Berchdatendrucken = nullptr;  // text 30
    QAction* normal2 = nullptr;          // text 147
    QAction* Orvapapier2 = nullptr;      // text 148
    QAction* Konvliste = nullptr;        // text 28
    QAction* Projektdaten1 = nullptr;    // text 8
    QAction* Raumdaten1 = nullptr;       // text 9
    QAction* Berechnungen1 = nullptr;    // text 139
    QMenu* Hilfe2 = nullptr;             // text 6
    QAction* Info2 = nullptr;            // "Info"

    // "Arbeitsverzeichnis ..." in the project menu: chooses another working folder.
    QAction* Arbeitsverzeichnis1 = nullptr;

    QLabel* Image1 = nullptr;        // background picture, stretched over the client area
    QLabel* Label19 = nullptr;       // status: text 36 + file name; yellow loaded, green saved
    QLabel* Label12 = nullptr;       // emptied by New
    QListWidget* ListBox1 = nullptr; // convector list panel; a click hides it

    // Project data panel
    QGroupBox* GroupBox1 = nullptr;
    QLineEdit* Edit15 = nullptr; // Title, 50 characters
    QLineEdit* Edit16 = nullptr; // Number, 16
    QLineEdit* Edit17 = nullptr; // Date, 10
    QLineEdit* Edit18 = nullptr; // DataLines 1..7, 40 each
    QLineEdit* Edit19 = nullptr;
    QLineEdit* Edit20 = nullptr;
    QLineEdit* Edit21 = nullptr;
    QLineEdit* Edit22 = nullptr;
    QLineEdit* Edit23 = nullptr;
    QLineEdit* Edit24 = nullptr;
    QPlainTextEdit* Memo1 = nullptr; // RemarkLines 1..25, 72 characters a line
    QListWidget* ListBox2 = nullptr; // attachments, one full path per item
    QPushButton* run1 = nullptr;     // file name of the selected attachment; opens it
    QPushButton* Add1 = nullptr;     // text 157
    QPushButton* Del1 = nullptr;     // text 163
    QLabel* Label25 = nullptr;       // text 16
    QLabel* Label26 = nullptr;       // text 15
    QLabel* Label11 = nullptr;       // text 17
    QLabel* Label28 = nullptr;       // text 18
    QLabel* Label29 = nullptr;       // text 19
    QLabel* Label30 = nullptr;       // text 14
    QLabel* Label31 = nullptr;       // text 13
    QLabel* Label5 = nullptr;        // text 156

    // Room data panel (caption text 9)
    QGroupBox* GroupBox2 = nullptr;
    QLabel* Label14 = nullptr;            // text 90
    QLineEdit* Edit13 = nullptr;          // RoomName, 15 characters, written on every change
    QLabel* Label20 = nullptr;            // text 246
    QRadioButton* RadioButton1 = nullptr; // heating, red, text 164
    QRadioButton* RadioButton2 = nullptr; // cooling, blue, text 165
    QFrame* Panel5 = nullptr;             // dual-use choice
    QRadioButton* RadioButton3 = nullptr; // dual use on, text 252
    QRadioButton* RadioButton4 = nullptr; // dual use off, text 253
    QFrame* Panel2 = nullptr;             // heating inputs
    QLabel* Label8 = nullptr;             // text 25
    QLineEdit* Edit3 = nullptr;           // HeatingRoomTemp, °C
    QLabel* Label7 = nullptr;             // text 26
    QLineEdit* Edit2 = nullptr;           // HeatingDemand, W
    QLabel* Label9 = nullptr;             // text 27
    QLineEdit* Edit4 = nullptr;           // HeatingFlowTemp, °C
    QLabel* Label17 = nullptr;            // text 188
    QLineEdit* Edit8 = nullptr;           // HeatingSecondTemp, °C; enabled for primary-air types
    QFrame* Panel1 = nullptr;             // cooling inputs
    QLabel* Label18 = nullptr;            // text 25
    QLineEdit* Edit9 = nullptr;           // CoolingRoomTemp, °C
    QLabel* Label13 = nullptr;            // text 185
    QLineEdit* Edit7 = nullptr;           // CoolingDemand, W
    QLabel* Label15 = nullptr;            // text 190
    QLineEdit* Edit1 = nullptr;           // CoolingFlowTemp, °C
    QLabel* Label16 = nullptr;            // text 188
    QLineEdit* Edit5 = nullptr;           // CoolingSecondTemp, °C; enabled for primary-air types
    QLabel* Label6 = nullptr;             // text 31
    QLineEdit* Edit6 = nullptr;           // CoolingHumidity, %
    QGroupBox* GroupBox5 = nullptr;       // "Konvektoren": type list and picture
    QLabel* Label21 = nullptr;            // text 254 heating, 255 cooling
    QListWidget* ListBox3 = nullptr;      // type list; item data keeps the index line number
    QLabel* Image2 = nullptr;             // type picture

    // Information box
    QGroupBox* GroupBox3 = nullptr; // "Information"
    QLabel* Label10 = nullptr;      // text 0
    QLabel* Label1 = nullptr;       // text 158
    QLabel* Label3 = nullptr;       // text 159
    QLabel* Label2 = nullptr;       // text 161, mail line
    QLabel* Label4 = nullptr;       // text 162, web line
    QPushButton* Button3 = nullptr; // "OK"

    QGroupBox* GroupBox4 = nullptr; // defaults box, hidden

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Command-line mode saves the project and its technical data file as a pair: both written to
    // temporary files, then the project renamed into place, then the technical data file
    // (src/project/ProjectFiles.cpp). False (after showing the error) when nothing was saved.
    bool saveCommandLineFiles(const QString& shownName);
    std::filesystem::path commandLineProjectPath() const;
    // The project file the project in memory belongs to, locked against a second instance
    // (ProjectFiles.cpp).
    void holdProjectFile(const QString& file);
    void releaseProjectFile();
    bool lockedByOtherInstance(const QString& file) const;
    QString m_projectFile;
    std::unique_ptr<QLockFile> m_projectLock;

    bool m_letterPaper = false; // paper of the next printout: letter paper, else neutral

    // Printouts (src/app/Printing.cpp): each paper item sets m_letterPaper, then runs its command.
    void normal1Click();
    void Orvapapier1Click();
    void normal2Click();
    void Orvapapier2Click();
    void KonlistedruckenClick();
    void DatendruckenClick();

    // Room calculation run (src/project/CalculationRun.cpp): the two modes return false when
    // the run ends at a check or a rejected change; the room values the entries were last
    // calculated with are kept to put back rejected changes.
    bool heatingCalculationRun();
    bool coolingCalculationRun();
    void linkCalculationWindow();
    struct RoomValuesAtRun
    {
        bool known = false;
        double heatingDemand = 0, heatingFlowTemp = 0, heatingRoomTemp = 0;
    };
    RoomValuesAtRun m_roomValuesAtRun;

    // Control construction, one per subsystem file.
    void buildMenus();
    void buildProjectDataPanel();
    void buildRoomDataPanel();
    void buildInfoBox();
    void setCaptions();

    // Before the project is closed or replaced: takes over what was typed, then, when the project
    // is modified, asks text 121 with Yes, No and Cancel. True when the program may go on: No, or
    // Yes with the save done. Cancel, or a save that did not happen, gives false.
    bool mayReplaceProject();
    // Takes typing of the project data panel that is not yet in the record into it.
    void storeTypedProjectData();
    bool projectDataTyped() const;
    std::array<QLineEdit*, 10> projectDataEdits() const; // Edit15 to Edit24
    // Runs the checks of room data edits typed into and not yet left, as leaving them would.
    void checkTypedRoomData();
    // Working folder: the reason `dir` cannot be the working folder, or nothing when it can; and
    // taking a folder over with its subfolders.
    std::optional<QString> workDirRefusal(const QString& dir) const;
    void useWorkDir(const QString& dir);
    // The project file named on the command line exists but could not be read: it is only
    // overwritten after text 121 was answered Yes.
    bool m_commandLineFileUnread = false;
    bool m_attachmentsEdited = false; // attachments added or deleted since the panel was stored

    Session& m_session;
    platform::Services m_services;
    StartOptions m_options;
    TForm2* m_form2 = nullptr;
    QList<QString> m_texts; // interface texts as QString, line by line
    bool m_quitting = false;
};

} // namespace tepa
