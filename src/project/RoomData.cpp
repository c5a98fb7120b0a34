// The room data panel of the main window: room designation, heating or cooling mode, the room's
// demands and temperatures with their checks, the dual-use choice, and the type list from which a
// convector type is picked for the room calculation.
#include "app/TForm1.h"
#include "calcwindow/FormControls.h"
#include "calcwindow/TForm2.h"
#include "core/engine/AirSide.h"
#include "core/model/ProjectReset.h"
#include "core/productdata/ProductData.h"
#include "core/text/Numbers.h"

#include <QAction>
#include <QFontDatabase>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QRadioButton>

#include <functional>
#include <optional>
#include <string>

namespace tepa {

namespace {

// Interface texts used by the room data panel.
constexpr std::size_t RoomTempLabelText = 25;
constexpr std::size_t HeatingDemandLabelText = 26;
constexpr std::size_t InvalidNumberText = 78;
constexpr std::size_t DewPointWarningText = 196;
constexpr std::size_t HeatingTypesText = 254;
constexpr std::size_t CoolingTypesText = 255;

constexpr const char* NotYetAvailableMessage = "KONVEKTORTYP NOCH NICHT INTEGRIERT !!";

// Type list items: the shown name padded with blanks to this width, then the line number.
constexpr int TypeItemNameWidth = 16;

// The room name is stored with at most this many characters.
constexpr int RoomNameLength = 15;

// Admissible ranges; a value outside is kept in the edit but not stored.
constexpr double MinRoomTempC = 0;
constexpr double MaxRoomTempC = 40;
constexpr double MinHeatingFlowTempC = 40;
constexpr double MaxHeatingFlowTempC = 110;
constexpr double MinCoolingFlowTempC = 5;
constexpr double MaxCoolingFlowTempC = 25;
constexpr double MinHumidityPercent = 0;
constexpr double MaxHumidityPercent = 100;

QString interfaceText(const Session& session, std::size_t line)
{
    return QString::fromStdString(session.InterfaceTexts.line(line));
}

QString qText(const std::string& text)
{
    return QString::fromStdString(text);
}

void setTextColour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, formcolours::readableText(colour));
    palette.setColor(QPalette::ButtonText, formcolours::readableText(colour));
    widget->setPalette(palette);
}

QLineEdit* makeEdit(QWidget* parent, const char* name, const QString& shown, const QRect& geometry)
{
    auto* edit = new QLineEdit(shown, parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(geometry);
    return edit;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    return label;
}

QFrame* makePanel(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setGeometry(geometry);
    return panel;
}

// Runs `action` for Enter on the watched widget instead of the widget's own use of the key.
class EnterKeyAction : public QObject
{
public:
    EnterKeyAction(QWidget* watched, std::function<void()> action)
        : QObject(watched)
        , m_action(std::move(action))
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != parent() || event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        m_action();
        return true;
    }

private:
    std::function<void()> m_action;
};

// A message box takes the focus from the edit, which then reports editingFinished again while
// its check is still showing the box; the check must not run inside itself.
class CheckGuard
{
public:
    CheckGuard()
        : m_entered(!s_running)
    {
        s_running = true;
    }
    ~CheckGuard()
    {
        if (m_entered)
            s_running = false;
    }
    CheckGuard(const CheckGuard&) = delete;
    CheckGuard& operator=(const CheckGuard&) = delete;
    bool entered() const { return m_entered; }

private:
    static inline bool s_running = false;
    bool m_entered;
};

// The number typed into a room data edit. Either separator may be typed: every "," becomes "."
// first, and the edit shows the converted text. The whole text must be a number ("12a" is not).
std::optional<double> fieldNumber(QLineEdit* edit)
{
    const std::string text = commaToPoint(edit->text().toStdString());
    edit->setText(qText(text));
    const Result<double> value = localeFloat(text, '.');
    if (!value)
        return std::nullopt;
    return *value;
}

