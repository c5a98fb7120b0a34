#pragma once

// Small helpers the calculation window's source files share: number texts through core/text,
// quiet slider moves, label colours, entry slots, fan stages and primary-air sizes.

#include "calcwindow/FormControls.h"
#include "core/calculation/CoolingPoint.h"
#include "core/engine/ForcedConvection.h"
#include "core/engine/PressureDrop.h"
#include "core/model/ProjectRecord.h"
#include "core/series/Series.h"
#include "core/text/Numbers.h"

#include <QColor>
#include <QEvent>
#include <QObject>
#include <QPalette>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QString>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace tepa::window {

inline QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

// Fixed-point text with at most `precision` significant digits and no decimals.
inline QString fixed(double x, int precision)
{
    return qs(fixedDigits(x, precision, 0));
}

// Str(x:width:decimals).
inline QString str(double x, int width, int decimals)
{
    return qs(strFixed(x, width, decimals));
}

// Set from a calculation, not moved by the user: the bar's own handler must not run.
template <class Bar> void setQuietly(Bar* bar, int position)
{
    const QSignalBlocker quiet(bar);
    bar->setValue(position);
}

inline void setRangeQuietly(QScrollBar* bar, int minimum, int maximum)
{
    const QSignalBlocker quiet(bar);
    bar->setRange(minimum, maximum);
}

inline void setTextColour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, formcolours::readableText(colour));
    widget->setPalette(palette);
}

// Runs `handler` when the watched widget receives one of the given events, for input fields
// whose check also runs on a click or when the field is entered. Owned by the widget.
class EventHandlerFilter : public QObject
{
public:
    EventHandlerFilter(QObject* watched,
                       std::initializer_list<QEvent::Type> types,
                       std::function<void()> handler)
        : QObject(watched)
        , m_types(types)
        , m_handler(std::move(handler))
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == parent() && std::find(m_types.begin(), m_types.end(), event->type()) != m_types.end())
            m_handler();
        return false;
    }

private:
    std::vector<QEvent::Type> m_types;
    std::function<void()> m_handler;
};

// Element of a 1-based entry index, kept within the list.
inline std::size_t slotOf(int index)
{
    return static_cast<std::size_t>(std::clamp<int>(index, 1, static_cast<int>(MaxEntries)) - 1);
}

using calculation::stageOf;

// Largest primary air flow of a primary-air unit of this length, m³/h; `previous` for a name
// of no primary-air size.
inline double primaryAirLimit(const std::string& name, double lengthMm, double previous)
{
    return series::primaryAirPerSize(name) > 0 ? series::coolingAirFlowLimit(name, lengthMm) : previous;
}

// The water-side pressure drop of a heating entry at its operating point.
inline engine::PressureDropInput
heatingDropInput(const HeatingEntry& e, const std::string& name, const std::string& dataLine, double Tv)
{
    engine::PressureDropInput in;
    in.massFlowKgPerH = e.MassFlow;
    in.lengthMm = e.EffectiveLength;
    in.Tv = Tv;
    in.Tr = e.ReturnTemp;
    in.typeName = name;
    in.dataLine = dataLine;
    in.mode = engine::Mode::Heating;
    return in;
}

} // namespace tepa::window
