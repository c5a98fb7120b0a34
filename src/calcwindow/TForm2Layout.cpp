// Construction of the calculation window's controls with the captions of the form; FormCreate
// replaces most captions by interface texts afterwards. Layouts place the controls, so each
// takes the room its text needs in the desktop's font, scale and language.
#include "app/Mnemonics.h"
#include "calcwindow/FormControls.h"
#include "calcwindow/TForm2.h"
#include "calcwindow/WindowSupport.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QButtonGroup>
#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>
#include <vector>

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

// The controls below are placed by layouts: each takes the room its caption or value needs
// in the font it is shown in, so no text is cut whatever the desktop's font, scale or language.
QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, Face face = Face::Inherited)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    applyFace(label, face);
    return label;
}

template <class Panel = QFrame>
Panel* makePanel(QWidget* parent, const char* name, const QColor& colour = formcolours::systemFace())
{
    auto* panel = new Panel(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    setPanelColour(panel, colour);
    return panel;
}

QGroupBox* makeGroupBox(QWidget* parent, const char* name, const QString& caption)
{
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

// A field wide enough for `digits` digits (and a sign or decimal point) in its own font.
QLineEdit* makeEdit(QWidget* parent, const char* name, const QString& text, int digits)
{
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QString::fromLatin1(name));
    const QFontMetrics metrics(edit->font());
    edit->setFixedWidth(metrics.horizontalAdvance(QString(digits + 1, QLatin1Char('0'))) + 12);
    return edit;
}

// A list `rows` lines high, as wide as its longest line (and never narrower than
// `columns` characters of its font): the width follows the lines the data files give it.
QListWidget* makeListBox(QWidget* parent, const char* name, int columns, int rows)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const auto fit = [list, columns, rows] {
        const QFontMetrics metrics(list->font());
        int widest = metrics.horizontalAdvance(QString(columns, QLatin1Char('0')));
        for (int row = 0; row < list->count(); ++row)
            widest = std::max(widest, metrics.horizontalAdvance(list->item(row)->text()));
        const int frame = 2 * list->frameWidth();
        const int scrollBar = list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
        list->setFixedWidth(widest + frame + scrollBar + 12);
        // Whole lines only: the real line height once there are lines.
        const int line = list->count() > 0 ? list->sizeHintForRow(0) : metrics.height() + 2;
        list->setFixedHeight(rows * line + frame);
    };
    fit();
    QObject::connect(list->model(), &QAbstractItemModel::rowsInserted, list, fit);
    QObject::connect(list->model(), &QAbstractItemModel::dataChanged, list, fit);
    return list;
}

// Horizontal scroll bar; `largeStep` is the step of a click beside the slider.
QScrollBar* makeScrollBar(QWidget* parent,
                          const char* name,
                          int minimumWidth,
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
    bar->setMinimumWidth(minimumWidth);
    return bar;
}

UpDown*
makeUpDown(QWidget* parent, const char* name, int minimum, int maximum, int position, QLineEdit* associate)
{
    auto* upDown = new UpDown(parent);
    upDown->setObjectName(QString::fromLatin1(name));
    upDown->setRange(minimum, maximum);
    upDown->setValue(position);
    // Only the arrows show: as wide as the style's spin buttons, as high as the field beside it.
    upDown->setFixedWidth(upDown->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, upDown) + 4);
    upDown->setAssociate(associate);
    return upDown;
}

QRadioButton*
makeRadio(QWidget* parent, const char* name, const QString& caption, Face face = Face::Inherited)
{
    auto* radio = new QRadioButton(caption, parent);
    radio->setObjectName(QString::fromLatin1(name));
    applyFace(radio, face);
    return radio;
}

QPushButton*
makeButton(QWidget* parent, const char* name, const QString& caption, Face face = Face::Inherited)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    applyFace(button, face);
    return button;
}

// A row of controls; a null entry is a stretch.
QHBoxLayout* row(std::initializer_list<QWidget*> controls, int spacing = 6)
{
    auto* layout = new QHBoxLayout;
    layout->setSpacing(spacing);
    for (QWidget* control : controls) {
        if (control)
            layout->addWidget(control);
        else
            layout->addStretch(1);
    }
    return layout;
}

// Lays out a panel's contents with the panel's frame and a small margin around them.
template <class Layout> Layout* inside(QWidget* panel, int margin = 6)
{
    auto* layout = new Layout(panel);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->setSpacing(4);
    return layout;
}

