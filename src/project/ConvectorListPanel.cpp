// The convector list panel of the main window: the project's bill of convectors.
#include "app/TForm1.h"
#include "core/reports/ConvectorList.h"

#include <QGroupBox>
#include <QListWidget>

namespace tepa {

void TForm1::KonvlisteClick()
{
    // The command toggles the panel but refills it either way, so a hidden list is never stale
    // when it comes back through the project data panel.
    ListBox1->setVisible(ListBox1->isHidden());
    GroupBox1->hide();
    GroupBox2->hide();

    ListBox1->clear();
    m_session.ListShown = true;
    ListBox1->setSortingEnabled(false);
    ListBox1->addItem(text(80));
    ListBox1->addItem(QStringLiteral("   ========================="));
    ListBox1->addItem(QStringLiteral(" "));
    ListBox1->addItem(text(83));
    ListBox1->addItem(QStringLiteral(" "));

    m_session.ConvectorList = BuildConvectorList(m_session.Project);
    // Slot 1 is shown even when it is free, so an empty list still reads as a list. At most 99
    // slots are shown; the last one never holds a line for a project of 24 entries anyway.
    const ConvectorListSlots& list = m_session.ConvectorList;
    for (std::size_t i = 0; i + 1 < list.size(); ++i) {
        if (i > 0 && list[i] == FreeListSlot)
            break;
        if (!list[i].empty())
            ListBox1->addItem(QString::fromStdString(list[i]));
    }

    m_session.ResetChangeFlags();
}

void TForm1::ListBox1Click()
{
    ListBox1->hide();
}

} // namespace tepa
