// The room's convector list of the calculation window, as the list rules give it.
#include "core/calculation/RoomList.h"

#include "calcwindow/TForm2.h"
#include "calcwindow/WindowSupport.h"

#include <QColor>
#include <QLabel>
#include <QListWidget>

namespace tepa {

using namespace window;

QString TForm2::Listenzeile(int number) const
{
    return qs(calculation::listLine(m_session.Project, m_session.HeatingMode, number));
}

void TForm2::Listenaufbau()
{
    const calculation::RoomListView view = calculation::roomList(
        m_session.Project, m_session.HeatingMode, m_session.HeatingDualUseOn, m_session.CoolingDualUseOn);
    ListBox2->clear();
    for (const std::string& line : view.lines)
        ListBox2->addItem(qs(line));
    if (m_session.HeatingMode)
        return;
    if (view.coolingTotalShown) {
        Label67->setText(qs(view.coolingTotalText));
        setTextColour(Label67, view.coolingDemandCovered ? QColor(Qt::green) : QColor(Qt::red));
    }
    Label33->setVisible(view.fanNotesShown);
    Label38->setVisible(view.fanNotesShown);
    Label95->setVisible(view.primaryAirNotesShown);
    Label96->setVisible(view.primaryAirNotesShown);
}

} // namespace tepa
