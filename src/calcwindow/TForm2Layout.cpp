// Construction of the calculation window's controls with the captions of the form; FormCreate
// replaces most captions by interface texts afterwards. Pixel positions are relative to the
// parent control.
#include "calcwindow/FormControls.h"
#include "calcwindow/TForm2.h"
#include "calcwindow/WindowSupport.h"

#include <QAction>
#include <QButtonGroup>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

namespace tepa {

using namespace window;
namespace {

// Captions are 8 pt unless marked bold (10 pt bold) or as a heading (14 pt bold underlined).
enum class Face
{
    Inherited,
    Bold,
    Heading,
};

void applyFace(QWidget* control, Face face)
{
    if (face == Face::Inherited)
        return;
    QFont font = control->font();
    font.setPointSize(face == Face::Heading ? 14 : 10);
    font.setBold(true);
    font.setUnderline(face == Face::Heading);
    control->setFont(font);
}

// A label sized to one line of its font; `width` leaves room for the longest text it shows.
QLabel* makeLabel(QWidget* parent,
                  const char* name,
                  const QString& caption,
                  int x,
                  int y,
                  int width,
                  Face face = Face::Inherited)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    applyFace(label, face);
    label->setGeometry(x, y, width, QFontMetrics(label->font()).height() + 2);
    return label;
}

template <class Panel = QFrame>
Panel* makePanel(QWidget* parent,
                 const char* name,
                 const QRect& geometry,
                 const QColor& colour = formcolours::systemFace())
{
    auto* panel = new Panel(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setGeometry(geometry);
    setPanelColour(panel, colour);
    return panel;
}

QGroupBox* makeGroupBox(QWidget* parent, const char* name, const QString& caption, const QRect& geometry)
{
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(geometry);
    return box;
}

QLineEdit* makeEdit(QWidget* parent, const char* name, const QString& text, const QRect& geometry)
{
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(geometry);
    return edit;
}

QListWidget* makeListBox(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setGeometry(geometry);
    return list;
}

// Horizontal scroll bar; `largeStep` is the step of a click beside the slider.
QScrollBar* makeScrollBar(QWidget* parent,
                          const char* name,
                          const QRect& geometry,
                          int minimum,
                          int maximum,
                          int position,
                          int largeStep)
{
    auto* bar = new QScrollBar(Qt::Horizontal, parent);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setRange(minimum, maximum);
    bar->setSingleStep(1);
    bar->setPageStep(largeStep);
    bar->setValue(position);
    bar->setGeometry(geometry);
    return bar;
}

UpDown* makeUpDown(QWidget* parent,
                   const char* name,
                   const QRect& geometry,
                   int minimum,
                   int maximum,
                   int position,
                   QLineEdit* associate)
{
    auto* upDown = new UpDown(parent);
    upDown->setObjectName(QString::fromLatin1(name));
    upDown->setRange(minimum, maximum);
    upDown->setValue(position);
    upDown->setGeometry(geometry);
    upDown->setAssociate(associate);
    return upDown;
}

QRadioButton* makeRadio(QWidget* parent,
                        const char* name,
                        const QString& caption,
                        const QRect& geometry,
                        Face face = Face::Inherited)
{
    auto* radio = new QRadioButton(caption, parent);
    radio->setObjectName(QString::fromLatin1(name));
    applyFace(radio, face);
    radio->setGeometry(geometry);
    return radio;
}

QPushButton* makeButton(QWidget* parent,
                        const char* name,
                        const QString& caption,
                        const QRect& geometry,
                        Face face = Face::Inherited)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    applyFace(button, face);
    button->setGeometry(geometry);
    return button;
}

// Radio buttons exclude each other only within the group made here. Qt's automatic exclusion
// would reach into nested panels and couple the stage buttons with the given-quantity switch.
void makeExclusive(QWidget* owner, std::initializer_list<QRadioButton*> buttons)
{
    auto* group = new QButtonGroup(owner);
    for (QRadioButton* button : buttons)
        group->addButton(button);
}

} // namespace