// The checked number of a room data edit. An entry that is no number (or a negative one where
// none is allowed) shows text 78 and puts the old value back, written with `width` characters
// and one decimal.
std::optional<double> checkedNumber(const Session& session,
                                    platform::Messages& messages,
                                    QLineEdit* edit,
                                    double oldValue,
                                    int width,
                                    bool negativeAllowed = true)
{
    const std::optional<double> value = fieldNumber(edit);
    if (value && (negativeAllowed || *value >= 0))
        return value;
    messages.showInformation(interfaceText(session, InvalidNumberText));
    edit->setText(qText(strFixed(oldValue, width, 1)));
    return std::nullopt;
}

// The heating and the cooling demand are checked alike: a number not below zero; a changed demand
// is taken at the next room run.
void checkDemand(Session& session, platform::Messages& messages, QLineEdit* edit, double& demand)
{
    CheckGuard guard;
    if (!guard.entered())
        return;
    const std::optional<double> value = checkedNumber(session, messages, edit, demand, 5, false);
    if (value && *value != demand) {
        session.DemandChanged = true;
        demand = *value;
    }
}

std::string typeItemText(const TypeIndexLine& line, std::size_t lineNumber)
{
    QString item = QString::fromStdString(line.shownName).leftJustified(TypeItemNameWidth, QLatin1Char(' '));
    return item.toStdString() + std::to_string(lineNumber);
}

} // namespace

