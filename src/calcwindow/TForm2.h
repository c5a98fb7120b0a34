#pragma once

#include "core/calculation/CoolingPoint.h"
#include "core/calculation/HeatingFan.h"
#include "core/calculation/HeatingPoint.h"
#include "core/calculation/ListEditing.h"
#include "core/calculation/RoomRun.h"
#include "core/calculation/TypeChoice.h"
#include "core/calculation/UpdateCycle.h"
#include "core/model/Session.h"
#include "platform/Services.h"

#include <QMainWindow>
#include <QString>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

class QAction;
class QCloseEvent;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace tepa {

namespace sizing {
struct Candidate;
struct Request;
} // namespace sizing
class ClickPanel;
class UpDown;

// The calculation window: where the room's convectors are chosen and their operating points
// set. Created once, hidden, after the main window, and kept until the program ends. Three
// stages share the upper part: the type panel (Panel4), the heating operating point (Panel3)
// and the cooling operating point (Panel1); the room's convector list and its boxes stay below.
//
// The constructor builds every control with the captions of the form and then runs FormCreate,
// which replaces them by the interface texts and loads the construction heights.
class TForm2 : public QMainWindow, public calculation::CalculationPort
{
    Q_OBJECT

public:
    TForm2(Session& session, platform::Services services, QWidget* mainWindow, QWidget* parent = nullptr);
    ~TForm2() override;

    // The creation sequence; runs once (the constructor calls it, later calls do nothing).
    void FormCreate();

    // Shows the window in front of the main window, also when it is already open behind it or
    // minimised: opening it again must be seen to do something.
    void bringToFront();

    // Menu commands
    void FreieKonvektion1Click();
    void FreieZwangsKonv1Click();
    void Schliessen1Click();

    // Type panel
    void ListBox1Click();
    void ListBox3Click();
    void ListBox4Click();
    void KonweiterClick();
    void Panel4Click();

    // List editing
    void BearbeitenClick();
    void ErweiternClick();
    void LoeschenClick();

    // Dew-point box
    void Button1Click();

    // Result update cycle: each routine works on the current entry of the active list (the
    // index is 1-based like HeatingEntryIndex / CoolingEntryIndex). Scroll bars set from here
    // are set with their signals blocked: their handlers belong to user moves only.
    void Nullen(int index);
    void Nullen_K(int index);
    void update0(int index);
    void update0_K(int index);
    void update_grenzen(int index);
    void update1(int index);
    void Scrollreset(int index);
    void Restwaerme();
    void Balken_grenzwerte(int index);
    void reset4(int index);
    void update1_K(int index);
    double Minmax_K(int index, double setting);
    void Fensterhide();
    void Fenstershow();

    // The room's convector list: the line of entry `number` (1-based) of the active list, and
    // the rebuild of ListBox2 with the running totals.
    QString Listenzeile(int number) const;
    void Listenaufbau();

    // --- What the main window's room run and data panels ask of it (RoomRunView.cpp) ---
    // The run's checks live in the core; the run drives the entries through the port.
    void updateLimits(int index) override; // update_grenzen
    void recalculate(int index) override;  // update1
    // Common start: caption, the run's panels reset, placed over `mainWindow`.
    void beginRoomRun(const QWidget& mainWindow);
    // Heating: placed, type and cooling panels hidden, a loaded project's fan state restored.
    void prepareHeatingRun();
    void showRejectedRoomData(); // the list frame red: the room data were refused
    void showHeatingSummary();   // GroupBox2 with the heating room data
    void showHeatingList();      // the list and entry 1 calculated, or the panels hidden; shown
    // Cooling: placed, a loaded project's list and first entry restored.
    void prepareCoolingRun();
    void showCoolingSummary(); // GroupBox2 with the cooling room data; the cooling panel shown
    void showCoolingList();    // entry 1 calculated and the list rebuilt; shown
    // Common end: the type list picked in the main window, the stored fan stage, the caption.
    void finishRoomRun();
    void clearList();                 // the list belongs to another mode or project now
    void showOtherModeTotalHeading(); // the dual-use heading of a loaded project
    void showModeNotes(bool cooling); // the notes and type menu of the mode
    void hideNominalRating();         // GroupBox4
    void showListFrameIdle();         // the list frame grey: no mode is being calculated
    // --- end of room run ---