void TForm2::buildMenu()
{
    // The form's menu also holds 26 caption-less items between the two top-level entries; they
    // do nothing and show nothing, so the bar has only the two that act.
    Konvektoren1 = menuBar()->addMenu(QStringLiteral("Konvektoren"));
    Konvektoren1->setObjectName(QStringLiteral("Konvektoren1"));
    Konvektoren1->menuAction()->setObjectName(QStringLiteral("Konvektoren1Action"));
    FreieKonvektion1 = Konvektoren1->addAction(QStringLiteral("Freie Konvektion"));
    FreieKonvektion1->setObjectName(QStringLiteral("FreieKonvektion1"));
    FreieZwangsKonv1 = Konvektoren1->addAction(QStringLiteral("Freie-/Zwangs-Konv."));
    FreieZwangsKonv1->setObjectName(QStringLiteral("FreieZwangsKonv1"));
    Auslegung1 = Konvektoren1->addAction(QStringLiteral("Auslegungshilfe ..."));
    Auslegung1->setObjectName(QStringLiteral("Auslegung1"));
    Schliessen1 = menuBar()->addAction(QStringLiteral("Fenster schliessen"));
    Schliessen1->setObjectName(QStringLiteral("Schliessen1"));
}

void TForm2::buildTypePanel(QWidget* central)
{
    Panel4 = makePanel<ClickPanel>(central, "Panel4", {16, 8, 305, 217}, formcolours::mediumGrey());
    Panel4->setToolTip(QStringLiteral("Schliessen durch Anklicken"));
    Label15 = makeLabel(Panel4, "Label15", QStringLiteral("Konvektor - Typen"), 8, 4, 289, Face::Heading);
    Label4 = makeLabel(Panel4, "Label4", QStringLiteral("Label4"), 8, 36, 121, Face::Bold);
    Label18 = makeLabel(Panel4, "Label18", QStringLiteral("Baulänge"), 136, 36, 90, Face::Bold);
    Label1 = makeLabel(Panel4, "Label1", QStringLiteral("Bauhöhe"), 208, 36, 90, Face::Bold);
    ListBox1 = makeListBox(Panel4, "ListBox1", {8, 56, 121, 89});
    ListBox3 = makeListBox(Panel4, "ListBox3", {136, 56, 65, 89});
    ListBox4 = makeListBox(Panel4, "ListBox4", {208, 56, 43, 89});
    Label83 = makeLabel(Panel4, "Label83", QString(), 136, 150, 160);
    Label84 = makeLabel(Panel4, "Label84", QString(), 136, 166, 160);
    Panel9 = makePanel(Panel4, "Panel9", {8, 152, 121, 57});
    Label51 = makeLabel(Panel9, "Label51", QStringLiteral("Label51"), 4, 10, 113);
    Label52 = makeLabel(Panel9, "Label52", QStringLiteral("Label52"), 4, 30, 113);
    Konweiter = makeButton(Panel4, "Konweiter", QStringLiteral("weiter"), {168, 176, 123, 33});
}