void TForm1::buildRoomDataPanel()
{
    QWidget* host = centralWidget();

    GroupBox2 = new QGroupBox(host);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    // Ends above the status lines under it.
    GroupBox2->setGeometry(16, 16, 768, 520);

    Label14 = makeLabel(GroupBox2, "Label14", {16, 28, 100, 22});
    Edit13 = makeEdit(GroupBox2, "Edit13", QString(), {120, 26, 180, 24});
    // No more is kept; a longer name would be cut without notice.
    Edit13->setMaxLength(RoomNameLength);
    Label20 = makeLabel(GroupBox2, "Label20", {330, 28, 110, 22});
    RadioButton1 = new QRadioButton(GroupBox2);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton1->setGeometry(450, 26, 140, 24);
    RadioButton1->setChecked(true);
    setTextColour(RadioButton1, Qt::red);
    RadioButton2 = new QRadioButton(GroupBox2);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    RadioButton2->setGeometry(600, 26, 150, 24);
    setTextColour(RadioButton2, Qt::blue);

    // A panel of its own, so that the dual-use pair is exclusive apart from the mode pair.
    Panel5 = makePanel(GroupBox2, "Panel5", {16, 60, 360, 34});
    RadioButton3 = new QRadioButton(Panel5);
    RadioButton3->setObjectName(QStringLiteral("RadioButton3"));
    RadioButton3->setGeometry(8, 5, 170, 24);
    RadioButton4 = new QRadioButton(Panel5);
    RadioButton4->setObjectName(QStringLiteral("RadioButton4"));
    RadioButton4->setGeometry(184, 5, 170, 24);
    RadioButton4->setChecked(true);

    constexpr int labelX = 8, labelWidth = 230, editX = 246, editWidth = 96, rowHeight = 40;
    auto row = [&](int index) { return 12 + index * rowHeight; };

    Panel2 = makePanel(GroupBox2, "Panel2", {16, 104, 360, 170});
    Label8 = makeLabel(Panel2, "Label8", {labelX, row(0), labelWidth, 24});
    Edit3 = makeEdit(Panel2, "Edit3", QStringLiteral("20"), {editX, row(0), editWidth, 24});
    Edit3->setToolTip(QStringLiteral("Temperaturbereich  0° -  40° C"));
    Label7 = makeLabel(Panel2, "Label7", {labelX, row(1), labelWidth, 24});
    Edit2 = makeEdit(Panel2, "Edit2", QStringLiteral("0"), {editX, row(1), editWidth, 24});
    Label9 = makeLabel(Panel2, "Label9", {labelX, row(2), labelWidth, 24});
    Edit4 = makeEdit(Panel2, "Edit4", QStringLiteral("75"), {editX, row(2), editWidth, 24});
    Edit4->setToolTip(QStringLiteral("Temperaturbereich  40°  -  110° C"));
    Label17 = makeLabel(Panel2, "Label17", {labelX, row(3), labelWidth, 24});
    Edit8 = makeEdit(Panel2, "Edit8", QStringLiteral("20"), {editX, row(3), editWidth, 24});
    // The second temperature belongs to the primary-air series only; the type pick enables it.
    Label17->setEnabled(false);
    Edit8->setEnabled(false);

    Panel1 = makePanel(GroupBox2, "Panel1", {16, 104, 360, 210});
    Label18 = makeLabel(Panel1, "Label18", {labelX, row(0), labelWidth, 24});
    Edit9 = makeEdit(Panel1, "Edit9", QStringLiteral("26"), {editX, row(0), editWidth, 24});
    Label13 = makeLabel(Panel1, "Label13", {labelX, row(1), labelWidth, 24});
    Edit7 = makeEdit(Panel1, "Edit7", QStringLiteral("0"), {editX, row(1), editWidth, 24});
    Label15 = makeLabel(Panel1, "Label15", {labelX, row(2), labelWidth, 24});
    Edit1 = makeEdit(Panel1, "Edit1", QStringLiteral("16"), {editX, row(2), editWidth, 24});
    Label16 = makeLabel(Panel1, "Label16", {labelX, row(3), labelWidth, 24});
    Edit5 = makeEdit(Panel1, "Edit5", QStringLiteral("16"), {editX, row(3), editWidth, 24});
    Label16->setEnabled(false);
    Edit5->setEnabled(false);
    Label6 = makeLabel(Panel1, "Label6", {labelX, row(4), labelWidth, 24});
    Edit6 = makeEdit(Panel1, "Edit6", QStringLiteral("45"), {editX, row(4), editWidth, 24});
    Panel1->hide();

    Label21 = makeLabel(GroupBox2, "Label21", {392, 64, 360, 22});
    GroupBox5 = new QGroupBox(QStringLiteral("Konvektoren"), GroupBox2);
    GroupBox5->setObjectName(QStringLiteral("GroupBox5"));
    GroupBox5->setGeometry(392, 90, 360, 420);
    ListBox3 = new QListWidget(GroupBox5);
    ListBox3->setObjectName(QStringLiteral("ListBox3"));
    ListBox3->setGeometry(10, 24, 160, 384);
    ListBox3->setToolTip(QStringLiteral("Auswahl durch Doppelclick"));
    // The items align their line numbers with blanks, which needs a fixed-pitch font.
    ListBox3->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    Image2 = makeLabel(GroupBox5, "Image2", {180, 24, 170, 200});
    Image2->setScaledContents(true);
    Image2->hide();

    GroupBox2->hide();

    // A focused edit reports editingFinished while the window is being destroyed. With the window
    // as receiver, Qt delivers nothing once its destruction has begun, so no check runs then;
    // a connection without it would show a message from a half-destroyed window.
    connect(Edit1, &QLineEdit::editingFinished, this, &TForm1::Edit1Change);
    connect(Edit2, &QLineEdit::editingFinished, this, &TForm1::Edit2Change);
    connect(Edit3, &QLineEdit::editingFinished, this, &TForm1::Edit3Change);
    connect(Edit4, &QLineEdit::editingFinished, this, &TForm1::Edit4Change);
    connect(Edit6, &QLineEdit::editingFinished, this, &TForm1::Edit6Change);
    connect(Edit7, &QLineEdit::editingFinished, this, &TForm1::Edit7Change);
    connect(Edit9, &QLineEdit::editingFinished, this, &TForm1::Edit9Change);
    // Typing shows at once in the title's modified marker; a check may store the value.
    for (QLineEdit* edit : {Edit1, Edit2, Edit3, Edit4, Edit6, Edit7, Edit9}) {
        connect(edit, &QLineEdit::textEdited, this, &TForm1::updateModifiedMarker);
        connect(edit, &QLineEdit::editingFinished, this, &TForm1::updateModifiedMarker);
    }
    // textChanged, not textEdited: the name follows the edit also when the record is shown.
    connect(Edit13, &QLineEdit::textChanged, this, &TForm1::Edit13Change);
    connect(RadioButton1, &QRadioButton::clicked, this, &TForm1::RadioButton1Click);
    connect(RadioButton2, &QRadioButton::clicked, this, &TForm1::RadioButton2Click);
    connect(RadioButton3, &QRadioButton::clicked, this, &TForm1::RadioButton3Click);
    connect(RadioButton4, &QRadioButton::clicked, this, &TForm1::RadioButton4Click);
    connect(ListBox3, &QListWidget::itemClicked, this, &TForm1::ListBox3Click);
    connect(ListBox3, &QListWidget::itemDoubleClicked, this, &TForm1::ListBox3DblClick);
    // By keyboard: an arrow key picks a type as a click does, Enter takes it as a double click.
    new KeyboardPick(ListBox3, [this] { ListBox3Click(); });
    new EnterKeyAction(ListBox3, [this] { ListBox3DblClick(); });
}