    // --- List editing and write-back (ListEditing.cpp) ---
    // What closing the window does in the main window; the main window sets these when it opens
    // the calculation window, so this window needs to know it only as a widget.
    std::function<void()> enableMainPrintMenu;     // the main window's print menu
    std::function<void()> enableMainConvectorList; // its convector-list command
    std::function<void()> disableMainTypeList;     // its convector type list
    bool RowSelected = false; // a line of ListBox2 was selected when a list button was pressed
    // --- end of list editing ---

    // Values the update cycle keeps between calls.
    double Qmin = 0;                 // cooling output at the lower end of the fan range, W
    double Qmax = 0;                 // ... at the upper end, W
    double MaxAirFlow = 0;           // largest primary air flow of a "WNF" cooling entry, m³/h
    int LastScrollPosition = 0;      // last slider position written by Scrollreset
    int StatusFlag = 0;              // status of the last engine call
    bool MassFlowCheckArmed = false; // a held mass flow below its window is raised with a note
    // Type, height and length of an entry as the operating-point headings show it.
    QString entryDescription(const std::string& typeName, double height, double length) const;
    // The controls Fensterhide and Fenstershow switch.
    std::vector<QWidget*> fanControls() const;

    // Interface text line n as shown in this window; an empty text when the line is missing.
    QString text(std::size_t line) const;

    // Texts kept at creation for the result displays.
    QString BaseTitle;            // text 40: the window caption before the room name
    QString HeatingOutputCaption; // text 41
    QString CoolingOutputCaption; // text 42

    // ---- Sizing assistant (SizingDialog.cpp) ----
    static constexpr std::size_t SizingMenuText = 284;
    static constexpr std::size_t SizingHeadingsText = 289; // the list's column headings, "|" between
    void Auslegung1Click();
    // Adds a candidate of the assistant as the next entry (the current one while it is still
    // being chosen): the type pick and "weiter", then setting, operating point and count
    // through the window's own inputs.
    void takeSizedEntry(const sizing::Candidate& candidate, const sizing::Request& request);
    // ---- end of sizing assistant ----

private:
    // The controls: only this window's own code sets them; everything else goes through the
    // routines above, and tests find a control by its object name.
    // Menu (MainMenu1 is the window's menu bar)
    QMenu* Konvektoren1 = nullptr;       // "Konvektoren", text 44
    QAction* FreieKonvektion1 = nullptr; // load the free-convection type list, text 63
    QAction* FreieZwangsKonv1 = nullptr; // load the forced-convection type list, text 46
    QAction* Schliessen1 = nullptr;      // close with write-back, text 100; last on the bar
    QAction* Auslegung1 = nullptr;       // the sizing assistant for the room and mode, text 284

    // Type panel
    ClickPanel* Panel4 = nullptr;    // type, length and height choice; a click on it leaves it
    QLabel* Label15 = nullptr;       // heading, text 65
    QLabel* Label4 = nullptr;        // product mode, set by the list load
    QListWidget* ListBox1 = nullptr; // convector types
    QLabel* Label18 = nullptr;       // "Baulänge", text 62
    QListWidget* ListBox3 = nullptr; // lengths of the chosen type, mm
    QLabel* Label1 = nullptr;        // "Bauhöhe", text 149
    QListWidget* ListBox4 = nullptr; // construction height lines
    QLabel* Label83 = nullptr;
    QLabel* Label84 = nullptr;
    QFrame* Panel9 = nullptr;         // note while the forced list is loaded for cooling
    QLabel* Label51 = nullptr;        // text 170
    QLabel* Label52 = nullptr;        // text 171
    QPushButton* Konweiter = nullptr; // "weiter", text 66