void TForm2::buildHeatingPanel(QWidget* central)
{
    Panel3 = makePanel(central, "Panel3", {16, 16, 761, 198});

    Label6 = makeLabel(Panel3, "Label6", QString(), 8, 4, 80, Face::Bold);
    Label5 = makeLabel(Panel3, "Label5", QString(), 88, 4, 256, Face::Bold);
    Label10 = makeLabel(Panel3, "Label10", QStringLiteral("Anzahl :"), 8, 30, 70, Face::Bold);
    Label10->setToolTip(QStringLiteral("Maximal  15 !"));
    Edit5 = makeEdit(Panel3, "Edit5", QStringLiteral("1"), {80, 28, 33, 21});
    UpDown1 = makeUpDown(Panel3, "UpDown1", {113, 28, 17, 21}, 1, 15, 1, Edit5);
    for (QWidget* count : {static_cast<QWidget*>(Edit5), static_cast<QWidget*>(UpDown1)})
        count->setToolTip(QStringLiteral("Anzahl eines Konvektortyps  ( Max 15 )"));
    Label17 = makeLabel(Panel3, "Label17", QString(), 144, 30, 192, Face::Bold);

    // Continuous fan speed and the fixed stages share one place; the series decides which shows.
    Panel6 = makePanel(Panel3, "Panel6", {8, 56, 329, 73});
    Label19 = makeLabel(Panel6, "Label19", QString(), 8, 4, 224, Face::Bold);
    Label25 = makeLabel(Panel6, "Label25", QString(), 240, 4, 84, Face::Bold);
    DrehzahlBar4 = makeScrollBar(Panel6, "DrehzahlBar4", {8, 28, 225, 17}, 0, 1600, 30, 10);
    Edit4 = makeEdit(Panel6, "Edit4", QStringLiteral("0"), {240, 26, 57, 21});
    Label101 = makeLabel(Panel6, "Label101", QString(), 240, 28, 57, Face::Bold);

    Panel14 = makePanel(Panel3, "Panel14", {8, 56, 329, 73});
    QFont stageFont = Panel14->font();
    stageFont.setPointSize(10);
    Panel14->setFont(stageFont);
    Label62 = makeLabel(Panel14, "Label62", QString(), 8, 2, 150, Face::Bold);
    Label64 = makeLabel(Panel14, "Label64", QStringLiteral("n  0 ... 1400 U/min"), 160, 2, 160);
    RadioButton1 = makeRadio(Panel14, "RadioButton1", QStringLiteral("0"), {8, 32, 60, 20});
    RadioButton2 = makeRadio(Panel14, "RadioButton2", QString(), {72, 32, 80, 20});
    RadioButton3 = makeRadio(Panel14, "RadioButton3", QString(), {156, 32, 80, 20});
    RadioButton4 = makeRadio(Panel14, "RadioButton4", QString(), {240, 32, 84, 20});
    makeExclusive(Panel14, {RadioButton1, RadioButton2, RadioButton3, RadioButton4});
    RadioButton1->setChecked(true);

    // The three coupled sliders: return temperature, mass flow, output. Each row is a heading
    // with the limits of its window, the slider, the value field and the unit.
    TR_Schalter =
        makeRadio(Panel3, "TR_Schalter", QStringLiteral("Rücklauftemp."), {352, 4, 150, 18}, Face::Bold);
    MS_Schalter =
        makeRadio(Panel3, "MS_Schalter", QStringLiteral("Massenstrom"), {352, 44, 150, 18}, Face::Bold);
    makeExclusive(Panel3, {TR_Schalter, MS_Schalter});
    TR_Schalter->setChecked(true);
    Label7 = makeLabel(Panel3, "Label7", QString(), 504, 4, 56, Face::Bold);
    Label9 = makeLabel(Panel3, "Label9", QString(), 561, 4, 56, Face::Bold);
    ScrollBar1 = makeScrollBar(Panel3, "ScrollBar1", {352, 24, 265, 17}, 0, 100, 0, 10);
    Edit1 = makeEdit(Panel3, "Edit1", QString(), {624, 22, 57, 21});
    Label26 = makeLabel(Panel3, "Label26", QStringLiteral("[ °C ]"), 688, 24, 68);

    Label12 = makeLabel(Panel3, "Label12", QString(), 504, 44, 56, Face::Bold);
    Label13 = makeLabel(Panel3, "Label13", QString(), 561, 44, 56, Face::Bold);
    ScrollBar2 = makeScrollBar(Panel3, "ScrollBar2", {352, 64, 265, 17}, 0, 100, 0, 1);
    Edit2 = makeEdit(Panel3, "Edit2", QString(), {624, 62, 57, 21});
    Label31 = makeLabel(Panel3, "Label31", QStringLiteral("[ kg/h ]"), 688, 64, 68);

    Label11 = makeLabel(Panel3, "Label11", QStringLiteral("Wärmeleistung"), 352, 86, 150, Face::Bold);
    Label14 = makeLabel(Panel3, "Label14", QString(), 504, 86, 56, Face::Bold);
    Label16 = makeLabel(Panel3, "Label16", QString(), 561, 86, 56, Face::Bold);
    ScrollBar3 = makeScrollBar(Panel3, "ScrollBar3", {352, 106, 265, 17}, 0, 100, 0, 1);
    Edit3 = makeEdit(Panel3, "Edit3", QString(), {624, 104, 57, 21});
    Label32 = makeLabel(Panel3, "Label32", QStringLiteral("[ W ]"), 688, 106, 68);

    Panel5 = makePanel(Panel3, "Panel5", {352, 132, 400, 3}, formcolours::silver());
    Panel5->setFrameStyle(QFrame::NoFrame);
    Label20 = makeLabel(Panel3, "Label20", QString(), 352, 140, 200, Face::Bold);
    Label21 = makeLabel(Panel3, "Label21", QStringLiteral("Label21"), 560, 140, 120, Face::Bold);
    Label22 = makeLabel(Panel3, "Label22", QStringLiteral("[  W ]"), 688, 140, 68, Face::Bold);

    Panel2 = makePanel(Panel3, "Panel2", {9, 158, 328, 32});
    Label24 = makeLabel(Panel2, "Label24", QStringLiteral("Delta-P"), 6, 7, 62, Face::Bold);
    Label27 = makeLabel(Panel2, "Label27", QString(), 68, 7, 44, Face::Bold);
    Label29 = makeLabel(Panel2, "Label29", QStringLiteral("[ Pa ]"), 114, 7, 50, Face::Bold);
    Label23 = makeLabel(Panel2, "Label23", QStringLiteral("LpA"), 176, 7, 40, Face::Bold);
    Label28 = makeLabel(Panel2, "Label28", QString(), 218, 7, 44, Face::Bold);
    Label30 = makeLabel(Panel2, "Label30", QStringLiteral("[ dB ]"), 264, 7, 58, Face::Bold);
}

