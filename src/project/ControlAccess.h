#pragma once

#include <QAction>
#include <QColor>
#include <QMenu>
#include <QPalette>
#include <QWidget>

// The project commands reach into controls built by other parts of the main window and into the
// calculation window, which is created after the main window and may be absent (a main window
// built on its own, as for the window tests). A missing control is passed over.
namespace tepa::controls {

inline void setEnabled(QAction* action, bool enabled)
{
    if (action)
        action->setEnabled(enabled);
}

// A submenu is enabled through both its widget and the action that shows it in the menu bar.
inline void setEnabled(QMenu* menu, bool enabled)
{
    if (!menu)
        return;
    menu->setEnabled(enabled);
    menu->menuAction()->setEnabled(enabled);
}

inline void setEnabled(QWidget* widget, bool enabled)
{
    if (widget)
        widget->setEnabled(enabled);
}

inline void setVisible(QWidget* widget, bool visible)
{
    if (widget)
        widget->setVisible(visible);
}

// The background colour of a label or panel.
inline void setBackground(QWidget* widget, const QColor& colour)
{
    if (!widget)
        return;
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace tepa::controls
