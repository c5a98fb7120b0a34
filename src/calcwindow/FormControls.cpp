#include "calcwindow/FormControls.h"

#include "core/text/Numbers.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPalette>
#include <QSignalBlocker>

#include <algorithm>

namespace tepa {

namespace formcolours {
QColor formBackground()
{
    return QColor(221, 215, 208);
}
QColor systemFace()
{
    return QApplication::palette().color(QPalette::Button);
}
QColor mediumGrey()
{
    // Light enough for red and blue captions on it to stay readable.
    return QColor(184, 184, 188);
}
QColor silver()
{
    return QColor(192, 192, 192);
}
QColor warningRed()
{
    return QColor(150, 0, 0);
}
QColor coolingBlue()
{
    return QColor(0, 0, 170);
}
QColor demandMetGreen()
{
    return QColor(0, 100, 0);
}
QColor readableText(const QColor& colour)
{
    if (colour == QColor(Qt::red))
        return warningRed();
    if (colour == QColor(Qt::green))
        return demandMetGreen();
    if (colour == QColor(Qt::blue))
        return coolingBlue();
    return colour;
}
} // namespace formcolours

void setPanelColour(QWidget* panel, const QColor& colour)
{
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, colour);
    panel->setPalette(palette);
    panel->setAutoFillBackground(true);
}

QColor panelColour(const QWidget* panel)
{
    return panel->palette().color(QPalette::Window);
}

ClickPanel::ClickPanel(QWidget* parent)
    : QFrame(parent)
{}

// Labels ignore the mouse, so a press on a label reaches the panel; the panel only counts
// presses and releases that land where no child control lies.
void ClickPanel::mousePressEvent(QMouseEvent* event)
{
    m_pressedOnSurface = event->button() == Qt::LeftButton && childAt(event->position().toPoint()) == nullptr;
    QFrame::mousePressEvent(event);
}

void ClickPanel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool wasPressed = m_pressedOnSurface;
    m_pressedOnSurface = false;
    QFrame::mouseReleaseEvent(event);
    const QPoint at = event->position().toPoint();
    if (wasPressed && event->button() == Qt::LeftButton && rect().contains(at) && childAt(at) == nullptr)
        emit clicked();
}

UpDown::UpDown(QWidget* parent)
    : QSpinBox(parent)
{
    // The number is shown by the associated edit field; the spin box contributes its arrows.
    lineEdit()->hide();
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    connect(this, &QSpinBox::valueChanged, this, &UpDown::writeAssociate);
}

void UpDown::setAssociate(QLineEdit* edit)
{
    m_associate = edit;
    writeAssociate();
}

// The user may have typed a count since the last step: the step continues from there.
int UpDown::startPosition() const
{
    if (!m_associate)
        return value();
    const auto typed = readInteger(m_associate->text().toStdString());
    return typed ? std::clamp(*typed, minimum(), maximum()) : value();
}

QAbstractSpinBox::StepEnabled UpDown::stepEnabled() const
{
    if (!m_associate)
        return QSpinBox::stepEnabled();
    // A field showing something other than the position is corrected by a step in either
    // direction, even at a limit.
    const int start = startPosition();
    const bool fieldDiffers = m_associate->text() != QString::number(start);
    StepEnabled enabled = StepNone;
    if (start < maximum() || fieldDiffers)
        enabled |= StepUpEnabled;
    if (start > minimum() || fieldDiffers)
        enabled |= StepDownEnabled;
    return enabled;
}

void UpDown::stepBy(int steps)
{
    if (m_associate) {
        const QSignalBlocker quiet(this);
        setValue(startPosition());
    }
    QSpinBox::stepBy(steps);
    writeAssociate();
}

void UpDown::writeAssociate()
{
    if (!m_associate)
        return;
    const QString position = QString::number(value());
    if (m_associate->text() != position)
        m_associate->setText(position);
}

KeyboardPick::KeyboardPick(QListWidget* list, std::function<void()> pick)
    : QObject(list)
    , m_list(list)
    , m_pick(std::move(pick))
{
    list->installEventFilter(this);
}

bool KeyboardPick::eventFilter(QObject* watched, QEvent* event)
{
    if (m_inside || watched != m_list || event->type() != QEvent::KeyPress)
        return false;
    // The list moves its highlight first; a move is then a pick of the new item.
    const int before = m_list->currentRow();
    m_inside = true;
    QCoreApplication::sendEvent(m_list, event);
    m_inside = false;
    if (m_list->currentRow() != before && m_list->currentItem() != nullptr)
        m_pick();
    return true;
}

} // namespace tepa
