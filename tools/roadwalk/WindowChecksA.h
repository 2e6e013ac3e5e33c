// Checks and acts of the roads beyond the main one: fields without a label, buttons by text,
// the system menu, toolbar buttons by tool tip.
#pragma once

#include <QMessageBox>
#include <QRegularExpression>
#include <QStringList>

class QAbstractButton;
class QToolButton;
class QWidget;

namespace roadwalk
{

// Edit fields of the window that no label names: none to their left on their row, none above
// them in their column. As "field at x,y".
QStringList UnlabelledFields(QWidget* window);

// The window's visible push button whose text (without "&") matches, or null.
QAbstractButton* ButtonByText(QWidget* window, const QRegularExpression& text);
// The window's visible push buttons, top to bottom.
QList<QAbstractButton*> ButtonsTopDown(QWidget* window);
// The window's toolbar button whose tool tip matches, or null.
QToolButton* ToolButtonByTip(QWidget* window, const QRegularExpression& tip);

// A right click on the window's own area: opens its system menu.
void OpenSystemMenu(QWidget* window);
// Chooses the item of the open popup menu whose text (without "&") matches; false when there is
// no such menu or item.
bool ChooseMenuItem(const QRegularExpression& text);

// The texts of the window's labels.
QStringList LabelTexts(QWidget* window);

// Presses a box's button a moment later, by a real click; false when the box has no such button.
bool Press(QMessageBox* box, QMessageBox::StandardButton which);
// Questions are answered Yes, information OK.
bool AnswerYesOrOk(QMessageBox* box);
// The main window runs modal itself: true when no window is modal over it.
bool NothingOverMain(QWidget* main);
// A real click on the button's centre (nothing when there is no button).
void Click(QAbstractButton* button);

} // namespace roadwalk