// Radio buttons exclude each other only within the group made here. Qt's automatic exclusion
// would reach into nested panels and couple the stage buttons with the given-quantity switch.
void makeExclusive(QWidget* owner, std::initializer_list<QRadioButton*> buttons)
{
    auto* group = new QButtonGroup(owner);
    for (QRadioButton* button : buttons)
        group->addButton(button);
}

// Shows the hint while none of the panels of the upper part shows: after "Erweitern" and before
// a type list is chosen the planner sees where to go next. Owned by the hint.
class EmptyStageHint : public QObject
{
public:
    EmptyStageHint(QLabel* hint, std::initializer_list<QWidget*> panels)
        : QObject(hint)
        , m_hint(hint)
        , m_panels(panels)
    {
        for (QWidget* panel : m_panels)
            panel->installEventFilter(this);
        m_hint->parentWidget()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show || event->type() == QEvent::Hide)
            update();
        return QObject::eventFilter(watched, event);
    }

private:
    void update()
    {
        const bool empty = std::none_of(m_panels.begin(), m_panels.end(), [](const QWidget* panel) {
            return panel->isVisibleTo(panel->parentWidget());
        });
        m_hint->setVisible(empty && !m_hint->text().isEmpty());
    }

    QLabel* m_hint;
    std::vector<QWidget*> m_panels;
};

// What to do when the upper part of the window is empty.
constexpr std::size_t NextStepText = 273;

} // namespace

void TForm2::buildMenu()
{
    // The form's menu also holds 26 caption-less items between the two top-level entries; they
    // do nothing and show nothing, so the bar has only the two that act.
    keepMnemonics(menuBar());
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
    Panel4 = makePanel<ClickPanel>(central, "Panel4", formcolours::mediumGrey());
    Panel4->setToolTip(QStringLiteral("Schliessen durch Anklicken"));
    Label15 = makeLabel(Panel4, "Label15", QStringLiteral("Konvektor - Typen"), Face::Heading);
    Label4 = makeLabel(Panel4, "Label4", QStringLiteral("Label4"), Face::Bold);
    Label18 = makeLabel(Panel4, "Label18", QStringLiteral("Baulänge"), Face::Bold);
    Label1 = makeLabel(Panel4, "Label1", QStringLiteral("Bauhöhe"), Face::Bold);
    ListBox1 = makeListBox(Panel4, "ListBox1", 10, 6);
    ListBox3 = makeListBox(Panel4, "ListBox3", 5, 6);
    ListBox4 = makeListBox(Panel4, "ListBox4", 5, 6);
    Label83 = makeLabel(Panel4, "Label83", QString());
    Label84 = makeLabel(Panel4, "Label84", QString());
    Panel9 = makePanel(Panel4, "Panel9");
    Label51 = makeLabel(Panel9, "Label51", QStringLiteral("Label51"));
    Label52 = makeLabel(Panel9, "Label52", QStringLiteral("Label52"));
    Konweiter = makeButton(Panel4, "Konweiter", QStringLiteral("weiter"));
    Konweiter->setMinimumSize(Konweiter->sizeHint().width() + 48, Konweiter->sizeHint().height() + 8);

    auto* note = inside<QVBoxLayout>(Panel9, 4);
    note->addWidget(Label51);
    note->addWidget(Label52);

    // Type, length and height side by side, each list under its heading.
    auto* grid = inside<QGridLayout>(Panel4, 8);
    grid->addWidget(Label15, 0, 0, 1, 3);
    grid->addWidget(Label4, 1, 0);
    grid->addWidget(Label18, 1, 1);
    grid->addWidget(Label1, 1, 2);
    grid->addWidget(ListBox1, 2, 0);
    grid->addWidget(ListBox3, 2, 1);
    grid->addWidget(ListBox4, 2, 2);
    grid->addWidget(Panel9, 3, 0, 2, 1, Qt::AlignTop);
    auto* notes = new QVBoxLayout;
    notes->addWidget(Label83);
    notes->addWidget(Label84);
    notes->addStretch(1);
    notes->addWidget(Konweiter, 0, Qt::AlignRight);
    grid->addLayout(notes, 3, 1, 1, 2);
    grid->setRowStretch(4, 1);
}

