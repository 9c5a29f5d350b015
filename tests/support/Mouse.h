// Real mouse events for a widget, with the button state a drag has.
#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

namespace testing_support {

// Sends one mouse event to a widget, with the button state given (outside points included).
inline void SendMouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button,
                      Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

inline void Press(QWidget* w, QPoint p)
{
    SendMouse(w, QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
}

inline void MoveHeld(QWidget* w, QPoint p)
{
    SendMouse(w, QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton);
}

inline void Release(QWidget* w, QPoint p)
{
    SendMouse(w, QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
}

// Press at `from`, move in `steps` steps, release at `to`.
inline void Drag(QWidget* w, QPoint from, QPoint to, int steps = 4)
{
    Press(w, from);
    for (int i = 1; i <= steps; ++i)
        MoveHeld(w, from + (to - from) * i / steps);
    Release(w, to);
}

} // namespace testing_support