void TForm1::Raumdaten1Click()
{
    Session& s = m_session;
    // The project data panel is left: what was typed there is kept.
    storeTypedProjectData();
    s.RoomDataShown = true;
    if (Berechnungen1)
        Berechnungen1->setEnabled(true);

    // A loaded project opens in its recorded mode; changing type, dual use or the heating data
    // would no longer match the stored entries.
    const bool unlocked = !s.ProjectLoaded;
    ListBox3->setEnabled(unlocked);
    Panel5->setEnabled(unlocked);
    Panel2->setEnabled(unlocked);
    if (s.ProjectLoaded && m_form2)
        m_form2->showOtherModeTotalHeading();

    Result<std::vector<std::string>> index = loadConvectorTypeIndex(s.ProgramDir);
    if (!index) {
        m_services.messages.showError(qText(index.error()));
        return;
    }
    s.ConvectorTypeIndex = std::move(index).value();

    // The command toggles the panel.
    if (!GroupBox2->isHidden()) {
        GroupBox2->hide();
        return;
    }

    Panel1->hide();
    Panel2->show();
    Label21->setText(interfaceText(s, HeatingTypesText));
    ListBox3->clear();

    if (s.ProjectLoaded) {
        if (s.Project.HeatingInUse) {
            RadioButton1->setChecked(true);
            s.HeatingMode = true;
            s.CoolingMode = false;
            if (s.Project.HeatingDualUse)
                RadioButton3->setChecked(true);
            RadioButton1Click();
        } else {
            RadioButton2->setChecked(true);
            s.CoolingMode = true;
            s.HeatingMode = false;
            if (s.Project.CoolingDualUse)
                RadioButton3->setChecked(true);
            RadioButton2Click();
        }
        ListBox3->setEnabled(false);
    } else if (RadioButton2->isChecked()) {
        RadioButton2Click();
    } else {
        RadioButton1Click();
    }

    s.ProjectTouched = true;
    RecordToRoomData();
    if (GroupBox1)
        GroupBox1->hide();
    GroupBox2->show();
}

void TForm1::RecordToRoomData()
{
    const ProjectRecord& p = m_session.Project;
    Edit13->setText(qText(p.RoomName.text()));
    if (m_session.HeatingMode) {
        Edit3->setText(qText(strFixed(p.HeatingRoomTemp, 4, 1)));
        Edit2->setText(qText(strFixed(p.HeatingDemand, 6, 1)));
        Edit4->setText(qText(strFixed(p.HeatingFlowTemp, 3, 1)));
        Edit8->setText(qText(strFixed(p.HeatingSecondTemp, 4, 1)));
        m_session.Project.HeatingDualUse = RadioButton3->isChecked();
    }
    if (m_session.CoolingMode) {
        Edit9->setText(qText(strFixed(p.CoolingRoomTemp, 4, 1)));
        Edit7->setText(qText(strFixed(p.CoolingDemand, 6, 1)));
        Edit1->setText(qText(strFixed(p.CoolingFlowTemp, 3, 1)));
        Edit5->setText(qText(strFixed(p.CoolingSecondTemp, 3, 1)));
        Edit6->setText(qText(strFixed(p.CoolingHumidity, 4, 1)));
        m_session.Project.CoolingDualUse = RadioButton3->isChecked();
    }
}