void TForm2::buildCoolingPanel(QWidget* central)
{
    Panel1 = makePanel(central, "Panel1", {24, 8, 760, 201});

    Label2 = makeLabel(Panel1, "Label2", QString(), 8, 4, 200, Face::Heading);
    setTextColour(Label2, formcolours::coolingBlue());
    Label3 = makeLabel(Panel1, "Label3", QString(), 216, 10, 300, Face::Bold);
    Label50 = makeLabel(Panel1, "Label50", QString(), 8, 34, 70);
    Edit9 = makeEdit(Panel1, "Edit9", QStringLiteral("1"), {80, 32, 33, 21});
    UpDown2 = makeUpDown(Panel1, "UpDown2", {113, 32, 17, 21}, 1, 15, 1, nullptr);
    Label97 = makeLabel(Panel1, "Label97", QString(), 140, 34, 116);
    Edit6 = makeEdit(Panel1, "Edit6", QStringLiteral("10"), {256, 32, 33, 21});
    UpDown3 = makeUpDown(Panel1, "UpDown3", {289, 32, 17, 21}, 10, 30, 10, Edit6);

    Panel7 = makePanel(Panel1, "Panel7", {16, 56, 225, 89});
    Label46 = makeLabel(Panel7, "Label46", QString(), 8, 4, 209);
    ScrollBar4 = makeScrollBar(Panel7, "ScrollBar4", {8, 24, 209, 17}, 0, 2000, 0, 1);
    Label47 = makeLabel(Panel7, "Label47", QStringLiteral(" Min"), 8, 46, 40);
    Edit8 = makeEdit(Panel7, "Edit8", QString(), {84, 44, 57, 21});
    Label102 = makeLabel(Panel7, "Label102", QStringLiteral("Label102"), 84, 46, 57);
    Label48 = makeLabel(Panel7, "Label48", QStringLiteral("Max"), 180, 46, 37);
    Label72 = makeLabel(Panel7, "Label72", QString(), 8, 68, 68);
    Label73 = makeLabel(Panel7, "Label73", QString(), 80, 68, 64);
    Label74 = makeLabel(Panel7, "Label74", QString(), 148, 68, 69);

    Panel15 = makePanel(Panel1, "Panel15", {16, 47, 225, 97});
    QFont stageFont = Panel15->font();
    stageFont.setPointSize(10);
    Panel15->setFont(stageFont);
    Label63 = makeLabel(Panel15, "Label63", QString(), 8, 2, 209, Face::Bold);
    Label75 = makeLabel(Panel15, "Label75", QStringLiteral("n  0 ... 1400 U/min"), 8, 22, 209);
    RadioButton5 = makeRadio(Panel15, "RadioButton5", QString(), {8, 42, 96, 18});
    RadioButton6 = makeRadio(Panel15, "RadioButton6", QString(), {8, 60, 96, 18});
    RadioButton7 = makeRadio(Panel15, "RadioButton7", QString(), {8, 78, 96, 18});
    makeExclusive(Panel15, {RadioButton5, RadioButton6, RadioButton7});
    RadioButton5->setChecked(true);
    Label98 = makeLabel(Panel15, "Label98", QStringLiteral("(   700 U/Min)"), 108, 42, 110);
    Label99 = makeLabel(Panel15, "Label99", QStringLiteral("( 1000 U/Min)"), 108, 60, 110);
    Label100 = makeLabel(Panel15, "Label100", QStringLiteral("( 1400 U/Min)"), 108, 78, 110);

    Label39 = makeLabel(Panel1, "Label39", QString(), 256, 64, 150);
    Label71 = makeLabel(Panel1, "Label71", QString(), 256, 82, 120);
    Label49 = makeLabel(Panel1, "Label49", QString(), 380, 80, 100, Face::Bold);
    Label58 = makeLabel(Panel1, "Label58", QString(), 256, 106, 120);
    Label60 = makeLabel(Panel1, "Label60", QString(), 256, 122, 120);
    Label59 = makeLabel(Panel1, "Label59", QString(), 380, 104, 100, Face::Bold);

    Panel11 = makePanel(Panel1, "Panel11", {528, 32, 193, 113});
    Label41 = makeLabel(Panel11, "Label41", QString(), 6, 4, 130);
    Label66 = makeLabel(Panel11, "Label66", QString(), 136, 4, 52);
    // Caption left, value right, as in the flow temperature line above.
    Label40 = makeLabel(Panel11, "Label40", QString(), 6, 22, 130);
    Label65 = makeLabel(Panel11, "Label65", QString(), 136, 22, 52);
    Label68 = makeLabel(Panel11, "Label68", QString(), 6, 48, 181);
    Label69 = makeLabel(Panel11, "Label69", QString(), 6, 64, 181);
    Label67 = makeLabel(Panel11, "Label67", QString(), 6, 86, 120);
    Label70 = makeLabel(Panel11, "Label70", QStringLiteral("[ W ]"), 136, 86, 52);

    Panel8 = makePanel(Panel1, "Panel8", {16, 152, 705, 41});
    applyFace(Panel8, Face::Bold);
    Label42 = makeLabel(Panel8, "Label42", QString(), 8, 11, 110);
    Label43 = makeLabel(Panel8, "Label43", QString(), 120, 11, 56);
    Label53 = makeLabel(Panel8, "Label53", QStringLiteral("[ Pa ]"), 178, 11, 50);
    Label44 = makeLabel(Panel8, "Label44", QString(), 240, 11, 130);
    Label45 = makeLabel(Panel8, "Label45", QString(), 372, 11, 50);
    Label54 = makeLabel(Panel8, "Label54", QStringLiteral("[ dB ]"), 424, 11, 50);
    Label55 = makeLabel(Panel8, "Label55", QString(), 484, 11, 104);
    Label56 = makeLabel(Panel8, "Label56", QString(), 590, 11, 50);
    Label57 = makeLabel(Panel8, "Label57", QString(), 642, 11, 60);

    // The dew-point warning lies over the middle of the panel while it is shown.
    GroupBox3 = makeGroupBox(Panel1, "GroupBox3", QStringLiteral("Information"), {248, 4, 273, 141});
    setPanelColour(GroupBox3, formcolours::silver());
    Label77 = makeLabel(GroupBox3, "Label77", QString(), 8, 20, 257, Face::Bold);
    setTextColour(Label77, formcolours::warningRed());
    Label78 = makeLabel(GroupBox3, "Label78", QString(), 8, 48, 196);
    Label80 = makeLabel(GroupBox3, "Label80", QString(), 208, 48, 57);
    Label79 = makeLabel(GroupBox3, "Label79", QString(), 8, 70, 196);
    Label81 = makeLabel(GroupBox3, "Label81", QString(), 208, 70, 57);
    Button1 = makeButton(GroupBox3, "Button1", QStringLiteral("O K "), {99, 104, 75, 25});
}

