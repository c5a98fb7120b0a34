#pragma once

#include <QColor>
#include <QFrame>
#include <QSpinBox>

#include <functional>

class QLineEdit;
class QListWidget;
class QMouseEvent;

namespace tepa {

// Colours of the calculation window.
namespace formcolours {
QColor formBackground(); // the form itself: RGB 221, 215, 208
QColor systemFace();     // panels without a colour of their own (the button face of the platform)
QColor mediumGrey();     // the type panel
QColor silver();         // dividers and the dew-point box
QColor warningRed();     // warnings and the heating list frame
QColor coolingBlue();    // the cooling heading and the cooling list frame
QColor demandMetGreen(); // a total that covers the demand
// The shade a text is drawn in: pure red, green and blue are too light on the panels to read
// (less than 4.5:1 against them), so they become the form's red, green and blue of the same
// meaning; every other colour is kept.
QColor readableText(const QColor& colour);
} // namespace formcolours

// Fills a panel with a colour of its own instead of its parent's.
void setPanelColour(QWidget* panel, const QColor& colour);
// The colour a panel is filled with.
QColor panelColour(const QWidget* panel);

// A panel that reports a click on its own surface. Clicks on its child controls belong to
// those controls (labels included, although they take no mouse input themselves).
class ClickPanel : public QFrame
{
    Q_OBJECT

public:
    explicit ClickPanel(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_pressedOnSurface = false;
};

// The arrow pair beside a count field: steps a whole number between its limits. With an
// associated edit field it starts each step from the number typed there and writes the new
// position back into it, so the field and the arrows always agree. Only the arrows are shown.
class UpDown : public QSpinBox
{
    Q_OBJECT

public:
    explicit UpDown(QWidget* parent = nullptr);

    void setAssociate(QLineEdit* edit);
    QLineEdit* associate() const { return m_associate; }

    void stepBy(int steps) override;

protected:
    StepEnabled stepEnabled() const override;

private:
    // The position a step starts from: the whole number in the associated field brought into
    // the range, or the current position when the field holds no whole number.
    int startPosition() const;
    void writeAssociate();

    QLineEdit* m_associate = nullptr;
};

// Makes a choice by keyboard (arrow keys, Home, End, Page keys) in a list act as a click on
// the item then current, so that what is highlighted is what is chosen.
class KeyboardPick : public QObject
{
public:
    KeyboardPick(QListWidget* list, std::function<void()> pick);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QListWidget* m_list;
    std::function<void()> m_pick;
    bool m_inside = false;
};

} // namespace tepa