void TForm1::RoomDataToRecord()
{
    ProjectRecord& p = m_session.Project;
    auto value = [](const QLineEdit* edit) { return decimalValue(edit->text().toStdString()); };
    p.RoomName.setText(Edit13->text().left(RoomNameLength).toStdString());
    // The calculation run checks the temperatures itself; here the texts are taken as they read.
    if (m_session.HeatingMode) {
        p.HeatingRoomTemp = value(Edit3);
        p.HeatingDemand = value(Edit2);
        p.HeatingFlowTemp = value(Edit4);
        p.HeatingSecondTemp = value(Edit8);
        if (p.CoolingDualUse)
            RadioButton3->setChecked(true);
    }
    if (m_session.CoolingMode) {
        p.CoolingRoomTemp = value(Edit9);
        p.CoolingDemand = value(Edit7);
        p.CoolingFlowTemp = value(Edit1);
        p.CoolingSecondTemp = value(Edit5);
        p.CoolingHumidity = value(Edit6);
        if (p.HeatingDualUse)
            RadioButton3->setChecked(true);
    }
}

void TForm1::ResetRoomData()
{
    resetRoomData(m_session.Project);
}

void TForm1::FillTypeList(int mode)
{
    ListBox3->clear();
    const std::vector<std::string>& index = m_session.ConvectorTypeIndex;
    for (std::size_t i = FirstTypeIndexLine; i < index.size(); ++i) {
        const TypeIndexLine line = parseTypeIndexLine(index[i]);
        // Mode 2 offers only the types that also cool (cooling, and dual use in either mode).
        if (mode == 2 && !line.cooling)
            continue;
        auto* item = new QListWidgetItem(qText(typeItemText(line, i)), ListBox3);
        // The pick reads the line number from here, not from the item's text, so that every
        // line of the index can be picked.
        item->setData(Qt::UserRole, QVariant::fromValue<qulonglong>(i));
    }
}

void TForm1::Edit2Change()
{
    if (m_session.HeatingMode)
        checkDemand(m_session, m_services.messages, Edit2, m_session.Project.HeatingDemand);
}

void TForm1::Edit4Change()
{
    if (!m_session.HeatingMode)
        return;
    CheckGuard guard;
    if (!guard.entered())
        return;
    ProjectRecord& p = m_session.Project;
    const std::optional<double> value =
        checkedNumber(m_session, m_services.messages, Edit4, p.HeatingFlowTemp, 5);
    if (!value)
        return;
    if (*value != p.HeatingFlowTemp) {
        // Out of range the text stays visible but is not stored; the calculation run rejects it.
        m_session.FlowTempChanged = true;
        if (*value >= MinHeatingFlowTempC && *value <= MaxHeatingFlowTempC)
            p.HeatingFlowTemp = *value;
    }
}

void TForm1::Edit3Change()
{
    CheckGuard guard;
    if (!guard.entered())
        return;
    ProjectRecord& p = m_session.Project;
    const std::optional<double> value =
        checkedNumber(m_session, m_services.messages, Edit3, p.HeatingRoomTemp, 5);
    if (!value)
        return;
    if (*value != p.HeatingRoomTemp) {
        m_session.RoomTempChanged = true;
        if (*value >= MinRoomTempC && *value <= MaxRoomTempC)
            p.HeatingRoomTemp = *value;
    }
}

namespace {

// Warns (text 196) when `comparedC` lies below the dew point of the room air plus the margin.
// A humidity for which the air has no dew point (beyond saturation, or not a number) gives no
// limit to compare with.
void dewPointCheck(const Session& session,
                   platform::Messages& messages,
                   double relativeHumidityPercent,
                   double comparedC)
{
    const double roomTempC = session.Project.CoolingRoomTemp;
    const engine::DewPointResult dewPoint = engine::Taupunkt(roomTempC, relativeHumidityPercent);
    if (dewPoint.status != 0)
        return;
    if (engine::dewPointFlowLimit(roomTempC, dewPoint.dewPointC) > comparedC)
        messages.showMessage(interfaceText(session, DewPointWarningText));
}

} // namespace