void TForm2::buildHeatingPanel(QWidget* central)
{
    Panel3 = makePanel(central, "Panel3");

    Label6 = makeLabel(Panel3, "Label6", QString(), Face::Bold);
    Label5 = makeLabel(Panel3, "Label5", QString(), Face::Bold);
    Label10 = makeLabel(Panel3, "Label10", QStringLiteral("Anzahl :"), Face::Bold);
    Label10->setToolTip(QStringLiteral("Maximal  15 !"));
    Edit5 = makeEdit(Panel3, "Edit5", QStringLiteral("1"), 2);
    UpDown1 = makeUpDown(Panel3, "UpDown1", 1, 15, 1, Edit5);
    for (QWidget* count : {static_cast<QWidget*>(Edit5), static_cast<QWidget*>(UpDown1)})
        count->setToolTip(QStringLiteral("Anzahl eines Konvektortyps  ( Max 15 )"));
    Label17 = makeLabel(Panel3, "Label17", QString(), Face::Bold);

    // Continuous fan speed and the fixed stages share one place; the series decides which shows.
    Panel6 = makePanel(Panel3, "Panel6");
    Label19 = makeLabel(Panel6, "Label19", QString(), Face::Bold);
    Label25 = makeLabel(Panel6, "Label25", QString(), Face::Bold);
    DrehzahlBar4 = makeScrollBar(Panel6, "DrehzahlBar4", 200, 0, 1600, 30, 10);
    Edit4 = makeEdit(Panel6, "Edit4", QStringLiteral("0"), 5);
    Label101 = makeLabel(Panel6, "Label101", QString(), Face::Bold);
    auto* speed = inside<QGridLayout>(Panel6);
    speed->addWidget(Label19, 0, 0);
    speed->addWidget(Label25, 0, 1);
    speed->addWidget(DrehzahlBar4, 1, 0);
    // The typed setting or, for the slow fans, the fixed one in the same place.
    speed->addWidget(Edit4, 1, 1);
    speed->addWidget(Label101, 1, 1);
    speed->setColumnStretch(0, 1);

    Panel14 = makePanel(Panel3, "Panel14");
    QFont stageFont = Panel14->font();
    stageFont.setPointSize(10);
    Panel14->setFont(stageFont);
    Label62 = makeLabel(Panel14, "Label62", QString(), Face::Bold);
    Label64 = makeLabel(Panel14, "Label64", QStringLiteral("n  0 ... 1400 U/min"));
    RadioButton1 = makeRadio(Panel14, "RadioButton1", QStringLiteral("0"));
    RadioButton2 = makeRadio(Panel14, "RadioButton2", QString());
    RadioButton3 = makeRadio(Panel14, "RadioButton3", QString());
    RadioButton4 = makeRadio(Panel14, "RadioButton4", QString());
    makeExclusive(Panel14, {RadioButton1, RadioButton2, RadioButton3, RadioButton4});
    RadioButton1->setChecked(true);
    auto* stages = inside<QVBoxLayout>(Panel14);
    stages->addLayout(row({Label62, Label64, nullptr}, 12));
    stages->addLayout(row({RadioButton1, RadioButton2, RadioButton3, RadioButton4, nullptr}, 12));

    // The three coupled sliders: return temperature, mass flow, output. Each row is a heading
    // with the limits of its window, the slider, the value field and the unit.
    TR_Schalter = makeRadio(Panel3, "TR_Schalter", QStringLiteral("Rücklauftemp."), Face::Bold);
    MS_Schalter = makeRadio(Panel3, "MS_Schalter", QStringLiteral("Massenstrom"), Face::Bold);
    makeExclusive(Panel3, {TR_Schalter, MS_Schalter});
    TR_Schalter->setChecked(true);
    Label7 = makeLabel(Panel3, "Label7", QString(), Face::Bold);
    Label9 = makeLabel(Panel3, "Label9", QString(), Face::Bold);
    ScrollBar1 = makeScrollBar(Panel3, "ScrollBar1", 220, 0, 100, 0, 10);
    Edit1 = makeEdit(Panel3, "Edit1", QString(), 5);
    Label26 = makeLabel(Panel3, "Label26", QStringLiteral("[ °C ]"));

    Label12 = makeLabel(Panel3, "Label12", QString(), Face::Bold);
    Label13 = makeLabel(Panel3, "Label13", QString(), Face::Bold);
    ScrollBar2 = makeScrollBar(Panel3, "ScrollBar2", 220, 0, 100, 0, 1);
    Edit2 = makeEdit(Panel3, "Edit2", QString(), 5);
    Label31 = makeLabel(Panel3, "Label31", QStringLiteral("[ kg/h ]"));

    Label11 = makeLabel(Panel3, "Label11", QStringLiteral("Wärmeleistung"), Face::Bold);
    Label14 = makeLabel(Panel3, "Label14", QString(), Face::Bold);
    Label16 = makeLabel(Panel3, "Label16", QString(), Face::Bold);
    ScrollBar3 = makeScrollBar(Panel3, "ScrollBar3", 220, 0, 100, 0, 1);
    Edit3 = makeEdit(Panel3, "Edit3", QString(), 5);
    Label32 = makeLabel(Panel3, "Label32", QStringLiteral("[ W ]"));

    Panel5 = makePanel(Panel3, "Panel5", formcolours::silver());
    Panel5->setFrameStyle(QFrame::NoFrame);
    Panel5->setFixedHeight(3);
    Label20 = makeLabel(Panel3, "Label20", QString(), Face::Bold);
    Label21 = makeLabel(Panel3, "Label21", QStringLiteral("Label21"), Face::Bold);
    Label22 = makeLabel(Panel3, "Label22", QStringLiteral("[  W ]"), Face::Bold);

    Panel2 = makePanel(Panel3, "Panel2");
    Label24 = makeLabel(Panel2, "Label24", QStringLiteral("Delta-P"), Face::Bold);
    Label27 = makeLabel(Panel2, "Label27", QString(), Face::Bold);
    Label29 = makeLabel(Panel2, "Label29", QStringLiteral("[ Pa ]"), Face::Bold);
    Label23 = makeLabel(Panel2, "Label23", QStringLiteral("LpA"), Face::Bold);
    Label28 = makeLabel(Panel2, "Label28", QString(), Face::Bold);
    Label30 = makeLabel(Panel2, "Label30", QStringLiteral("[ dB ]"), Face::Bold);
    auto* water = inside<QHBoxLayout>(Panel2);
    for (QWidget* control : {Label24, Label27, Label29})
        water->addWidget(control);
    water->addSpacing(16);
    for (QWidget* control : {Label23, Label28, Label30})
        water->addWidget(control);
    water->addStretch(1);

    auto* left = new QGridLayout;
    left->addLayout(row({Label6, Label5, nullptr}, 4), 0, 0);
    left->addLayout(row({Label10, Edit5, UpDown1, Label17, nullptr}, 4), 1, 0);
    left->addWidget(Panel6, 2, 0);
    left->addWidget(Panel14, 2, 0);
    left->setRowStretch(3, 1);
    left->addWidget(Panel2, 4, 0);

    auto* right = new QGridLayout;
    right->setHorizontalSpacing(8);
    right->setVerticalSpacing(2);
    const auto heading = [right](int line, QWidget* caption, QLabel* low, QLabel* high) {
        auto* captionRow = row({caption, nullptr, low, high}, 16);
        captionRow->setStretch(1, 1);
        right->addLayout(captionRow, line, 0);
    };
    const auto slider = [right](int line, QScrollBar* bar, QLineEdit* field, QLabel* unit) {
        right->addWidget(bar, line, 0);
        right->addWidget(field, line, 1);
        right->addWidget(unit, line, 2);
    };
    heading(0, TR_Schalter, Label7, Label9);
    slider(1, ScrollBar1, Edit1, Label26);
    heading(2, MS_Schalter, Label12, Label13);
    slider(3, ScrollBar2, Edit2, Label31);
    heading(4, Label11, Label14, Label16);
    slider(5, ScrollBar3, Edit3, Label32);
    right->addWidget(Panel5, 6, 0, 1, 3);
    right->addLayout(row({Label20, nullptr, Label21}), 7, 0);
    right->addWidget(Label22, 7, 2);
    right->setRowStretch(8, 1);

    auto* panel = inside<QHBoxLayout>(Panel3, 8);
    panel->setSpacing(16);
    panel->addLayout(left);
    panel->addLayout(right, 1);
}

