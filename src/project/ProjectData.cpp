// New project, the project data panel and its attachments.
#include "app/TForm1.h"
#include "calcwindow/TForm2.h"
#include "core/model/ProjectReset.h"
#include "core/model/Attachments.h"
#include "project/AttachmentPolicy.h"
#include "project/ControlAccess.h"
#include "project/ProjectPaths.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextDocument>

#include <algorithm>
#include <array>

namespace tepa {
namespace {

constexpr int MaxAttachments = static_cast<int>(layout::record::AttachmentCount);

// Interface text lines of the attachment rules.
constexpr std::size_t AttachmentNotStorableTextLine = 278;
constexpr std::size_t AttachmentTooLongTextLine = 279;
constexpr std::size_t AddressConfirmationTextLine = 280;
constexpr int MaxRemarkLines = static_cast<int>(layout::record::RemarkLineCount);
// The attachment list scrolls sideways over at least this width, so that long paths can be read.
constexpr int AttachmentListExtentPx = 1000;

template <class W> W* named(W* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLineEdit* makeEdit(QWidget* parent, const char* name, int maxLength, int x, int y, int width)
{
    auto* edit = named(new QLineEdit(parent), name);
    edit->setMaxLength(maxLength);
    edit->setGeometry(x, y, width, 21);
    return edit;
}

QLabel* makeLabel(QWidget* parent, const char* name, int x, int y, int width)
{
    auto* label = named(new QLabel(parent), name);
    label->setGeometry(x, y, width, 17);
    return label;
}

QString toQString(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

// The list scrolls sideways over the whole path, and at least over the fixed extent.
void addAttachmentItem(QListWidget* list, const QString& path)
{
    auto* item = new QListWidgetItem(path, list);
    const QFontMetrics metrics(list->font());
    item->setSizeHint(
        QSize(std::max(AttachmentListExtentPx, metrics.horizontalAdvance(path) + 8), metrics.height() + 2));
}

// Memo text as lines; a trailing empty line the editor keeps after a last line break is none.
QStringList memoLines(const QPlainTextEdit* memo)
{
    QStringList lines = memo->toPlainText().split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

template <class Handler> void checkAndClick(QRadioButton* button, Handler handler)
{
    if (!button || button->isChecked())
        return;
    button->setChecked(true);
    handler();
}

} // namespace

void TForm1::buildProjectDataPanel()
{
    GroupBox1 = named(new QGroupBox(centralWidget()), "GroupBox1");
    // Ends above the status lines under it.
    GroupBox1->setGeometry(16, 12, 769, 524);

    Label25 = makeLabel(GroupBox1, "Label25", 12, 24, 300);
    Edit15 = makeEdit(GroupBox1, "Edit15", 50, 12, 42, 745);
    Label26 = makeLabel(GroupBox1, "Label26", 12, 70, 200);
    Edit16 = makeEdit(GroupBox1, "Edit16", 16, 12, 88, 200);
    Label11 = makeLabel(GroupBox1, "Label11", 230, 70, 150);
    Edit17 = makeEdit(GroupBox1, "Edit17", 10, 230, 88, 120);

    // Data lines 1 to 5 in two columns of labels, 6 and 7 under their own label.
    Label28 = makeLabel(GroupBox1, "Label28", 12, 118, 360);
    Edit18 = makeEdit(GroupBox1, "Edit18", 40, 12, 136, 360);
    Edit19 = makeEdit(GroupBox1, "Edit19", 40, 12, 160, 360);
    Edit20 = makeEdit(GroupBox1, "Edit20", 40, 12, 184, 360);
    Label29 = makeLabel(GroupBox1, "Label29", 396, 118, 360);
    Edit21 = makeEdit(GroupBox1, "Edit21", 40, 396, 136, 360);
    Edit22 = makeEdit(GroupBox1, "Edit22", 40, 396, 160, 360);
    Label30 = makeLabel(GroupBox1, "Label30", 396, 188, 360);
    Edit23 = makeEdit(GroupBox1, "Edit23", 40, 396, 206, 360);
    Edit24 = makeEdit(GroupBox1, "Edit24", 40, 396, 230, 360);

    Label31 = makeLabel(GroupBox1, "Label31", 12, 262, 440);
    Memo1 = named(new QPlainTextEdit(GroupBox1), "Memo1");
    Memo1->setGeometry(12, 280, 440, 238);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setToolTip(QStringLiteral("Text-Eingabe bis zu 25 Zeilen !"));
    // Typing shows at once in the title's modified marker.
    connect(Memo1, &QPlainTextEdit::modificationChanged, this, [this] { updateModifiedMarker(); });

    Label5 = makeLabel(GroupBox1, "Label5", 468, 262, 288);
    run1 = named(new QPushButton(GroupBox1), "run1");
    run1->setGeometry(468, 280, 288, 25);
    ListBox2 = named(new QListWidget(GroupBox1), "ListBox2");
    ListBox2->setGeometry(468, 310, 288, 170);
    ListBox2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ListBox2->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    Add1 = named(new QPushButton(GroupBox1), "Add1");
    Add1->setGeometry(468, 490, 140, 27);
    Del1 = named(new QPushButton(GroupBox1), "Del1");
    Del1->setGeometry(616, 490, 140, 27);

    for (QLineEdit* edit : projectDataEdits())
        connect(edit, &QLineEdit::textEdited, this, [this] { updateModifiedMarker(); });
    connect(ListBox2, &QListWidget::itemClicked, this, [this] { ListBox2Click(); });
    connect(ListBox2, &QListWidget::itemDoubleClicked, this, [this] { run1Click(); });
    connect(run1, &QPushButton::clicked, this, [this] { run1Click(); });
    connect(Add1, &QPushButton::clicked, this, [this] { Add1Click(); });
    connect(Del1, &QPushButton::clicked, this, [this] { Del1Click(); });

    GroupBox1->hide();
}

void TForm1::Neu1Click()
{
    // A planner who cancels, or wants the open project saved first and then does not complete
    // the save, keeps it: New would otherwise discard work the planner meant to keep.
    if (!mayReplaceProject())
        return;
    // The new project belongs to no file yet: the save dialog starts empty, the lock goes.
    releaseProjectFile();

    controls::setVisible(ListBox1, false);
    controls::setEnabled(Projektdaten1, true);
    controls::setEnabled(Raumdaten1, true);
    controls::setEnabled(RadioButton1, true);
    controls::setEnabled(RadioButton2, true);
    controls::setEnabled(Drucken1, false);
    controls::setEnabled(Konvliste, false);

    m_session.ResetChangeFlags();

    // One core routine puts the whole record into the state of a new project: project data,
    // room data, both entry lists with their counts and the list flags.
    resetForNewProject(m_session.Project, todayShortDate());
    run1->setText(QString());

    m_session.RoomDataShown = false;
    m_session.ProjectLoaded = false;
    controls::setEnabled(Raumdaten1, false);
    controls::setEnabled(Berechnungen1, false);

    m_session.HeatingEntryIndex = 1;
    m_session.CoolingEntryIndex = 1;
    // An entry the calculation window was adding belonged to the project just reset.
    m_session.EntryBeingAdded = false;

    if (m_form2) {
        m_form2->clearList();
        m_form2->hideNominalRating();
    }

    // Dual use goes off before the record is shown: showing the room data takes the dual-use
    // flag of the current mode from that button, and the new project is no dual-use project.
    checkAndClick(RadioButton4, [this] { RadioButton4Click(); });
    RecordToProjectData();
    RecordToRoomData();

    m_session.HeatingDualUseOn = false;
    m_session.CoolingDualUseOn = false;
    m_session.ProjectTouched = false;
    m_session.CoolingRoomTempLoaded = false;
    m_session.CentreReturnTemp = true;
    m_session.HeatingPanelReady = false;
    m_session.CoolingPanelReady = false;
    m_session.EntryDeleted = false;

    // Nothing of the project before stays: no status bar in its colour, no type picture.
    if (Label19) {
        Label19->clear();
        Label19->hide();
    }
    if (Image2) {
        Image2->clear();
        Image2->hide();
    }
    if (Label12)
        Label12->clear();
    controls::setEnabled(Berechnungen1, false);

    // Checking a radio button from here runs its click handler when the check moves to it, as a
    // click would: the panel then shows the heating inputs and the full type list.
    checkAndClick(RadioButton1, [this] { RadioButton1Click(); });
    m_session.HeatingMode = true;
    m_session.CoolingMode = false;

    if (m_form2)
        m_form2->showListFrameIdle();

    // New ends with the project data panel open; the panel command toggles, so an open panel
    // is closed first.
    GroupBox1->hide();
    Projektdaten1Click();
    // A new project with nothing typed yet loses nothing when it is closed.
    m_session.markProjectClean();
    updateModifiedMarker();
}

void TForm1::Projektdaten1Click()
{
    m_session.ProjectDataShown = true;
    controls::setEnabled(Raumdaten1, true);
    if (!GroupBox1->isHidden()) {
        GroupBox1->hide();
        ProjectDataToRecord();
        // The convector list, once asked for, is what the planner was looking at before.
        if (m_session.ListShown)
            controls::setVisible(ListBox1, true);
        return;
    }
    m_session.ProjectTouched = true;
    // Typing left in the panel when another command hid it is kept, not overwritten below.
    storeTypedProjectData();
    controls::setVisible(ListBox1, false);
    controls::setVisible(GroupBox2, false);
    GroupBox1->show();
    RecordToProjectData();
}

std::array<QLineEdit*, 10> TForm1::projectDataEdits() const
{
    return {Edit15, Edit16, Edit17, Edit18, Edit19, Edit20, Edit21, Edit22, Edit23, Edit24};
}

bool TForm1::projectDataTyped() const
{
    if (!Edit15)
        return false;
    for (const QLineEdit* edit : projectDataEdits())
        if (edit->isModified())
            return true;
    return m_attachmentsEdited || Memo1->document()->isModified();
}

void TForm1::storeTypedProjectData()
{
    if (projectDataTyped())
        ProjectDataToRecord();
}

void TForm1::ProjectDataToRecord()
{
    ProjectRecord& project = m_session.Project;
    project.Title.setText(Edit15->text().toStdString());
    project.Number.setText(Edit16->text().toStdString());
    project.Date.setText(Edit17->text().toStdString());
    const std::array<QLineEdit*, layout::record::DataLineCount> dataEdits{Edit18, Edit19, Edit20, Edit21,
                                                                          Edit22, Edit23, Edit24};
    for (std::size_t i = 0; i < dataEdits.size(); ++i)
        project.DataLines[i].setText(dataEdits[i]->text().toStdString());

    // Lines beyond the 25th have no place in the record; each line is cut to 72 characters.
    const QStringList lines = memoLines(Memo1);
    for (int i = 0; i < MaxRemarkLines; ++i)
        project.RemarkLines[static_cast<std::size_t>(i)].setText(i < lines.size() ? lines[i].toStdString()
                                                                                  : std::string());

    for (auto& attachment : project.Attachments)
        attachment.clear();
    for (int i = 0; i < std::min(ListBox2->count(), MaxAttachments); ++i)
        project.Attachments[static_cast<std::size_t>(i)].setText(ListBox2->item(i)->text().toStdString());

    // Everything typed is in the record now.
    for (QLineEdit* edit : projectDataEdits())
        edit->setModified(false);
    Memo1->document()->setModified(false);
    m_attachmentsEdited = false;
    updateModifiedMarker();
}

void TForm1::RecordToProjectData()
{
    const ProjectRecord& project = m_session.Project;
    Edit15->setText(toQString(project.Title.text()));
    Edit16->setText(toQString(project.Number.text()));
    Edit17->setText(toQString(project.Date.text()));
    const std::array<QLineEdit*, layout::record::DataLineCount> dataEdits{Edit18, Edit19, Edit20, Edit21,
                                                                          Edit22, Edit23, Edit24};
    for (std::size_t i = 0; i < dataEdits.size(); ++i)
        dataEdits[i]->setText(toQString(project.DataLines[i].text()));

    // Empty remark lines at the end are not shown as a run of blank lines; they come back as
    // empty elements when the memo is stored.
    QStringList lines;
    for (const auto& line : project.RemarkLines)
        lines.push_back(toQString(line.text()));
    while (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    Memo1->setPlainText(lines.join(QLatin1Char('\n')));
    Memo1->document()->setModified(false);

    ListBox2->clear();
    m_attachmentsEdited = false;
    run1->setText(QString());
    for (const auto& attachment : project.Attachments) {
        if (attachment.empty())
            break;
        addAttachmentItem(ListBox2, toQString(attachment.text()));
        ListBox2->setCurrentRow(ListBox2->count() - 1);
        ListBox2Click();
    }
}

void TForm1::ResetProjectData()
{
    resetProjectData(m_session.Project, todayShortDate());
    run1->setText(QString());
}

void TForm1::Add1Click()
{
    if (ListBox2->count() >= MaxAttachments) {
        m_services.messages.showMessage(text(266));
        return;
    }
    platform::FileDialogRequest request;
    request.filter = QStringLiteral("Alle Dateien (*)");
    request.initialDir = QString::fromStdU16String(m_session.ProjectDir.u16string());
    const std::optional<QString> file = m_services.dialogs.openFile(request);
    makeProgramDirCurrent(m_session.ProgramDir);
    // A path the project file cannot hold exactly would be saved altered; it is refused now,
    // while the planner can still rename the file.
    const AttachmentStorage storage = file ? attachmentStorage(file->toStdString()) : AttachmentStorage::Exact;
    if (storage != AttachmentStorage::Exact) {
        m_services.messages.showMessage(text(storage == AttachmentStorage::TooLong ? AttachmentTooLongTextLine
                                                                                    : AttachmentNotStorableTextLine) +
                                        QLatin1Char('\n') + *file);
    } else if (file) {
        addAttachmentItem(ListBox2, *file);
        ListBox2->setCurrentRow(ListBox2->count() - 1);
        m_attachmentsEdited = true;
        updateModifiedMarker();
    }
    ListBox2Click();
}

void TForm1::Del1Click()
{
    const int row = ListBox2->currentRow();
    if (row < 0 || !ListBox2->currentItem()->isSelected())
        return;
    delete ListBox2->takeItem(row);
    m_attachmentsEdited = true;
    updateModifiedMarker();
    // The item that moved up into the deleted place, or the new last item.
    if (ListBox2->count() > 0)
        ListBox2->setCurrentRow(std::min(row, ListBox2->count() - 1));
    else
        ListBox2->setCurrentRow(-1);
    ListBox2Click();
}

void TForm1::ListBox2Click()
{
    const QListWidgetItem* item = ListBox2->currentItem();
    run1->setText(item && item->isSelected() ? fileNamePart(item->text()) : QString());
}

void TForm1::run1Click()
{
    const QListWidgetItem* item = ListBox2->currentItem();
    if (!item || !item->isSelected())
        return;
    const QString path = item->text();
    if (isProgramOrScript(path)) {
        m_services.messages.showMessage(QString::fromUtf8(RefusedAttachmentText) + QLatin1Char('\n') + path);
        return;
    }
    // An address may lead anywhere: the planner sees it in full before the browser does.
    if (attachmentOpening(path.toStdString()) == AttachmentOpening::ConfirmAddress &&
        !m_services.messages.askYesNo(text(AddressConfirmationTextLine) + QLatin1Char('\n') + path))
        return;
    // A document without an application to open it is the desktop's to report.
    m_services.shell.open(path);
}

} // namespace tepa
