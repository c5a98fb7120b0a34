#include "calcwindow/TForm2.h"

#include "calcwindow/FormControls.h"
#include "core/productdata/ProductData.h"

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>

namespace tepa {
namespace {

void setCaption(QLabel* control, const QString& caption)
{
    control->setText(caption);
}
void setCaption(QAbstractButton* control, const QString& caption)
{
    control->setText(caption);
}
void setCaption(QAction* control, const QString& caption)
{
    control->setText(caption);
}
void setCaption(QGroupBox* control, const QString& caption)
{
    control->setTitle(caption);
}
void setCaption(QMenu* control, const QString& caption)
{
    control->setTitle(caption);
}

} // namespace

TForm2::TForm2(Session& session, platform::Services services, QWidget* mainWindow, QWidget* parent)
    : QMainWindow(parent)
    , m_session(session)
    , m_services(services)
    , m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("TForm2"));
    setWindowTitle(QStringLiteral("Berechnungen"));
    // A font every installation has (fonts-dejavu-core); the layouts size the controls to it.
    setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
    setPanelColour(this, formcolours::formBackground());

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("TForm2Client"));
    setCentralWidget(central);

    buildMenu();
    // Created bottom to top: the type panel lies over both operating-point panels, and the
    // heating panel over the cooling panel.
    buildCoolingPanel(central);
    buildHeatingPanel(central);
    buildTypePanel(central);
    buildListArea(central);
    connectControls();

    FormCreate();
}

TForm2::~TForm2() = default;

QString TForm2::text(std::size_t line) const
{
    return QString::fromStdString(m_session.InterfaceTexts.line(line));
}

void TForm2::FormCreate()
{
    if (m_created)
        return;
    m_created = true;

    resize(800, 530);
    // Placed once beside the main window; moving the main window later does not move this one.
    if (m_mainWindow)
        move(m_mainWindow->x() + 5, m_mainWindow->y() + 50);
    setPanelColour(Panel12, formcolours::systemFace());
    setCaptions();

    auto heights = loadHeights(m_session.ProgramDir);
    if (!heights) {
        // Without heights the window still opens; no type can then be given a height.
        m_services.messages.showError(QString::fromStdString(heights.error()));
        return;
    }
    m_session.HeightList = std::move(heights.value());
    ListBox4->setCurrentRow(0);
    GroupBox3->hide();
}

void TForm2::setCaptions()
{
    // A line the text file does not have leaves the caption of the form in place.
    const auto caption = [this](auto* control, std::size_t line) {
        if (line < m_session.InterfaceTexts.size())
            setCaption(control, text(line));
    };
    const auto hint = [this](QWidget* control, std::size_t line) {
        if (line < m_session.InterfaceTexts.size())
            control->setToolTip(text(line));
    };

    caption(Schliessen1, 100);
    caption(Konvektoren1, 44);
    caption(FreieKonvektion1, 63);
    caption(FreieZwangsKonv1, 46);
    caption(Auslegung1, SizingMenuText);

    BaseTitle = text(40);
    HeatingOutputCaption = text(41);
    CoolingOutputCaption = text(42);

    caption(Label15, 65);
    caption(Label18, 62);
    caption(Label1, 149);
    caption(Label51, 170);
    caption(Label52, 171);
    caption(Konweiter, 66);

    caption(Label6, 151);
    caption(Label10, 49);
    caption(Label62, 258);
    caption(RadioButton2, 260);
    caption(RadioButton3, 261);
    caption(RadioButton4, 262);
    caption(TR_Schalter, 55);
    caption(MS_Schalter, 56);
    caption(Label11, 57);

    caption(Label2, 229);
    caption(Label39, 230);
    caption(Label71, 180);
    caption(Label58, 172);
    caption(Label60, 173);
    caption(Label50, 49);
    caption(Label97, 256);
    caption(Label46, 178);
    caption(Label63, 258);
    caption(RadioButton5, 260);
    caption(RadioButton6, 261);
    caption(RadioButton7, 262);
    caption(Label42, 45);
    caption(Label44, 54);
    caption(Label55, 56);
    Label57->setText(QStringLiteral("[ kg / h ]"));
    caption(Label68, 181);
    caption(Label69, 182);

    caption(GroupBox1, 28);
    caption(Bearbeiten, 59);
    caption(Erweitern, 60);
    caption(Loeschen, 61);
    hint(Bearbeiten, 175);
    hint(Erweitern, 176);
    hint(Loeschen, 177);
    caption(Label35, 26);
    caption(Label34, 25);
    caption(Label33, 190);
    caption(GroupBox4, 232);
    caption(Label106, 243);
    caption(Label107, 247);
    caption(Label108, 248);
    caption(Label109, 249);
    caption(Label113, 250);
    caption(Label110, 251);
    caption(Label111, 243);
}

void TForm2::bringToFront()
{
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void TForm2::connectControls()
{
    connect(FreieKonvektion1, &QAction::triggered, this, &TForm2::FreieKonvektion1Click);
    connect(FreieZwangsKonv1, &QAction::triggered, this, &TForm2::FreieZwangsKonv1Click);
    connect(Schliessen1, &QAction::triggered, this, &TForm2::Schliessen1Click);
    connect(Auslegung1, &QAction::triggered, this, &TForm2::Auslegung1Click);
    connect(ListBox1, &QListWidget::itemClicked, this, &TForm2::ListBox1Click);
    connect(ListBox3, &QListWidget::itemClicked, this, &TForm2::ListBox3Click);
    connect(ListBox4, &QListWidget::itemClicked, this, &TForm2::ListBox4Click);
    new KeyboardPick(ListBox1, [this] { ListBox1Click(); });
    new KeyboardPick(ListBox3, [this] { ListBox3Click(); });
    new KeyboardPick(ListBox4, [this] { ListBox4Click(); });
    connect(Konweiter, &QPushButton::clicked, this, &TForm2::KonweiterClick);
    connect(Panel4, &ClickPanel::clicked, this, &TForm2::Panel4Click);
    connect(Bearbeiten, &QPushButton::clicked, this, &TForm2::BearbeitenClick);
    connect(Erweitern, &QPushButton::clicked, this, &TForm2::ErweiternClick);
    connect(Loeschen, &QPushButton::clicked, this, &TForm2::LoeschenClick);
    connect(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
}

void TForm2::closeEvent(QCloseEvent* event)
{
    Schliessen1Click();
    // Accepting hides the window; it is kept for the next calculation run.
    event->accept();
}

void TForm2::Button1Click()
{
    GroupBox3->hide();
}

// The type choice (TypeSelection.cpp), the operating-point inputs (OperatingPointInputs.cpp) and
// the list editing (ListEditing.cpp) have files of their own.

} // namespace tepa