void TForm2::buildListArea(QWidget* central)
{
    // Wide enough for the whole column heading, up to the information box caption.
    Label8 = makeLabel(central, "Label8", QString(), 16, 222, 540, Face::Bold);
    Label94 = makeLabel(central, "Label94", QString(), 560, 222, 217, Face::Bold);

    Panel12 = makePanel(central, "Panel12", {14, 240, 763, 70});
    ListBox2 = makeListBox(Panel12, "ListBox2", {4, 4, 755, 62});
    ListBox2->setFont(QFont(QStringLiteral("Courier"), 12));

    GroupBox1 = makeGroupBox(central, "GroupBox1", QStringLiteral("Konvektorliste"), {16, 318, 300, 66});
    Bearbeiten =
        makeButton(GroupBox1, "Bearbeiten", QStringLiteral("Bearbeiten"), {8, 26, 92, 30}, Face::Bold);
    Erweitern =
        makeButton(GroupBox1, "Erweitern", QStringLiteral("Erweitern"), {104, 26, 92, 30}, Face::Bold);
    Loeschen = makeButton(GroupBox1, "Loeschen", QStringLiteral("Löschen"), {200, 26, 92, 30}, Face::Bold);

    GroupBox4 =
        makeGroupBox(central, "GroupBox4", QStringLiteral("Konvektor-Information"), {328, 318, 217, 171});
    Label61 = makeLabel(GroupBox4, "Label61", QString(), 8, 18, 201);
    setTextColour(Label61, formcolours::warningRed());
    Label76 = makeLabel(GroupBox4, "Label76", QString(), 8, 36, 201);
    Label93 = makeLabel(GroupBox4, "Label93", QStringLiteral("Drehzahl  70/75 %"), 8, 58, 130);
    Label105 = makeLabel(GroupBox4, "Label105", QString(), 140, 58, 69);
    Label82 = makeLabel(GroupBox4, "Label82", QStringLiteral("M [ kg/h ]"), 8, 80, 130);
    Label86 = makeLabel(GroupBox4, "Label86", QString(), 140, 80, 69);
    Label87 = makeLabel(GroupBox4, "Label87", QStringLiteral("d p [ Pa ]"), 8, 102, 130);
    Label88 = makeLabel(GroupBox4, "Label88", QString(), 140, 102, 69);
    Label89 = makeLabel(GroupBox4, "Label89", QStringLiteral("LpA  [ dB ]"), 8, 124, 130);
    Label90 = makeLabel(GroupBox4, "Label90", QString(), 140, 124, 69);
    Label91 = makeLabel(GroupBox4, "Label91", QStringLiteral("Leistung Q [ W ]"), 8, 146, 130);
    Label92 = makeLabel(GroupBox4, "Label92", QString(), 140, 146, 69);

    GroupBox2 = makeGroupBox(central, "GroupBox2", QString(), {554, 328, 223, 97});
    Label35 = makeLabel(GroupBox2, "Label35", QStringLiteral("Wärmebedarf  [ kg/h ]"), 8, 18, 150);
    Label36 = makeLabel(GroupBox2, "Label36", QString(), 160, 18, 57);
    Label34 = makeLabel(GroupBox2, "Label34", QStringLiteral("Raumtemperatur   [°C]"), 8, 36, 150);
    Label37 = makeLabel(GroupBox2, "Label37", QString(), 160, 36, 57);
    Label33 = makeLabel(GroupBox2, "Label33", QString(), 8, 54, 150);
    Label38 = makeLabel(GroupBox2, "Label38", QString(), 160, 54, 57);
    Label95 = makeLabel(GroupBox2, "Label95", QString(), 8, 74, 150);
    Label96 = makeLabel(GroupBox2, "Label96", QString(), 160, 74, 57);

    // As wide as the list above it reaches left of the room summary: the note's lines are long.
    Panel13 = makePanel(central, "Panel13", {16, 392, 530, 97});
    Label106 = makeLabel(Panel13, "Label106", QStringLiteral("Achtung:"), 6, 3, 518, Face::Bold);
    setTextColour(Label106, formcolours::warningRed());
    Label107 = makeLabel(Panel13, "Label107",
                         QStringLiteral("Leistungen Q -->  wasserseitig abgegebene  Gesamt-"), 6, 24, 518);
    Label108 =
        makeLabel(Panel13, "Label108", QStringLiteral("kühlleistung    Q = Qsensibel + Qlatent"), 6, 38, 518);
    Label109 =
        makeLabel(Panel13, "Label109",
                  QStringLiteral("Für die Bestimmung der sensiblen Kühlleistung im Auslegungs-"), 6, 52, 518);
    Label113 =
        makeLabel(Panel13, "Label113",
                  QStringLiteral("fall unterhalb des Taupunktes  wenden Sie sich bitte  an"), 6, 66, 518);
    Label110 = makeLabel(Panel13, "Label110", QString(), 6, 80, 518);

    Panel10 = makePanel(central, "Panel10", {552, 432, 225, 57});
    Label111 = makeLabel(Panel10, "Label111", QString(), 8, 6, 209);
    Label85 = makeLabel(Panel10, "Label85", QString(), 8, 28, 209, Face::Bold);
    setTextColour(Label85, formcolours::warningRed());

    Panel16 = makePanel(central, "Panel16", {552, 424, 225, 65});
    Label103 = makeLabel(Panel16, "Label103", QString(), 8, 4, 209);
    Label104 = makeLabel(Panel16, "Label104", QString(), 8, 22, 209);
    Label112 = makeLabel(Panel16, "Label112", QString(), 8, 40, 209);
    setTextColour(Label112, formcolours::warningRed());
}

} // namespace tepa