    // Heating operating point
    QFrame* Panel3 = nullptr;
    QLabel* Label6 = nullptr;             // text 151
    QLabel* Label5 = nullptr;             // type, height and length of the entry
    QLabel* Label17 = nullptr;            // product mode heading
    QLabel* Label10 = nullptr;            // count heading, text 49
    QLineEdit* Edit5 = nullptr;           // number of convectors of the entry
    UpDown* UpDown1 = nullptr;            // 1 to 15, writes Edit5
    QFrame* Panel6 = nullptr;             // fan speed setting (fan types except the fixed-stage series)
    QLabel* Label19 = nullptr;            // speed heading
    QLabel* Label25 = nullptr;            // speed unit
    QScrollBar* DrehzahlBar4 = nullptr;   // fan speed, rpm, or primary air flow
    QLineEdit* Edit4 = nullptr;           // fan setting value
    QLabel* Label101 = nullptr;           // fixed setting shown instead of Edit4
    QFrame* Panel14 = nullptr;            // fixed fan stages
    QLabel* Label62 = nullptr;            // text 258
    QLabel* Label64 = nullptr;            // range note
    QRadioButton* RadioButton1 = nullptr; // stage 0
    QRadioButton* RadioButton2 = nullptr; // stage 700 rpm, text 260
    QRadioButton* RadioButton3 = nullptr; // stage 1000 rpm, text 261
    QRadioButton* RadioButton4 = nullptr; // stage 1400 rpm, text 262
    QRadioButton* TR_Schalter = nullptr;  // return temperature is the given quantity, text 55
    QRadioButton* MS_Schalter = nullptr;  // mass flow is the given quantity, text 56
    QLabel* Label7 = nullptr;             // lower limit of the return temperature
    QLabel* Label9 = nullptr;             // upper limit of the return temperature
    QScrollBar* ScrollBar1 = nullptr;     // return temperature within its window, 0..100 %
    QLineEdit* Edit1 = nullptr;           // return temperature, °C
    QLabel* Label26 = nullptr;            // "[ °C ]"
    QLabel* Label12 = nullptr;            // lower limit of the mass flow
    QLabel* Label13 = nullptr;            // upper limit of the mass flow
    QScrollBar* ScrollBar2 = nullptr;     // mass flow within its window, 0..100 %
    QLineEdit* Edit2 = nullptr;           // mass flow, kg/h
    QLabel* Label31 = nullptr;            // "[ kg/h ]"
    QLabel* Label11 = nullptr;            // output heading, text 57
    QLabel* Label14 = nullptr;            // lower limit of the output
    QLabel* Label16 = nullptr;            // upper limit of the output
    QScrollBar* ScrollBar3 = nullptr;     // output within its window, 0..100 %
    QLineEdit* Edit3 = nullptr;           // heat output, W
    QLabel* Label32 = nullptr;            // "[ W ]"
    QLabel* Label20 = nullptr;            // installed output line
    QLabel* Label21 = nullptr;
    QLabel* Label22 = nullptr;
    QFrame* Panel5 = nullptr;  // divider
    QFrame* Panel2 = nullptr;  // water-side results
    QLabel* Label24 = nullptr; // "Delta-P"
    QLabel* Label27 = nullptr; // pressure drop, Pa
    QLabel* Label29 = nullptr; // "[ Pa ]"
    QLabel* Label23 = nullptr; // "LpA"
    QLabel* Label28 = nullptr; // sound level, dB(A)
    QLabel* Label30 = nullptr; // "[ dB ]"