void TForm1::Edit9Change()
{
    CheckGuard guard;
    if (!guard.entered())
        return;
    ProjectRecord& p = m_session.Project;
    const std::optional<double> value =
        checkedNumber(m_session, m_services.messages, Edit9, p.CoolingRoomTemp, 5);
    if (!value)
        return;
    if (*value != p.CoolingRoomTemp) {
        m_session.RoomTempChanged = true;
        if (*value >= MinRoomTempC && *value <= MaxRoomTempC)
            p.CoolingRoomTemp = *value;
        // A warmer room raises the dew point: what may now condense is the cooling water, so
        // the flow temperature is compared with the limit of the new room air. (The room
        // temperature itself always lies above that limit and would never warn.)
        dewPointCheck(m_session, m_services.messages, p.CoolingHumidity, p.CoolingFlowTemp);
    }
}

void TForm1::Edit7Change()
{
    if (m_session.CoolingMode)
        checkDemand(m_session, m_services.messages, Edit7, m_session.Project.CoolingDemand);
}

void TForm1::Edit1Change()
{
    CheckGuard guard;
    if (!guard.entered())
        return;
    ProjectRecord& p = m_session.Project;
    const std::optional<double> value =
        checkedNumber(m_session, m_services.messages, Edit1, p.CoolingFlowTemp, 3);
    if (!value)
        return;
    if (*value != p.CoolingFlowTemp) {
        // As in heating: out of range the text stays visible but is not stored; the calculation
        // run rejects it, and until it ran the changed value blocks saving.
        m_session.FlowTempChanged = true;
        dewPointCheck(m_session, m_services.messages, p.CoolingHumidity, *value);
        if (*value >= MinCoolingFlowTempC && *value <= MaxCoolingFlowTempC)
            p.CoolingFlowTemp = *value;
    }
}

void TForm1::Edit6Change()
{
    CheckGuard guard;
    if (!guard.entered())
        return;
    ProjectRecord& p = m_session.Project;
    const std::optional<double> value =
        checkedNumber(m_session, m_services.messages, Edit6, p.CoolingHumidity, 3);
    if (!value)
        return;
    if (*value != p.CoolingHumidity) {
        // The humidity belongs to the room air: a change counts as one of the room temperature.
        m_session.RoomTempChanged = true;
        dewPointCheck(m_session, m_services.messages, *value, p.CoolingFlowTemp);
        if (*value >= MinHumidityPercent && *value <= MaxHumidityPercent)
            p.CoolingHumidity = *value;
    }
}

void TForm1::checkTypedRoomData()
{
    if (!Edit1)
        return;
    const std::pair<QLineEdit*, void (TForm1::*)()> checks[] = {
        {Edit3, &TForm1::Edit3Change}, {Edit2, &TForm1::Edit2Change}, {Edit4, &TForm1::Edit4Change},
        {Edit9, &TForm1::Edit9Change}, {Edit7, &TForm1::Edit7Change}, {Edit1, &TForm1::Edit1Change},
        {Edit6, &TForm1::Edit6Change},
    };
    for (const auto& [edit, check] : checks) {
        if (!edit->isModified())
            continue;
        (this->*check)();
        edit->setModified(false);
    }
}

void TForm1::Edit13Change()
{
    m_session.Project.RoomName.setText(Edit13->text().left(RoomNameLength).toStdString());
    updateModifiedMarker();
}

// The calculation window's list shows the entries of the mode and project it was filled for; a
// line picked there after a mode switch or a load would name an entry of another list. The next
// calculation run fills it again.
void TForm1::clearCalculationList()
{
    if (m_form2)
        m_form2->clearList();
}

void TForm1::RadioButton1Click()
{
    Session& s = m_session;
    const ProjectRecord& p = s.Project;
    // The calculation window stays open beside this one; an entry it was adding to the cooling
    // list is given up there, not later taken from the heating list.
    if (s.CoolingMode) {
        s.dropEntryBeingAdded();
        clearCalculationList();
    }
    s.HeatingMode = true;
    s.CoolingMode = false;

    Edit3->setText(qText(fixedDigits(p.HeatingRoomTemp, 3, 0)));
    Edit2->setText(qText(fixedDigits(p.HeatingDemand, 5, 0)));
    Edit4->setText(qText(fixedDigits(p.HeatingFlowTemp, 3, 0)));
    Edit8->setText(qText(fixedDigits(p.HeatingSecondTemp, 3, 1)));
    Label18->setText(interfaceText(s, RoomTempLabelText));
    Label7->setText(interfaceText(s, HeatingDemandLabelText));
    // The project's heating flow temperature stays: the field shows what the entries were
    // calculated with, and a value the planner types there is marked as a change.

    Panel1->hide();
    Panel2->show();
    Label21->setText(interfaceText(s, HeatingTypesText));
    GroupBox5->show();

    FillTypeList(RadioButton3->isChecked() ? 2 : 1);
    if (!RadioButton3->isHidden() && RadioButton3->isChecked()) {
        RadioButton3Click();
        s.Project.HeatingDualUse = true;
    }

    if (m_form2)
        m_form2->showModeNotes(false);
}

