// The room calculation run: the main window hands the room over to the calculation window. The
// checks are the core's; the calculation window shows the room and recalculates its entries.
#include "app/TForm1.h"
#include "calcwindow/TForm2.h"
#include "core/calculation/RoomRun.h"
#include "core/text/Numbers.h"
#include "project/ControlAccess.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>

#include <string>

namespace tepa {
namespace {

QString qText(const std::string& s)
{
    return QString::fromStdString(s);
}

void commaToPoint(QLineEdit* edit)
{
    edit->setText(qText(tepa::commaToPoint(edit->text().toStdString())));
}

} // namespace

void TForm1::linkCalculationWindow()
{
    m_form2->enableMainPrintMenu = [this] { controls::setEnabled(Drucken1, true); };
    m_form2->enableMainConvectorList = [this] { controls::setEnabled(Konvliste, true); };
    m_form2->disableMainTypeList = [this] { controls::setEnabled(ListBox3, false); };
}

void TForm1::Berechnungen1Click()
{
    if (!m_form2)
        return;
    linkCalculationWindow();
    m_session.CoolingRoomTempLoaded = true;
    m_form2->beginRoomRun(*this);
    const bool carriedOn = m_session.HeatingMode ? heatingCalculationRun() : coolingCalculationRun();
    if (carriedOn)
        m_form2->finishRoomRun();
}

bool TForm1::heatingCalculationRun()
{
    Session& s = m_session;
    ProjectRecord& p = s.Project;
    TForm2& f = *m_form2;

    // Unchanged room data are those the entries were calculated with: kept to put back a
    // change the planner rejects below.
    if (!s.DemandChanged && !s.FlowTempChanged && !s.RoomTempChanged)
        m_roomValuesAtRun = {true, p.HeatingDemand, p.HeatingFlowTemp, p.HeatingRoomTemp};

    for (QLineEdit* edit : {Edit2, Edit3, Edit4})
        commaToPoint(edit);
    ProjectDataToRecord();
    RoomDataToRecord();
    s.ProjectTouched = true;
    f.prepareHeatingRun();

    if (const calculation::RunStop stop = calculation::heatingChecks(p); stop != calculation::RunStop::None) {
        m_services.messages.showMessage(text(calculation::stopText(stop)));
        Raumdaten1Click();
        if (stop == calculation::RunStop::FlowTemp) {
            GroupBox2->show();
            f.showRejectedRoomData();
        }
        return false;
    }
    f.showHeatingSummary();

    if (calculation::asksChangedRoomData(s)) {
        if (!m_services.messages.askYesNo(text(calculation::ChangedRoomDataText))) {
            std::optional<calculation::RoomValues> before;
            if (m_roomValuesAtRun.known)
                before = calculation::RoomValues{m_roomValuesAtRun.heatingDemand,
                                                 m_roomValuesAtRun.heatingFlowTemp,
                                                 m_roomValuesAtRun.heatingRoomTemp};
            calculation::rejectRoomDataChange(s, before);
            RecordToRoomData();
            return false;
        }
        const std::string lowered = text(calculation::ReturnTempLoweredText).toStdString();
        for (int number : calculation::acceptRoomDataChange(s, f))
            m_services.messages.showMessage(qText(calculation::loweredReturnTempMessage(number, lowered)));
    }
    m_roomValuesAtRun = {true, p.HeatingDemand, p.HeatingFlowTemp, p.HeatingRoomTemp};

    p.CalculationDone = true;
    ListBox1->hide();
    f.showHeatingList();
    return true;
}

bool TForm1::coolingCalculationRun()
{
    Session& s = m_session;
    ProjectRecord& p = s.Project;
    TForm2& f = *m_form2;

    for (QLineEdit* edit : {Edit2, Edit3, Edit4, Edit1, Edit5, Edit6})
        commaToPoint(edit);
    ProjectDataToRecord();
    RoomDataToRecord();
    if (p.CoolingEntries[0].InUse)
        s.ResetChangeFlags();
    s.ProjectTouched = true;
    f.prepareCoolingRun();

    if (calculation::coolingFlowCheck(p) == calculation::RunStop::CoolingFlowAboveRoom) {
        m_services.messages.showMessage(text(calculation::CoolingFlowAboveRoomText));
        Raumdaten1Click();
        GroupBox2->show();
        // Written after the room data panel has been filled from the record, so that the
        // proposal is what the field shows.
        Edit1->setText(qText(calculation::proposedCoolingFlow(p)));
        return false;
    }
    f.showCoolingSummary();

    if (const calculation::RunStop stop = calculation::coolingChecks(p); stop != calculation::RunStop::None) {
        m_services.messages.showMessage(text(calculation::stopText(stop)));
        Raumdaten1Click();
        if (stop == calculation::RunStop::FlowTemp)
            GroupBox2->show();
        return false;
    }

    if (s.ProjectLoaded) {
        s.ResetChangeFlags();
        s.ProjectLoaded = false;
    }
    p.CalculationDone = true;
    ListBox1->hide();
    f.showCoolingList();
    return true;
}

} // namespace tepa