void TForm2::buildCoolingPanel(QWidget* central)
{
    Panel1 = makePanel(central, "Panel1");

    Label2 = makeLabel(Panel1, "Label2", QString(), Face::Heading);
    setTextColour(Label2, formcolours::coolingBlue());
    Label3 = makeLabel(Panel1, "Label3", QString(), Face::Bold);
    Label50 = makeLabel(Panel1, "Label50", QString());
    Edit9 = makeEdit(Panel1, "Edit9", QStringLiteral("1"), 2);
    UpDown2 = makeUpDown(Panel1, "UpDown2", 1, 15, 1, nullptr);
    Label97 = makeLabel(Panel1, "Label97", QString());
    Edit6 = makeEdit(Panel1, "Edit6", QStringLiteral("10"), 2);
    UpDown3 = makeUpDown(Panel1, "UpDown3", 10, 30, 10, Edit6);

    Panel7 = makePanel(Panel1, "Panel7");
    Label46 = makeLabel(Panel7, "Label46", QString());
    ScrollBar4 = makeScrollBar(Panel7, "ScrollBar4", 200, 0, 2000, 0, 1);
    Label47 = makeLabel(Panel7, "Label47", QStringLiteral(" Min"));
    Edit8 = makeEdit(Panel7, "Edit8", QString(), 5);
    Label102 = makeLabel(Panel7, "Label102", QStringLiteral("Label102"));
    // Shown instead of the field for the slow fans only.
    Label102->hide();
    Label48 = makeLabel(Panel7, "Label48", QStringLiteral("Max"));
    Label72 = makeLabel(Panel7, "Label72", QString());
    Label73 = makeLabel(Panel7, "Label73", QString());
    Label74 = makeLabel(Panel7, "Label74", QString());
    auto* speed = inside<QGridLayout>(Panel7);
    speed->addWidget(Label46, 0, 0, 1, 3);
    speed->addWidget(ScrollBar4, 1, 0, 1, 3);
    speed->addWidget(Label47, 2, 0);
    speed->addWidget(Edit8, 2, 1, Qt::AlignHCenter);
    speed->addWidget(Label102, 2, 1, Qt::AlignHCenter);
    speed->addWidget(Label48, 2, 2, Qt::AlignRight);
    speed->addWidget(Label72, 3, 0);
    speed->addWidget(Label73, 3, 1, Qt::AlignHCenter);
    speed->addWidget(Label74, 3, 2, Qt::AlignRight);

    Panel15 = makePanel(Panel1, "Panel15");
    QFont stageFont = Panel15->font();
    stageFont.setPointSize(10);
    Panel15->setFont(stageFont);
    Label63 = makeLabel(Panel15, "Label63", QString(), Face::Bold);
    Label75 = makeLabel(Panel15, "Label75", QStringLiteral("n  0 ... 1400 U/min"));
    RadioButton5 = makeRadio(Panel15, "RadioButton5", QString());
    RadioButton6 = makeRadio(Panel15, "RadioButton6", QString());
    RadioButton7 = makeRadio(Panel15, "RadioButton7", QString());
    makeExclusive(Panel15, {RadioButton5, RadioButton6, RadioButton7});
    RadioButton5->setChecked(true);
    Label98 = makeLabel(Panel15, "Label98", QStringLiteral("(   700 U/Min)"));
    Label99 = makeLabel(Panel15, "Label99", QStringLiteral("( 1000 U/Min)"));
    Label100 = makeLabel(Panel15, "Label100", QStringLiteral("( 1400 U/Min)"));
    auto* stages = inside<QGridLayout>(Panel15);
    stages->setVerticalSpacing(0);
    stages->addWidget(Label63, 0, 0, 1, 2);
    stages->addWidget(Label75, 1, 0, 1, 2);
    stages->addWidget(RadioButton5, 2, 0);
    stages->addWidget(Label98, 2, 1);
    stages->addWidget(RadioButton6, 3, 0);
    stages->addWidget(Label99, 3, 1);
    stages->addWidget(RadioButton7, 4, 0);
    stages->addWidget(Label100, 4, 1);

    Label39 = makeLabel(Panel1, "Label39", QString());
    Label71 = makeLabel(Panel1, "Label71", QString());
    Label49 = makeLabel(Panel1, "Label49", QString(), Face::Bold);
    Label58 = makeLabel(Panel1, "Label58", QString());
    Label60 = makeLabel(Panel1, "Label60", QString());
    Label59 = makeLabel(Panel1, "Label59", QString(), Face::Bold);

    Panel11 = makePanel(Panel1, "Panel11");
    Label41 = makeLabel(Panel11, "Label41", QString());
    Label66 = makeLabel(Panel11, "Label66", QString());
    // Caption left, value right, as in the flow temperature line above.
    Label40 = makeLabel(Panel11, "Label40", QString());
    Label65 = makeLabel(Panel11, "Label65", QString());
    Label68 = makeLabel(Panel11, "Label68", QString());
    Label69 = makeLabel(Panel11, "Label69", QString());
    Label67 = makeLabel(Panel11, "Label67", QString());
    Label70 = makeLabel(Panel11, "Label70", QStringLiteral("[ W ]"));
    auto* flow = inside<QGridLayout>(Panel11);
    flow->setVerticalSpacing(2);
    flow->addWidget(Label41, 0, 0);
    flow->addWidget(Label66, 0, 1);
    flow->addWidget(Label40, 1, 0);
    flow->addWidget(Label65, 1, 1);
    flow->setRowMinimumHeight(2, 6);
    flow->addWidget(Label68, 3, 0, 1, 2);
    flow->addWidget(Label69, 4, 0, 1, 2);
    flow->addWidget(Label67, 5, 0);
    flow->addWidget(Label70, 5, 1);
    flow->setRowStretch(6, 1);

    Panel8 = makePanel(Panel1, "Panel8");
    applyFace(Panel8, Face::Bold);
    Label42 = makeLabel(Panel8, "Label42", QString());
    Label43 = makeLabel(Panel8, "Label43", QString());
    Label53 = makeLabel(Panel8, "Label53", QStringLiteral("[ Pa ]"));
    Label44 = makeLabel(Panel8, "Label44", QString());
    Label45 = makeLabel(Panel8, "Label45", QString());
    Label54 = makeLabel(Panel8, "Label54", QStringLiteral("[ dB ]"));
    Label55 = makeLabel(Panel8, "Label55", QString());
    Label56 = makeLabel(Panel8, "Label56", QString());
    Label57 = makeLabel(Panel8, "Label57", QString());
    auto* results = inside<QHBoxLayout>(Panel8, 8);
    for (QWidget* control : {Label42, Label43, Label53})
        results->addWidget(control);
    results->addSpacing(16);
    for (QWidget* control : {Label44, Label45, Label54})
        results->addWidget(control);
    results->addSpacing(16);
    for (QWidget* control : {Label55, Label56, Label57})
        results->addWidget(control);
    results->addStretch(1);

    // The dew-point warning lies over the output figures while it is shown; it is opaque.
    GroupBox3 = makeGroupBox(Panel1, "GroupBox3", QStringLiteral("Information"));
    setPanelColour(GroupBox3, formcolours::silver());
    Label77 = makeLabel(GroupBox3, "Label77", QString(), Face::Bold);
    setTextColour(Label77, formcolours::warningRed());
    Label78 = makeLabel(GroupBox3, "Label78", QString());
    Label80 = makeLabel(GroupBox3, "Label80", QString());
    Label79 = makeLabel(GroupBox3, "Label79", QString());
    Label81 = makeLabel(GroupBox3, "Label81", QString());
    Button1 = makeButton(GroupBox3, "Button1", QStringLiteral("O K "));
    auto* warning = inside<QGridLayout>(GroupBox3, 8);
    warning->addWidget(Label77, 0, 0, 1, 2);
    warning->addWidget(Label78, 1, 0);
    warning->addWidget(Label80, 1, 1);
    warning->addWidget(Label79, 2, 0);
    warning->addWidget(Label81, 2, 1);
    warning->addWidget(Button1, 3, 0, 1, 2, Qt::AlignHCenter);

    auto* outputs = new QGridLayout;
    outputs->setHorizontalSpacing(12);
    outputs->addWidget(Label39, 0, 0, 1, 2);
    outputs->addWidget(Label71, 1, 0);
    outputs->addWidget(Label49, 1, 1);
    outputs->setRowMinimumHeight(2, 6);
    outputs->addWidget(Label58, 3, 0);
    outputs->addWidget(Label59, 3, 1);
    outputs->addWidget(Label60, 4, 0);
    outputs->setRowStretch(5, 1);

    auto* grid = inside<QGridLayout>(Panel1, 8);
    grid->setHorizontalSpacing(16);
    grid->addLayout(row({Label2, Label3, nullptr}, 16), 0, 0, 1, 3);
    grid->addLayout(row({Label50, Edit9, UpDown2, Label97, Edit6, UpDown3, nullptr}, 4), 1, 0, 1, 2);
    grid->addWidget(Panel7, 2, 0, Qt::AlignTop);
    grid->addWidget(Panel15, 2, 0, Qt::AlignTop);
    grid->addLayout(outputs, 2, 1);
    grid->addWidget(GroupBox3, 1, 1, 2, 1);
    grid->addWidget(Panel11, 1, 2, 2, 1);
    grid->addWidget(Panel8, 3, 0, 1, 3);
    grid->setColumnStretch(1, 1);
}

