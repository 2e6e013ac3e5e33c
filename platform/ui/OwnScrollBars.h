// The scroll bars a window draws itself, children of its widget (internal to the window layer).
#pragma once

class QScrollBar;
class QWidget;

namespace tvsk::ui
{

// The window's visible scroll bar of SB_HORZ or SB_VERT, null when it has none showing.
QScrollBar* VisibleOwnScrollBar(const QWidget* widget, int bar);

} // namespace tvsk::ui