void TForm1::RadioButton2Click()
{
    Session& s = m_session;
    const ProjectRecord& p = s.Project;
    if (s.HeatingMode) {
        s.dropEntryBeingAdded();
        clearCalculationList();
    }

    Label7->setText(interfaceText(s, HeatingDemandLabelText));
    Label18->setText(interfaceText(s, RoomTempLabelText));
    Edit7->setText(qText(fixedDigits(p.CoolingDemand, 5, 0)));
    Edit3->setText(qText(commaToPoint(Edit3->text().toStdString())));
    // The cooling room temperature of a loaded project is shown; otherwise the standard 26 °C.
    Edit9->setText(s.CoolingRoomTempLoaded ? qText(fixedDigits(p.CoolingRoomTemp, 3, 0))
                                           : QStringLiteral("26"));
    Edit7->setText(qText(fixedDigits(p.CoolingDemand, 5, 0)));
    Edit1->setText(qText(fixedDigits(p.CoolingFlowTemp, 3, 0)));
    Edit5->setText(qText(fixedDigits(p.CoolingSecondTemp, 3, 0)));
    Edit6->setText(qText(fixedDigits(p.CoolingHumidity, 3, 1)));

    s.CoolingMode = true;
    s.HeatingMode = false;

    Panel1->show();
    Panel2->hide();
    Label21->setText(interfaceText(s, CoolingTypesText));
    FillTypeList(2);
    if (!RadioButton3->isHidden() && RadioButton3->isChecked()) {
        RadioButton3Click();
        s.Project.CoolingDualUse = true;
    }

    if (m_form2)
        m_form2->showModeNotes(true);
}

void TForm1::RadioButton3Click()
{
    Session& s = m_session;
    if (RadioButton1->isChecked()) {
        FillTypeList(2);
        s.HeatingDualUseOn = true;
        s.CoolingDualUseOn = false;
        s.Project.HeatingDualUse = true;
    }
    if (RadioButton2->isChecked()) {
        FillTypeList(2);
        s.HeatingDualUseOn = false;
        s.CoolingDualUseOn = true;
        s.Project.CoolingDualUse = true;
    }
}

void TForm1::RadioButton4Click()
{
    // The record's dual-use flags stay: they describe entries that may already exist.
    m_session.HeatingDualUseOn = false;
    m_session.CoolingDualUseOn = false;
    if (m_form2)
        m_form2->hideNominalRating();
    if (RadioButton1->isChecked()) {
        Panel1->hide();
        FillTypeList(1);
    }
    if (RadioButton2->isChecked())
        Panel2->hide();
}

void TForm1::ListBox3DblClick()
{
    Session& s = m_session;
    s.FreeTypeChosen = false;
    s.ForcedTypeChosen = false;
    const QListWidgetItem* item = ListBox3->currentItem();
    if (!item)
        return;
    const std::size_t lineNumber = item->data(Qt::UserRole).toULongLong();
    if (lineNumber >= s.ConvectorTypeIndex.size())
        return;
    const TypeIndexLine line = parseTypeIndexLine(s.ConvectorTypeIndex[lineNumber]);
    if (line.kind == 'O') {
        m_services.messages.showMessage(QString::fromLatin1(NotYetAvailableMessage));
        return;
    }
    s.ChosenTypeRow = line.chosenTypeRow;
    s.FreeTypeChosen = line.kind == 'F';
    s.ForcedTypeChosen = line.kind == 'Z';
    if (Berechnungen1)
        Berechnungen1->setEnabled(true);
    Berechnungen1Click();
}

} // namespace tepa