void TForm2::buildListArea(QWidget* central)
{
    // The heading is set in the list's own fixed-pitch font and starts where the list's text
    // starts, so each column title stands over its column.
    const QFont listFont(QStringLiteral("DejaVu Sans Mono"), 10);
    Label8 = makeLabel(central, "Label8", QString());
    Label94 = makeLabel(central, "Label94", QString(), Face::Bold);
    QFont headingFont = listFont;
    headingFont.setBold(true);
    Label8->setFont(headingFont);
    Label94->setFont(headingFont);

    Panel12 = makePanel(central, "Panel12");
    ListBox2 = new QListWidget(Panel12);
    ListBox2->setObjectName(QStringLiteral("ListBox2"));
    ListBox2->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox2->setFont(listFont);
    // Every column of both modes: the heading's 72 characters, the running total and the total
    // of the other mode; eight lines without scrolling.
    constexpr int ListColumns = 90, ListRows = 8;
    const QFontMetrics listMetrics(listFont);
    const int listFrame = 2 * ListBox2->frameWidth();
    const int scrollBar = ListBox2->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, ListBox2);
    ListBox2->setMinimumSize(listMetrics.horizontalAdvance(QString(ListColumns, QLatin1Char('0'))) +
                                 listFrame + scrollBar + 8,
                             ListRows * (listMetrics.height() + 2) + listFrame);
    // No higher than that: the window stays as low as the screen of a laptop allows.
    ListBox2->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    ListBox2->setFixedHeight(ListBox2->minimumHeight());
    constexpr int ListMargin = 4;
    auto* listFrameLayout = inside<QVBoxLayout>(Panel12, ListMargin);
    listFrameLayout->addWidget(ListBox2);
    const int textStart = ListMargin + Panel12->frameWidth() + ListBox2->frameWidth() +
                          ListBox2->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, ListBox2) + 1;
    Label8->setIndent(textStart);

    GroupBox1 = makeGroupBox(central, "GroupBox1", QStringLiteral("Konvektorliste"));
    Bearbeiten = makeButton(GroupBox1, "Bearbeiten", QStringLiteral("Bearbeiten"), Face::Bold);
    Erweitern = makeButton(GroupBox1, "Erweitern", QStringLiteral("Erweitern"), Face::Bold);
    Loeschen = makeButton(GroupBox1, "Loeschen", QStringLiteral("Löschen"), Face::Bold);
    inside<QHBoxLayout>(GroupBox1, 8)->addLayout(row({Bearbeiten, Erweitern, Loeschen}));

    GroupBox4 = makeGroupBox(central, "GroupBox4", QStringLiteral("Konvektor-Information"));
    Label61 = makeLabel(GroupBox4, "Label61", QString());
    setTextColour(Label61, formcolours::warningRed());
    Label76 = makeLabel(GroupBox4, "Label76", QString());
    Label93 = makeLabel(GroupBox4, "Label93", QStringLiteral("Drehzahl  70/75 %"));
    Label105 = makeLabel(GroupBox4, "Label105", QString());
    Label82 = makeLabel(GroupBox4, "Label82", QStringLiteral("M [ kg/h ]"));
    Label86 = makeLabel(GroupBox4, "Label86", QString());
    Label87 = makeLabel(GroupBox4, "Label87", QStringLiteral("d p [ Pa ]"));
    Label88 = makeLabel(GroupBox4, "Label88", QString());
    Label89 = makeLabel(GroupBox4, "Label89", QStringLiteral("LpA  [ dB ]"));
    Label90 = makeLabel(GroupBox4, "Label90", QString());
    Label91 = makeLabel(GroupBox4, "Label91", QStringLiteral("Leistung Q [ W ]"));
    Label92 = makeLabel(GroupBox4, "Label92", QString());
    auto* rating = inside<QGridLayout>(GroupBox4, 8);
    rating->setVerticalSpacing(2);
    rating->setHorizontalSpacing(12);
    rating->addWidget(Label61, 0, 0, 1, 2);
    rating->addWidget(Label76, 1, 0, 1, 2);
    const std::pair<QLabel*, QLabel*> ratingLines[] = {
        {Label93, Label105}, {Label82, Label86}, {Label87, Label88}, {Label89, Label90}, {Label91, Label92}};
    int line = 2;
    for (const auto& [caption, value] : ratingLines) {
        rating->addWidget(caption, line, 0);
        rating->addWidget(value, line++, 1);
    }
    rating->setRowStretch(line, 1);

    GroupBox2 = makeGroupBox(central, "GroupBox2", QString());
    Label35 = makeLabel(GroupBox2, "Label35", QStringLiteral("Wärmebedarf  [ kg/h ]"));
    Label36 = makeLabel(GroupBox2, "Label36", QString());
    Label34 = makeLabel(GroupBox2, "Label34", QStringLiteral("Raumtemperatur   [°C]"));
    Label37 = makeLabel(GroupBox2, "Label37", QString());
    Label33 = makeLabel(GroupBox2, "Label33", QString());
    Label38 = makeLabel(GroupBox2, "Label38", QString());
    Label95 = makeLabel(GroupBox2, "Label95", QString());
    Label96 = makeLabel(GroupBox2, "Label96", QString());
    auto* room = inside<QGridLayout>(GroupBox2, 8);
    room->setVerticalSpacing(2);
    room->setHorizontalSpacing(12);
    const std::pair<QLabel*, QLabel*> roomLines[] = {
        {Label35, Label36}, {Label34, Label37}, {Label33, Label38}, {Label95, Label96}};
    line = 0;
    for (const auto& [caption, value] : roomLines) {
        room->addWidget(caption, line, 0);
        room->addWidget(value, line++, 1);
    }
    room->setRowStretch(line, 1);

    Panel13 = makePanel(central, "Panel13");
    Label106 = makeLabel(Panel13, "Label106", QStringLiteral("Achtung:"), Face::Bold);
    setTextColour(Label106, formcolours::warningRed());
    Label107 =
        makeLabel(Panel13, "Label107", QStringLiteral("Leistungen Q -->  wasserseitig abgegebene  Gesamt-"));
    Label108 = makeLabel(Panel13, "Label108", QStringLiteral("kühlleistung    Q = Qsensibel + Qlatent"));
    Label109 = makeLabel(Panel13, "Label109",
                         QStringLiteral("Für die Bestimmung der sensiblen Kühlleistung im Auslegungs-"));
    Label113 = makeLabel(Panel13, "Label113",
                         QStringLiteral("fall unterhalb des Taupunktes  wenden Sie sich bitte  an"));
    Label110 = makeLabel(Panel13, "Label110", QString());
    auto* note = inside<QVBoxLayout>(Panel13);
    note->setSpacing(0);
    for (QWidget* control : {Label106, Label107, Label108, Label109, Label113, Label110})
        note->addWidget(control);

    Panel10 = makePanel(central, "Panel10");
    Label111 = makeLabel(Panel10, "Label111", QString());
    Label85 = makeLabel(Panel10, "Label85", QString(), Face::Bold);
    setTextColour(Label85, formcolours::warningRed());
    auto* pressure = inside<QVBoxLayout>(Panel10);
    pressure->addWidget(Label111);
    pressure->addWidget(Label85);

    Panel16 = makePanel(central, "Panel16");
    Label103 = makeLabel(Panel16, "Label103", QString());
    Label104 = makeLabel(Panel16, "Label104", QString());
    Label112 = makeLabel(Panel16, "Label112", QString());
    setTextColour(Label112, formcolours::warningRed());
    auto* laminar = inside<QVBoxLayout>(Panel16);
    laminar->setSpacing(0);
    for (QWidget* control : {Label103, Label104, Label112})
        laminar->addWidget(control);

    // The whole window, laid out here as this area is built last: the type panel and the two
    // operating-point panels take turns in the upper part (at most one shows) and the hint what
    // to do next shows when none does; the room's list and its boxes follow below.
    auto* hint = makeLabel(central, "NextStepHint", text(NextStepText), Face::Bold);
    hint->setWordWrap(true);
    hint->setAlignment(Qt::AlignCenter);
    hint->hide();

    auto* stage = new QGridLayout;
    stage->addWidget(Panel4, 0, 0, Qt::AlignLeft | Qt::AlignTop);
    stage->addWidget(Panel3, 0, 0);
    stage->addWidget(Panel1, 0, 0);
    stage->addWidget(hint, 0, 0);
    int stageHeight = 0;
    for (QWidget* panel :
         {static_cast<QWidget*>(Panel4), static_cast<QWidget*>(Panel3), static_cast<QWidget*>(Panel1)})
        stageHeight = std::max(stageHeight, panel->sizeHint().height());
    stage->setRowMinimumHeight(0, stageHeight);

    auto* headings = new QHBoxLayout;
    headings->setSpacing(QFontMetrics(Label8->font()).horizontalAdvance(QStringLiteral("  ")));
    headings->addWidget(Label8);
    headings->addWidget(Label94);
    headings->addStretch(1);

    auto* leftColumn = new QVBoxLayout;
    leftColumn->addWidget(GroupBox1, 0, Qt::AlignLeft);
    leftColumn->addWidget(Panel13);
    leftColumn->addStretch(1);
    auto* rightColumn = new QVBoxLayout;
    rightColumn->addWidget(GroupBox2);
    rightColumn->addWidget(Panel10);
    rightColumn->addWidget(Panel16);
    rightColumn->addStretch(1);
    auto* boxes = new QHBoxLayout;
    boxes->setSpacing(8);
    boxes->addLayout(leftColumn);
    boxes->addWidget(GroupBox4, 0, Qt::AlignTop);
    boxes->addStretch(1);
    boxes->addLayout(rightColumn);

    auto* window = new QVBoxLayout(central);
    window->setContentsMargins(12, 8, 12, 8);
    window->setSpacing(6);
    window->addLayout(stage);
    window->addLayout(headings);
    window->addWidget(Panel12);
    window->addLayout(boxes);
    window->addStretch(1);

    new EmptyStageHint(hint, {Panel4, Panel3, Panel1});
}

} // namespace tepa
