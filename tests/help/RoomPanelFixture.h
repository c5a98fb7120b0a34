#pragma once

#include "project/MainWindowFixture.h"

#include <QColor>
#include <QImage>

#include <vector>

namespace tepa::test {

// The main window with its calculation window, shown offscreen so that clicks reach the lists,
// and helpers for the room data panel and a program folder of the test's own.
class RoomPanelFixture : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        createCalculationWindow();
        form1->ResetRoomData();
        form1->show();
        QCoreApplication::processEvents();
    }

    // Opens the room data panel as the menu command does.
    void openRoomData()
    {
        form1->Raumdaten1->setEnabled(true);
        form1->Raumdaten1->trigger();
        QCoreApplication::processEvents();
    }

    // A fresh program directory holding a type index of these lines (after five header lines).
    void useProgramFolder(const std::vector<std::string>& indexLines, bool withIndex = true)
    {
        programDir = tempPath(QStringLiteral("program%1").arg(++m_folders));
        QDir().mkpath(programDir + "/Tepa_Bilder");
        session->ProgramDir = programDir.toStdString();
        // A pick starts the calculation run, which loads the type lists from here.
        for (const char* file : {"freikon.txt", "zwangskon.txt", "bauhoehen.txt"})
            QFile::copy(QString::fromStdString((installDir() / file).string()), programDir + "/" + file);
        if (!withIndex)
            return;
        std::ofstream out((programDir + "/konvektoren.txt").toStdString(), std::ios::binary);
        out << "header 0\r\nheader 1\r\nheader 2\r\nheader 3\r\nheader 4\r\n";
        for (const std::string& line : indexLines)
            out << line << "\r\n";
    }

    // A plain picture of one colour; the size tells the pictures apart.
    void writePicture(const QString& relativePath, QSize size, QColor colour)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(programDir + "/" + relativePath, "BMP"));
    }

    static void enter(QLineEdit* edit, const QString& text)
    {
        edit->clear();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }

    QStringList typeItems() const
    {
        QStringList items;
        for (int i = 0; i < form1->ListBox3->count(); ++i)
            items << form1->ListBox3->item(i)->text();
        return items;
    }

    // The type list item whose text starts with `name` (the blank before it included).
    QListWidgetItem* typeItem(const QString& name) const
    {
        return form1->ListBox3->findItems(name + " ", Qt::MatchStartsWith).value(0); // clickItem checks it
    }

    void clickItem(QListWidgetItem* item, bool doubleClick = false)
    {
        ASSERT_NE(item, nullptr);
        QListWidget* list = form1->ListBox3;
        list->scrollToItem(item);
        QCoreApplication::processEvents();
        const QPoint at = list->visualItemRect(item).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        if (doubleClick)
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        QCoreApplication::processEvents();
    }

    QString programDir;

private:
    int m_folders = 0;
};

} // namespace tepa::test
