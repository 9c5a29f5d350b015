// Real mouse events for a widget, with the button state a drag has.
#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

namespace testing_support {

// Sends one mouse event to a widget, with the button state and the keys held given (outside
// points included).
inline void SendMouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button,
                      Qt::MouseButtons buttons, Qt::KeyboardModifiers keys = Qt::NoModifier)
{
    QMouseEvent event(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, buttons, keys);
    QApplication::sendEvent(w, &event);
}

inline void Press(QWidget* w, QPoint p, Qt::KeyboardModifiers keys = Qt::NoModifier)
{
    SendMouse(w, QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton, keys);
}

inline void MoveHeld(QWidget* w, QPoint p, Qt::KeyboardModifiers keys = Qt::NoModifier)
{
    SendMouse(w, QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton, keys);
}

inline void Release(QWidget* w, QPoint p, Qt::KeyboardModifiers keys = Qt::NoModifier)
{
    SendMouse(w, QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton, keys);
}

// Press at `from`, move in `steps` steps, release at `to`, the keys held throughout.
inline void Drag(QWidget* w, QPoint from, QPoint to, int steps = 4,
                 Qt::KeyboardModifiers keys = Qt::NoModifier)
{
    Press(w, from, keys);
    for (int i = 1; i <= steps; ++i)
        MoveHeld(w, from + (to - from) * i / steps, keys);
    Release(w, to, keys);
}

} // namespace testing_support
