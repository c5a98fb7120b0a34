// The sizing assistant of the calculation window: the dialog listing what the core search found
// for the room, and the menu command that opens it and adds the chosen line as an entry through
// the type pick and "weiter", then the window's own inputs for setting, operating point and count.
#include "calcwindow/SizingDialog.h"

#include "calcwindow/TForm2.h"
#include "calcwindow/WindowSupport.h"
#include "core/series/Series.h"
#include "core/text/Numbers.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tepa {

using namespace window;
using sizing::Candidate;
using sizing::SettingKind;

namespace {

constexpr std::size_t DewPointWarningText = 33; // the flow is below the dew-point limit
constexpr std::size_t HighPressureDropText = 242;
constexpr std::size_t LaminarFlowText = 244;
constexpr std::size_t RaiseMassFlowText = 245;
// Type, length, height, setting, units, output of one and of all, return temperature, mass flow,
// pressure drop, sound level, warnings; the headings line names them in this order.
constexpr int ColumnCount = 12;

// The setting column: percent of full speed for a speed-set fan (as the setting field shows it),
// rpm for a stage, m³/h of primary air, "-" for a free convector.
QString settingOf(const Candidate& c)
{
    switch (c.setting) {
    case SettingKind::None:
        return QStringLiteral("-");
    case SettingKind::Stage:
        return str(c.speedRpm, 0, 0) + QStringLiteral(" 1/min");
    case SettingKind::AirFlow:
        return str(c.airFlowM3PerH, 0, 0) + QStringLiteral(" m³/h");
    case SettingKind::Speed:
        break;
    }
    return str(series::percentFromSpeed(series::seriesOf(c.typeName), c.speedRpm), 0, 0) +
           QStringLiteral(" %");
}

} // namespace