    // Cooling operating point
    QFrame* Panel1 = nullptr;
    QLabel* Label2 = nullptr;   // heading, text 229
    QLabel* Label3 = nullptr;   // type, height and length of the entry
    QLabel* Label39 = nullptr;  // text 230
    QLabel* Label71 = nullptr;  // text 180
    QLabel* Label58 = nullptr;  // text 172
    QLabel* Label60 = nullptr;  // text 173
    QLabel* Label49 = nullptr;  // output of one convector, W
    QLabel* Label59 = nullptr;  // output of all convectors of the entry, W
    QLabel* Label50 = nullptr;  // count heading, text 49
    QLineEdit* Edit9 = nullptr; // number of convectors of the entry
    UpDown* UpDown2 = nullptr;  // 1 to 15
    QLabel* Label97 = nullptr;  // return temperature heading, text 256
    QLineEdit* Edit6 = nullptr; // return temperature, °C
    UpDown* UpDown3 = nullptr;  // 10 to 30 until "weiter" sets the flow-temperature window
    QFrame* Panel7 = nullptr;   // fan speed setting
    QLabel* Label46 = nullptr;  // speed heading, text 178
    QLabel* Label47 = nullptr;  // " Min"
    QLabel* Label48 = nullptr;  // "Max"
    QLabel* Label72 = nullptr;
    QLabel* Label73 = nullptr;
    QLabel* Label74 = nullptr;
    QScrollBar* ScrollBar4 = nullptr; // fan speed, rpm, or primary air flow
    QLineEdit* Edit8 = nullptr;       // speed setting
    QLabel* Label102 = nullptr;       // fixed setting shown instead of Edit8
    QFrame* Panel15 = nullptr;        // fixed fan stages
    QLabel* Label63 = nullptr;        // text 258
    QLabel* Label75 = nullptr;        // range note
    QLabel* Label98 = nullptr;        // stage notes
    QLabel* Label99 = nullptr;
    QLabel* Label100 = nullptr;
    QRadioButton* RadioButton5 = nullptr; // stage 700 rpm, text 260
    QRadioButton* RadioButton6 = nullptr; // stage 1000 rpm, text 261
    QRadioButton* RadioButton7 = nullptr; // stage 1400 rpm, text 262
    QFrame* Panel8 = nullptr;             // cooling results row
    QLabel* Label42 = nullptr;            // text 45
    QLabel* Label43 = nullptr;            // pressure drop, Pa
    QLabel* Label53 = nullptr;            // "[ Pa ]"
    QLabel* Label44 = nullptr;            // text 54
    QLabel* Label45 = nullptr;            // sound level, dB(A)
    QLabel* Label54 = nullptr;            // "[ dB ]"
    QLabel* Label55 = nullptr;            // text 56
    QLabel* Label56 = nullptr;            // mass flow, kg/h
    QLabel* Label57 = nullptr;            // "[ kg / h ]"
    QFrame* Panel11 = nullptr;            // flow temperature and notes
    QLabel* Label65 = nullptr;
    QLabel* Label40 = nullptr;
    QLabel* Label41 = nullptr;      // flow or primary-air temperature caption
    QLabel* Label66 = nullptr;      // that temperature, °C
    QLabel* Label67 = nullptr;      // output of all convectors of the list, W
    QLabel* Label68 = nullptr;      // text 181
    QLabel* Label69 = nullptr;      // text 182
    QLabel* Label70 = nullptr;      // "[ W ]"
    QGroupBox* GroupBox3 = nullptr; // dew-point warning, hidden until needed
    QLabel* Label77 = nullptr;      // warning, red
    QLabel* Label78 = nullptr;      // dew point caption
    QLabel* Label79 = nullptr;      // limit caption
    QLabel* Label80 = nullptr;      // dew point, °C
    QLabel* Label81 = nullptr;      // lowest flow temperature, °C
    QPushButton* Button1 = nullptr; // hides GroupBox3

    // Always present below the panels
    QFrame* Panel12 = nullptr;         // frame of the room's convector list; its colour tells the mode
    QListWidget* ListBox2 = nullptr;   // the room's convector list, fixed pitch
    QGroupBox* GroupBox1 = nullptr;    // list editing, text 28
    QPushButton* Bearbeiten = nullptr; // edit the selected entry, text 59
    QPushButton* Erweitern = nullptr;  // add an entry, text 60
    QPushButton* Loeschen = nullptr;   // delete the selected entry, text 61
    QGroupBox* GroupBox2 = nullptr;    // room values
    QLabel* Label35 = nullptr;         // demand caption, text 26
    QLabel* Label34 = nullptr;         // room temperature caption, text 25
    QLabel* Label33 = nullptr;         // third value caption, text 190
    QLabel* Label36 = nullptr;         // demand
    QLabel* Label37 = nullptr;         // room temperature
    QLabel* Label38 = nullptr;         // third value
    QLabel* Label95 = nullptr;
    QLabel* Label96 = nullptr;
    QGroupBox* GroupBox4 = nullptr; // "Konvektor-Information": nominal rating, text 232
    QLabel* Label61 = nullptr;      // red note
    QLabel* Label93 = nullptr;      // "Drehzahl  70/75 %"
    QLabel* Label76 = nullptr;      // type, height and length
    QLabel* Label82 = nullptr;      // "M [ kg/h ]"
    QLabel* Label86 = nullptr;
    QLabel* Label87 = nullptr; // "d p [ Pa ]"
    QLabel* Label88 = nullptr;
    QLabel* Label89 = nullptr; // "LpA  [ dB ]"
    QLabel* Label90 = nullptr;
    QLabel* Label91 = nullptr; // "Leistung Q [ W ]"
    QLabel* Label92 = nullptr;
    QLabel* Label105 = nullptr;
    QFrame* Panel13 = nullptr;  // cooling note: the output is sensible plus latent
    QLabel* Label106 = nullptr; // text 243, red
    QLabel* Label107 = nullptr; // text 247
    QLabel* Label108 = nullptr; // text 248
    QLabel* Label109 = nullptr; // text 249
    QLabel* Label113 = nullptr; // text 250
    QLabel* Label110 = nullptr; // text 251
    QFrame* Panel10 = nullptr;  // pressure-drop warning
    QLabel* Label111 = nullptr; // text 243
    QLabel* Label85 = nullptr;  // red
    QFrame* Panel16 = nullptr;  // laminar-flow warning
    QLabel* Label103 = nullptr;
    QLabel* Label104 = nullptr;
    QLabel* Label112 = nullptr; // red
    QLabel* Label8 = nullptr;
    QLabel* Label94 = nullptr; // other-mode total heading

public:

