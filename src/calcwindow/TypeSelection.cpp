// The type panel of the calculation window: loading a type list, picking type, length and height
// into the current entry, and "weiter", which prepares the operating-point panel of the mode.
#include "calcwindow/FormControls.h"
#include "calcwindow/TForm2.h"
#include "calcwindow/WindowSupport.h"
#include "core/engine/AirSide.h"
#include "core/engine/EngineCommon.h"
#include "core/engine/FanSetting.h"
#include "core/engine/NominalRating.h"
#include "core/productdata/ProductData.h"
#include "core/series/Series.h"
#include "core/text/Encoding.h"
#include "core/text/Numbers.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>

#include <cmath>
#include <string>

namespace tepa {

using namespace window;
namespace {


std::string selectedText(const QListWidget* list)
{
    const QListWidgetItem* item = list->currentItem();
    return item ? item->text().toStdString() : std::string();
}

// Moves a fan bar from code. Its range is widened quietly first so the position is not clipped
// by the range of the previous type; the position change itself reaches the bar's handler.
void moveBar(QScrollBar* bar, int position)
{
    if (position > bar->maximum() || position < bar->minimum()) {
        const QSignalBlocker quiet(bar);
        bar->setRange(std::min(bar->minimum(), position), std::max(bar->maximum(), position));
    }
    bar->setValue(position);
}

// The table entry k (1-based) when the table has it.
const TypeTableEntry* tableEntry(const TypeTable& table, std::size_t k)
{
    if (k < 1 || k > TypeTable::Size)
        return nullptr;
    return &table.at(k);
}

} // namespace

void TForm2::FreieKonvektion1Click()
{
    connectOperatingPointInputs();
    Panel4->show();
    Panel3->hide();
    Label94->hide();
    Panel9->hide();
    Panel1->hide();
    Konweiter->setEnabled(false);
    Label4->setText(text(63));

    const TypeSelection selection{m_session.FreeTypeChosen, m_session.ForcedTypeChosen,
                                  m_session.ChosenTypeRow, m_session.HeatingMode};
    auto load = loadFreeTypes(m_session.ProgramDir, selection, m_session.FreeTypeTable);
    if (!load) {
        m_services.messages.showError(qs(load.error()));
        return;
    }
    ListBox1->clear();
    ListBox3->clear();
    ListBox4->clear();
    for (const std::string& name : load.value().names)
        ListBox1->addItem(qs(name));
    if (load.value().cut)
        m_services.messages.showMessage(text(TypeListCutTextLine));

    HeatingEntry& heating = m_session.currentHeatingEntry();
    heating.FreeConvection = true;
    heating.FreeConvectionB = true;
}

void TForm2::FreieZwangsKonv1Click()
{
    connectOperatingPointInputs();
    Panel1->hide();
    Panel4->show();
    Panel3->hide();
    Konweiter->setEnabled(false);
    Label4->setText(text(46));

    const TypeSelection selection{m_session.FreeTypeChosen, m_session.ForcedTypeChosen,
                                  m_session.ChosenTypeRow, m_session.HeatingMode};
    auto load = loadForcedTypes(m_session.ProgramDir, selection, m_session.ForcedTypeTable);
    if (!load) {
        m_services.messages.showError(qs(load.error()));
        return;
    }
    ListBox1->clear();
    ListBox4->clear();
    ListBox3->clear();

    HeatingEntry& heating = m_session.currentHeatingEntry();
    heating.FreeConvection = false;
    heating.FreeConvectionB = false;
    Panel9->setVisible(!m_session.HeatingMode);

    for (const std::string& name : load.value().names)
        ListBox1->addItem(qs(name));
    if (load.value().cut)
        m_services.messages.showMessage(text(TypeListCutTextLine));
}

void TForm2::ListBox1Click()
{
    const int row = ListBox1->currentRow();
    if (row < 0)
        return;
    const std::size_t k = static_cast<std::size_t>(row) + 1;

    ListBox3->show();
    ListBox3->clear();
    Konweiter->setEnabled(false);

    HeatingEntry& heating = m_session.currentHeatingEntry();
    CoolingEntry& cooling = m_session.currentCoolingEntry();
    const bool heatingMode = m_session.HeatingMode;
    const bool free = heating.FreeConvectionB;
    const TypeTable& table = free ? m_session.FreeTypeTable : m_session.ForcedTypeTable;

    const TypeTableEntry* nameEntry = tableEntry(table, k);
    if (!nameEntry) {
        m_services.messages.showError(qs(listIndexMessage(k - 1)));
        return;
    }
    const std::size_t c = static_cast<std::size_t>(std::max(nameEntry->TypeCount, 0));
    const TypeTableEntry* lengthEntry = tableEntry(table, c + k);
    const TypeTableEntry* dataEntry = tableEntry(table, 2 * c + k);
    const TypeTableEntry* fanEntry = free ? dataEntry : tableEntry(table, 3 * c + k);
    if (!lengthEntry || !dataEntry || !fanEntry) {
        m_services.messages.showError(qs(listIndexMessage((free ? 2 : 3) * c + k - 1)));
        return;
    }
    if (free) {
        heating.TypeText1.setText(dataEntry->Text);
    } else if (heatingMode) {
        heating.TypeText1.setText(dataEntry->Text);
        heating.TypeText2.setText(fanEntry->Text);
    } else {
        cooling.TypeText1.setText(dataEntry->Text);
        cooling.TypeText2.setText(fanEntry->Text);
    }

    for (const std::string& length : lengthFields(lengthEntry->Text))
        ListBox3->addItem(qs(length));

    const std::string item = ListBox1->item(row)->text().toStdString();
    if (heatingMode) {
        heating.TypeName.setText(item);
        const std::string name = heating.TypeName.text();
        if (m_session.HeatingDualUseOn && !series::isPrimaryAir(name) && !series::isWfwFamily(name) &&
            !series::isStaged(name))
            m_services.messages.showMessage(text(231));
        GroupBox4->hide();
    } else {
        // The cooling list shows a description after the name: the name ends at the first blank.
        const std::string head = std::string(utf8Left(item, 20));
        cooling.TypeName.setText(head.substr(0, head.find(' ')));
    }

    auto offered = offeredHeights(item, m_session.HeightList);
    if (!offered) {
        m_services.messages.showError(qs(offered.error()));
        return;
    }
    ListBox4->clear();
    for (const std::string& line : offered.value().lines)
        ListBox4->addItem(qs(line));
    ListBox4->setCurrentRow(static_cast<int>(offered.value().preselected));

    const std::string heightLine = selectedText(ListBox4);
    if (heatingMode) {
        heating.Height = heightOfLine(heightLine);
        auto factor = heightFactor(heating.TypeName.text(), heightLine, localeDecimalSeparator());
        if (!factor) {
            m_services.messages.showError(qs(factor.error()));
            return;
        }
        heating.HeightFactor = factor.value();
    } else {
        cooling.Height = heightOfLine(heightLine);
        cooling.HeightFactor = 1;
    }

    // The ceiling units are built in one height only.
    if (series::isStaged(heating.TypeName.text()) || series::isStaged(cooling.TypeName.text())) {
        ListBox4->clear();
        ListBox4->addItem(QStringLiteral("500"));
        ListBox4->setCurrentRow(0);
        heating.Height = 500;
        heating.HeightFactor = 1;
        cooling.Height = 500;
        cooling.HeightFactor = 1;
    }

    if (ListBox3->count() == 1) {
        Konweiter->setEnabled(true);
        ListBox3->setCurrentRow(0);
        ListBox3->setFocus();
        const double length = decimalValue(ListBox3->item(0)->text().toStdString());
        QString caption;
        if (heatingMode) {
            heating.Length = length;
            caption = entryDescription(heating.TypeName.text(), heating.Height, heating.Length);
            Label5->setText(caption);
        } else {
            cooling.Length = length;
            caption = entryDescription(cooling.TypeName.text(), cooling.Height, cooling.Length);
            Label3->setText(caption);
        }
        Label76->setText(caption);
    }
}

void TForm2::ListBox3Click()
{
    const QListWidgetItem* item = ListBox3->currentItem();
    if (!item)
        return;
    Konweiter->setEnabled(true);
    const double length = decimalValue(item->text().toStdString());
    QString caption;
    if (m_session.HeatingMode) {
        HeatingEntry& heating = m_session.currentHeatingEntry();
        heating.Length = length;
        caption = entryDescription(heating.TypeName.text(), heating.Height, heating.Length);
        Label5->setText(caption);
    } else {
        CoolingEntry& cooling = m_session.currentCoolingEntry();
        cooling.Length = length;
        caption = entryDescription(cooling.TypeName.text(), cooling.Height, cooling.Length);
        Label3->setText(caption);
    }
    Label76->setText(caption);
    ListBox4Click();
}

void TForm2::ListBox4Click()
{
    const QListWidgetItem* item = ListBox4->currentItem();
    if (!item)
        return;
    const std::string heightLine = item->text().toStdString();
    HeatingEntry& heating = m_session.currentHeatingEntry();
    heating.Height = heightOfLine(heightLine);
    // The factor column belongs to the series, whatever place the type has in the list.
    auto factor = heightFactor(heating.TypeName.text(), heightLine, localeDecimalSeparator());
    if (!factor) {
        m_services.messages.showError(qs(factor.error()));
        return;
    }
    if (m_session.HeatingMode)
        heating.HeightFactor = factor.value();
    else
        m_session.currentCoolingEntry().HeightFactor = factor.value();
}

void TForm2::Panel4Click()
{
    Panel4->hide();
    if (m_session.HeatingPanelReady)
        Panel3->show();
    if (Panel1->isHidden())
        Panel1->show();
}

namespace {

// Fills the "Konvektor-Information" box with the rating of the mode not being calculated.
void showOtherModeRating(TForm2& form,
                         const std::string& name,
                         double length,
                         const std::string& dataLine,
                         const std::string& fanLine,
                         engine::Mode mode)
{
    engine::OtherModeRatingInput in;
    in.typeName = name;
    in.lengthMm = length;
    in.dataLine = dataLine;
    in.fanLine = fanLine;
    in.currentMode = mode;
    const engine::OtherModeRating rating = engine::otherModeRating(in);
    if (!rating.showBox) {
        form.GroupBox4->hide();
        return;
    }
    const engine::RatingDisplay display = engine::ratingDisplay(rating);
    const auto caption = [&form](QLabel* label, int line) {
        if (line > 0)
            label->setText(form.text(static_cast<std::size_t>(line)));
    };
    caption(form.Label94, rating.captions.Label94);
    caption(form.Label61, rating.captions.Label61);
    caption(form.Label91, rating.captions.Label91);
    caption(form.Label105, rating.captions.Label105);
    caption(form.Label93, rating.captions.Label93);
    const QColor colour = rating.captions.colour == engine::RatingColour::Red ? formcolours::warningRed()
                                                                              : formcolours::coolingBlue();
    setTextColour(form.Label94, colour);
    setTextColour(form.Label61, colour);
    form.Label86->setText(qs(display.Label86));
    form.Label88->setText(qs(display.Label88));
    form.Label90->setText(qs(display.Label90));
    form.Label92->setText(qs(display.Label92));
    form.GroupBox4->show();
}

} // namespace

namespace {

void callIfSet(const std::function<void()>& action)
{
    if (action)
        action();
}

} // namespace

void TForm2::KonweiterClick()
{
    connectOperatingPointInputs();
    // The main window's print menu and convector-list command become usable with the first entry.
    const auto enableMainMenus = [this] {
        callIfSet(enableMainPrintMenu);
        callIfSet(enableMainConvectorList);
    };
    for (QWidget* w :
         {static_cast<QWidget*>(Panel4), static_cast<QWidget*>(Panel14), static_cast<QWidget*>(GroupBox4),
          static_cast<QWidget*>(Panel15), static_cast<QWidget*>(Label83), static_cast<QWidget*>(Label84)})
        w->hide();
    Label61->clear();
    ListBox2->show();
    RowSelected = false;

    ProjectRecord& project = m_session.Project;

    if (m_session.HeatingMode) {
        const int index = m_session.HeatingEntryIndex;
        HeatingEntry& e = m_session.currentHeatingEntry();
        const std::string name = e.TypeName.text();

        Panel1->hide();
        m_session.CoolingMode = false;
        Panel13->hide();
        Panel3->show();
        Panel3->setEnabled(true);
        Panel2->show();
        setPanelColour(Panel12, formcolours::warningRed());
        GroupBox1->show();
        ListBox2->show();
        Label8->show();
        m_session.HeatingPanelReady = true;
        Edit4->setEnabled(true);
        Edit4->show();
        Label101->hide();

        if (e.FreeConvection) {
            Label17->setText(text(63));
            for (QWidget* w : {static_cast<QWidget*>(Panel14), static_cast<QWidget*>(Panel6),
                               static_cast<QWidget*>(Label23), static_cast<QWidget*>(Label28),
                               static_cast<QWidget*>(Label30)})
                w->hide();
        } else {
            const bool fixedStages = series::isStaged(name);
            if (fixedStages) {
                Panel14->show();
                Panel6->hide();
                RadioButton1->setChecked(true);
                RadioButton1Click();
                if (e.Height == 0 && ListBox4->count() > 0) {
                    auto height =
                        localeFloat(ListBox4->item(0)->text().toStdString(), localeDecimalSeparator());
                    if (height)
                        e.Height = height.value();
                }
                e.HeightFactor = 1;
            } else {
                Panel6->show();
                Panel14->hide();
            }
            if (m_session.HeatingDualUseOn) {
                if (series::isPrimaryAir(name) || series::isWfwFamily(name) || series::isStaged(name))
                    showOtherModeRating(*this, name, e.Length, e.TypeText1.text(), e.TypeText2.text(),
                                        engine::Mode::Heating);
                else
                    GroupBox4->hide();
            }
            Label17->setText(text(64));
            Panel6->show();
            Label23->show();
            Label28->show();
            Label30->show();
            const bool primaryAir = series::isPrimaryAir(name);
            Label19->setText(text(primaryAir ? 179 : 52));
            Label25->setText(text(primaryAir ? 183 : 184));
            Balken_grenzwerte(index);
            // The water-cooling fans start at their lowest speed, the others at rest.
            const series::Series kind = series::seriesOf(name);
            const QString lowest = qs(strFixed(series::minimumPercent(kind), 0, 0));
            if (kind == series::Series::Wfwl) {
                e.FanSpeed = series::minimumSpeed(kind);
                Fan.previousSpeed = e.FanSpeed;
                moveBar(DrehzahlBar4, static_cast<int>(e.FanSpeed));
                Edit4->setText(lowest);
                Edit4->setEnabled(false);
                Label101->setText(lowest);
                Label101->show();
                Edit4->hide();
            } else if (kind == series::Series::Wfw) {
                e.FanSpeed = series::minimumSpeed(kind);
                moveBar(DrehzahlBar4, static_cast<int>(e.FanSpeed));
                Edit4->setText(lowest);
            } else {
                e.FanSpeed = 0;
                Fan.previousSetting = 0;
                moveBar(DrehzahlBar4, 0);
                Edit4->setText(QStringLiteral("0"));
            }
        }

        e.Count = 1;
        Edit5->setText(QStringLiteral("1"));
        {
            const QSignalBlocker quiet(UpDown1);
            UpDown1->setValue(1);
        }
        update0(index);
        update_grenzen(index);

        if (m_session.EntryDeleted && m_session.HeatingEntryIndex == 1) {
            m_session.CentreReturnTemp = true;
            project.HeatingEntryCount = 1;
            SpeedChanging = false;
            m_session.EntryDeleted = false;
        }
        if (m_session.CentreReturnTemp) {
            HeatingEntry& first = project.HeatingEntries[0];
            first.ReturnTemp = (first.ReturnTempEnd + first.ReturnTempStart) / 2;
            m_session.CentreReturnTemp = false;
        }

        e.InUse = true;
        if (e.ReturnTemp > project.HeatingFlowTemp) {
            if (!m_services.messages.askYesNo(text(68)))
                return;
            e.ReturnTemp = project.HeatingFlowTemp - 1;
        }

        if (m_session.EntryBeingAdded) {
            if (index > 1) {
                const HeatingEntry& before = project.HeatingEntries[static_cast<std::size_t>(index - 2)];
                if (project.ReturnTempFixed == 1)
                    e.ReturnTemp = before.ReturnTemp;
                else
                    e.MassFlow = before.MassFlow;
            }
            e.FanSpeed = 0;
            if (!e.FreeConvection) {
                moveBar(DrehzahlBar4, 0);
                Edit4->setText(QStringLiteral("0"));
            }
        }

        Erweitern->setEnabled(true);
        Bearbeiten->setEnabled(true);
        Loeschen->setEnabled(true);
        Edit5->setText(QStringLiteral("1"));
        e.Count = 1;
        update1(index);
        Listenaufbau();
        project.HeatingInUse = true;
        m_session.EntryBeingAdded = false;
        enableMainMenus();
        Fan.settingTyped = false;
    } else {
        const int index = m_session.CoolingEntryIndex;
        CoolingEntry& e = m_session.currentCoolingEntry();
        const std::string name = e.TypeName.text();

        m_session.HeatingMode = false;
        m_session.CoolingMode = true;
        Panel2->hide();
        Panel1->show();
        Panel13->show();
        m_session.CoolingPanelReady = true;
        GroupBox3->hide();
        setTextColour(Label56, Qt::black);
        Panel1->setEnabled(true);
        Fenstershow();
        setPanelColour(Panel12, formcolours::coolingBlue());
        Label49->clear();
        Label59->clear();

        // Return temperature window: from the flow temperature up by 12 K, starting 2 K above it.
        const int flow = static_cast<int>(roundHalfEven(project.CoolingFlowTemp));
        {
            const QSignalBlocker quiet(UpDown3);
            UpDown3->setRange(flow, flow + 12);
            UpDown3->setValue(flow + 2);
        }
        Edit6->setText(qs(strInt(flow + 2, 0)));
        auto returnTemp = localeFloat(Edit6->text().toStdString(), localeDecimalSeparator());
        if (returnTemp)
            e.ReturnTemp = returnTemp.value();
        const bool primaryAir = series::isPrimaryAir(name);
        for (QWidget* w :
             {static_cast<QWidget*>(Label97), static_cast<QWidget*>(Edit6), static_cast<QWidget*>(UpDown3)})
            w->setVisible(!primaryAir);

        if (series::isStaged(name)) {
            Panel15->show();
            Panel7->hide();
            RadioButton5->setChecked(true);
            RadioButton5Click();
            if (e.Height == 0 && ListBox4->count() > 0)
                e.Height = decimalValue(ListBox4->item(0)->text().toStdString());
            e.HeightFactor = 1;
        } else {
            Panel15->hide();
            Panel7->show();
        }

        const series::Series kind = series::seriesOf(name);
        const series::SpeedRange coolingRange = series::coolingSpeedRange(kind);
        if (kind == series::Series::Wfwl) {
            e.FanSpeed = coolingRange.minimum;
            Fan.previousSpeed = e.FanSpeed;
            moveBar(ScrollBar4, static_cast<int>(e.FanSpeed));
            Label102->setText(qs(strFixed(series::minimumPercent(kind), 0, 0)));
            Label102->show();
            Edit8->hide();
        } else if (kind == series::Series::Wfw) {
            e.FanSpeed = coolingRange.minimum;
            moveBar(ScrollBar4, static_cast<int>(e.FanSpeed));
        } else if (!series::isStaged(name)) {
            // A ceiling unit keeps the speed of the stage chosen above.
            e.FanSpeed = 0;
            moveBar(ScrollBar4, 0);
            Edit8->setText(QStringLiteral("0"));
        }

        if (m_session.CoolingDualUseOn)
            showOtherModeRating(*this, name, e.Length, e.TypeText1.text(), e.TypeText2.text(),
                                engine::Mode::Cooling);

        e.InUse = true;
        // A list emptied by deleting its only entry starts again with the entry completed here;
        // uncounted, it would be missing from the list, the totals and the saved project.
        if (project.CoolingEntryCount < index)
            project.CoolingEntryCount = index;

        if (primaryAir) {
            Label66->setText(qs(strFixed(project.CoolingSecondTemp, 0, 1)));
            Label46->setText(text(179));
            Panel8->hide();
            Fan.airFlowLimit = series::coolingAirFlowLimit(name, e.Length);
            Qmin = 0;
            Qmax = Minmax_K(index, Fan.airFlowLimit);
            {
                const QSignalBlocker quiet(ScrollBar4);
                ScrollBar4->setValue(0);
            }
            Edit8->setText(QStringLiteral("0"));
            ScrollBar4Change();
        } else {
            const engine::DewPointResult dew =
                engine::Taupunkt(project.CoolingRoomTemp, project.CoolingHumidity);
            const double Td = dew.dewPointC;
            const double lowestFlow = engine::dewPointFlowLimit(project.CoolingRoomTemp, Td);
            if (lowestFlow > project.CoolingFlowTemp) {
                GroupBox3->show();
                Label77->setText(text(33));
                Label78->setText(text(22));
                Label79->setText(text(23));
                Label80->setText(qs(strFixed(Td, 0, 1)));
                Label81->setText(qs(strFixed(lowestFlow, 0, 1)));
            }
            Label66->setText(qs(strFixed(project.CoolingFlowTemp, 0, 1)));
            Label46->setText(text(178));
            Panel8->show();
            if (series::isSlowFan(name)) {
                {
                    const QSignalBlocker quiet(ScrollBar4);
                    ScrollBar4->setRange(static_cast<int>(coolingRange.minimum),
                                         static_cast<int>(coolingRange.maximum));
                }
                moveBar(ScrollBar4, static_cast<int>(roundHalfEven(e.FanSpeed - 0.1)));
                Label102->setText(qs(strFixed(series::coolingPercentFromSpeed(kind, e.FanSpeed), 4, 0)));
                Label102->show();
                Edit8->hide();
            } else {
                Qmin = Minmax_K(index, coolingRange.minimum);
                Qmax = Minmax_K(index, coolingRange.maximum);
                moveBar(ScrollBar4, static_cast<int>(coolingRange.minimum));
                Edit8->setText(qs(strFixed(coolingRange.minimum, 0, 0)));
            }
            ScrollBar4Change();
        }

        Balken_grenzwerte(index);
        project.HeatingInUse = false;
        m_session.EntryBeingAdded = false;
        Erweitern->setEnabled(true);
        Bearbeiten->setEnabled(true);
        Loeschen->setEnabled(true);
    }

    // Common end.
    if (series::isStaged(m_session.currentHeatingEntry().TypeName.text()))
        Panel14->show();
    if (series::isStaged(m_session.currentCoolingEntry().TypeName.text()))
        Panel15->show();
    if (series::isPrimaryAir(m_session.currentCoolingEntry().TypeName.text())) {
        Label41->setText(text(208));
        Label33->hide();
        Label38->hide();
    } else {
        Label41->setText(text(190));
        Label33->show();
        Label38->show();
    }
    Edit5->setText(QStringLiteral("1"));
    m_session.currentHeatingEntry().Count = 1;
    Listenaufbau();
    enableMainMenus();
}

} // namespace tepa