SizingDialog::SizingDialog(const sizing::Outcome& outcome,
                           engine::Mode mode,
                           const Texts& texts,
                           QWidget* parent)
    : QDialog(parent)
    , m_candidates(outcome.candidates)
{
    setObjectName(QStringLiteral("SizingDialog"));
    setWindowTitle(texts.title);
    auto* layout = new QVBoxLayout(this);

    SizingWarning = new QLabel(texts.dewPointWarning, this);
    SizingWarning->setObjectName(QStringLiteral("SizingWarning"));
    setTextColour(SizingWarning, Qt::red);
    SizingWarning->setVisible(mode == engine::Mode::Cooling && outcome.flowBelowDewPointLimit);
    layout->addWidget(SizingWarning);

    SizingTable = new QTableWidget(static_cast<int>(m_candidates.size()), ColumnCount, this);
    SizingTable->setObjectName(QStringLiteral("SizingTable"));
    SizingTable->setHorizontalHeaderLabels(texts.headings);
    SizingTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    SizingTable->setSelectionMode(QAbstractItemView::SingleSelection);
    SizingTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SizingTable->verticalHeader()->setVisible(false);
    for (int row = 0; row < SizingTable->rowCount(); ++row) {
        const Candidate& c = m_candidates[static_cast<std::size_t>(row)];
        QStringList warnings;
        if (c.laminarFlow)
            warnings << texts.laminarFlow;
        if (c.highPressureDrop)
            warnings << texts.highPressureDrop;
        if (c.lowMassFlow)
            warnings << texts.lowMassFlow;
        const QString cells[ColumnCount] = {qs(c.typeName),
                                            str(c.lengthMm, 0, 0),
                                            str(c.heightMm, 0, 0),
                                            settingOf(c),
                                            QString::number(c.count),
                                            str(c.outputW, 0, 0),
                                            str(c.totalW, 0, 0),
                                            str(c.returnTempC, 0, 1),
                                            str(c.massFlowKgPerH, 0, 1),
                                            str(c.pressureDropPa, 0, 0),
                                            str(c.soundLevelDb, 0, 1),
                                            warnings.join(QStringLiteral(" "))};
        for (int column = 0; column < ColumnCount; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            if (column > 0 && column < 11)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            SizingTable->setItem(row, column, item);
        }
    }
    SizingTable->resizeColumnsToContents();
    layout->addWidget(SizingTable);

    SizingButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    SizingButtons->setObjectName(QStringLiteral("SizingButtons"));
    QPushButton* ok = SizingButtons->button(QDialogButtonBox::Ok);
    ok->setEnabled(false);
    layout->addWidget(SizingButtons);
    connect(SizingButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(SizingButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(SizingTable, &QTableWidget::itemSelectionChanged, this,
            [this, ok] { ok->setEnabled(chosen() != nullptr); });
    connect(SizingTable, &QTableWidget::cellDoubleClicked, this, [this] {
        if (chosen())
            accept();
    });

    // Wide enough for the whole line of the widest candidate.
    int width = 0;
    for (int column = 0; column < SizingTable->columnCount(); ++column)
        width += SizingTable->columnWidth(column);
    resize(width + 4 * SizingTable->frameWidth() + 40, 480);
}

const Candidate* SizingDialog::chosen() const
{
    const QList<QTableWidgetItem*> items = SizingTable->selectedItems();
    if (items.isEmpty())
        return nullptr;
    const int row = items.first()->row();
    return row >= 0 && row < static_cast<int>(m_candidates.size())
               ? &m_candidates[static_cast<std::size_t>(row)]
               : nullptr;
}

void TForm2::Auslegung1Click()
{
    const engine::Mode mode = m_session.HeatingMode ? engine::Mode::Heating : engine::Mode::Cooling;
    const auto catalog = sizing::loadCatalog(m_session.ProgramDir, localeDecimalSeparator());
    if (!catalog) {
        m_services.messages.showError(qs(catalog.error()));
        return;
    }
    const sizing::Request request = sizing::roomRequest(m_session.Project, mode);
    const sizing::Outcome outcome = sizing::size(*catalog, request);

    SizingDialog::Texts texts;
    QString title = text(SizingMenuText);
    title.remove(QStringLiteral("...")).replace(QStringLiteral("&"), QString());
    texts.title = title.trimmed() + QStringLiteral(" – ") + str(request.demandW, 0, 0) +
                  QStringLiteral(" W, ") + str(request.flowTempC, 0, 1) + QStringLiteral(" / ") +
                  str(request.roomTempC, 0, 1) + QStringLiteral(" °C");
    texts.headings = text(SizingHeadingsText).split(QLatin1Char('|'));
    texts.dewPointWarning = text(DewPointWarningText);
    texts.laminarFlow = text(LaminarFlowText);
    texts.highPressureDrop = text(HighPressureDropText);
    texts.lowMassFlow = text(RaiseMassFlowText);

    auto* dialog = new SizingDialog(outcome, mode, texts, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog, request] {
        if (const Candidate* c = dialog->chosen()) {
            const Candidate candidate = *c;
            takeSizedEntry(candidate, request);
        }
    });
    dialog->open();
}

namespace {

// Moves a fan bar of a slow fan up its ladder to `target`: the bar's handler takes one step per
// move, as a user's clicks would.
void climbLadder(QScrollBar* bar, const double& speed, double target)
{
    for (double step : series::wfwlSpeedLadder()) {
        if (speed >= target - 1e-6)
            return;
        if (step <= speed + 1e-6)
            continue;
        {
            const QSignalBlocker quiet(bar);
            bar->setMaximum(std::max(bar->maximum(), static_cast<int>(step)));
        }
        bar->setValue(static_cast<int>(step));
    }
}

// A speed set through its bar (the bar is the speed in rpm).
void moveSpeedBar(QScrollBar* bar, double speed)
{
    {
        const QSignalBlocker quiet(bar);
        bar->setRange(std::min(bar->minimum(), static_cast<int>(speed)),
                      std::max(bar->maximum(), static_cast<int>(speed)));
    }
    bar->setValue(static_cast<int>(speed));
}

QString localeNumber(double x, int decimals)
{
    std::string text = strFixed(x, 0, decimals);
    for (char& c : text)
        if (c == '.')
            c = localeDecimalSeparator();
    return qs(text);
}

} // namespace

void TForm2::takeSizedEntry(const Candidate& c, const sizing::Request& request)
{
    Session& s = m_session;
    const bool heating = s.HeatingMode;
    // A completed entry stays; the candidate becomes the next one (a full list refuses it there).
    const bool currentInUse = heating ? s.currentHeatingEntry().InUse : s.currentCoolingEntry().InUse;
    if (currentInUse && !s.EntryBeingAdded) {
        ErweiternClick();
        if (!s.EntryBeingAdded)
            return;
    }
    const series::Series kind = series::seriesOf(c.typeName);
    if (heating) {
        sizing::pickType(s.currentHeatingEntry(), c);
        Label5->setText(entryDescription(c.typeName, c.heightMm, c.lengthMm));
    } else {
        sizing::pickType(s.currentCoolingEntry(), c);
        Label3->setText(entryDescription(c.typeName, c.heightMm, c.lengthMm));
    }
    Label76->setText(entryDescription(c.typeName, c.heightMm, c.lengthMm));
    KonweiterClick();

    if (heating) {
        HeatingEntry& e = s.currentHeatingEntry();
        if (c.setting == SettingKind::Stage) {
            QRadioButton* stages[] = {RadioButton1, RadioButton2, RadioButton3, RadioButton4};
            const auto offered = series::dwfStages();
            for (std::size_t i = 0; i < offered.size() && i < std::size(stages); ++i)
                if (offered[i] == c.speedRpm)
                    stages[i]->click();
        } else if (c.setting == SettingKind::AirFlow && c.airFlowM3PerH != e.FanSetting) {
            Edit4->setText(str(c.airFlowM3PerH, 0, 0));
            Edit4Change();
        } else if (c.setting == SettingKind::Speed && c.speedRpm != e.FanSpeed) {
            if (kind == series::Series::Wfwl)
                climbLadder(DrehzahlBar4, e.FanSpeed, c.speedRpm);
            else
                moveSpeedBar(DrehzahlBar4, c.speedRpm);
        }
        if (request.returnTempC) {
            Edit1->setText(str(*request.returnTempC, 0, 1));
            Edit1Change();
        } else {
            // Typed mass flows are whole numbers within the window's whole-number ends.
            Edit2->setText(str(std::trunc(c.massFlowKgPerH), 0, 0));
            Edit2Change();
        }
        Edit5->setText(QString::number(c.count));
        return;
    }

    CoolingEntry& e = s.currentCoolingEntry();
    if (c.setting == SettingKind::Stage) {
        if (c.speedRpm == 700)
            RadioButton5->click();
        else if (c.speedRpm == 1000)
            RadioButton6->click();
        else if (c.speedRpm == 1400)
            RadioButton7->click();
    } else if (c.setting == SettingKind::AirFlow) {
        Edit8->setText(str(c.airFlowM3PerH, 0, 0));
        Edit8Change();
    } else if (kind == series::Series::Wfwl) {
        climbLadder(ScrollBar4, e.FanSpeed, c.speedRpm);
    } else if (c.speedRpm != e.FanSpeed) {
        moveSpeedBar(ScrollBar4, c.speedRpm);
    }
    if (request.returnTempC && c.setting != SettingKind::AirFlow && *request.returnTempC != e.ReturnTemp) {
        Edit6->setText(localeNumber(*request.returnTempC, 1));
        Edit6Change();
    }
    Edit9->setText(QString::number(c.count));
    Edit9Change();
}

} // namespace tepa