    // ---- Operating-point inputs (OperatingPointInputs.cpp; type choice in TypeSelection.cpp) ----
    // Connects the inputs of both operating-point panels to their handlers; later calls do
    // nothing. The type lists, "weiter" and the room calculation run call it, so the panels are
    // live once they are shown.
    void connectOperatingPointInputs();
    void scroll1();
    void scroll2();
    void scroll3();
    void Edit1Change();
    void Edit2Change();
    void Edit3Change();
    void DrehzahlBar4Change();
    void Edit4Change();
    void RadioButton1Click();
    void RadioButton2Click();
    void RadioButton3Click();
    void RadioButton4Click();
    void Edit5Change();
    void ScrollBar4Change();
    void Edit8Change();
    void RadioButton5Click();
    void RadioButton6Click();
    void RadioButton7Click();
    void Edit9Change();
    void UpDown2Click();
    void Edit6Change();
    void UpDown3Click();
    // The heating operating point as the model returns it, and the water-side warnings.
    void showHeatingPoint(const calculation::HeatingPointView& view);
    void showPressureDropWarnings(const calculation::PressureDropWarnings& warnings);
    void showCoolingPoint(const calculation::CoolingPointView& view);
    void showCoolingFan(const calculation::CoolingFanView& view);
    // The update cycle's and the type choice's results as the rules return them.
    void showHeatingHeading(const calculation::HeatingHeading& heading);
    void showHeatingLimits(const calculation::HeatingLimits& limits);
    void showHeatingUpdate(const calculation::HeatingUpdate& update);
    void showOperatingPoint(const calculation::HeatingPointView& view);
    void showResidual(const calculation::Residual& residual);
    void showCoolingHeading(const calculation::CoolingHeading& heading);
    void showFanBarReset(const calculation::FanBarReset& reset);
    void showBarCaptions(const calculation::BarCaptions& captions);
    void showCoolingStep(const calculation::CoolingStep& step);
    void runHeatingStage(double speedRpm);
    void showSpeedChange(const calculation::SpeedChange& change);
    void showTypeList(const calculation::TypeListView& view);
    void showDescription(const std::string& description);
    calculation::FanMemory Fan; // PreviousSpeed, PreviousSetting, SettingTyped, AirFlowLimit
    bool SpeedChanging = false; // a speed handler is running
    QString SettingText;        // the fan setting as last shown
    bool m_operatingPointConnected = false;
    bool m_inScrollBar4Change = false;
    // ---- end of operating-point inputs ----

protected:
    // Closing by the frame writes the entry back and hides the window; it is never destroyed.
    void closeEvent(QCloseEvent* event) override;

private:
    // Control construction (TForm2Layout.cpp), one per area of the window.
    void buildMenu();
    void buildTypePanel(QWidget* central);
    void buildHeatingPanel(QWidget* central);
    void buildCoolingPanel(QWidget* central);
    void buildListArea(QWidget* central);
    void connectControls();

    // The "Konvektor-Information" box with the rating of the mode not being calculated.
    void showOtherModeRating(const std::string& name,
                             double length,
                             const std::string& dataLine,
                             const std::string& fanLine,
                             engine::Mode mode);

    // The list model's notes, each in its kind of box, in order.
    void showNotes(const std::vector<calculation::Note>& notes);

    // Menu captions, the kept texts, then the captions and hints of the controls.
    void setCaptions();

    Session& m_session;
    platform::Services m_services;
    QWidget* m_mainWindow;
    bool m_created = false;
};

} // namespace tepa
