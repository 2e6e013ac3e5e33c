// Fields without labels, buttons and menu items by text, for the roads beyond the main one.
#include "WindowChecksA.h"

#include "RoadChecks.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QCheckBox>
#include <QTimer>
#include <QToolButton>

#include <algorithm>

namespace roadwalk
{
namespace
{

QRect InWindow(QWidget* widget, QWidget* window)
{
    return QRect(widget->mapTo(window, QPoint(0, 0)), widget->size());
}

QString Plain(QString text)
{
    return text.remove('&').simplified();
}

} // namespace

QStringList UnlabelledFields(QWidget* window)
{
    QStringList found;
    if (qobject_cast<QFileDialog*>(window))
        return found;
    QList<QRect> labels;
    for (QWidget* w : window->findChildren<QWidget*>())
    {
        if (!w->isVisible() || w->window() != window)
            continue;
        const bool names =
            (qobject_cast<QLabel*>(w) && !qobject_cast<QLabel*>(w)->text().trimmed().isEmpty()) ||
            qobject_cast<QRadioButton*>(w) || qobject_cast<QCheckBox*>(w) || qobject_cast<QGroupBox*>(w);
        if (names)
            labels << InWindow(w, window);
    }
    for (QLineEdit* edit : window->findChildren<QLineEdit*>())
    {
        // The edit of a combo or spin box is named with its box.
        if (!edit->isVisible() || edit->window() != window ||
            qobject_cast<QComboBox*>(edit->parentWidget()) ||
            qobject_cast<QAbstractSpinBox*>(edit->parentWidget()))
            continue;
        const QRect field = InWindow(edit, window);
        const bool named =
            std::any_of(labels.begin(), labels.end(),
                        [&field](const QRect& label)
                        {
                            const bool left = label.right() <= field.left() + 4 &&
                                              label.bottom() >= field.top() && label.top() <= field.bottom();
                            const bool above = label.bottom() <= field.top() + 4 &&
                                               label.right() >= field.left() && label.left() <= field.right();
                            const bool around = label.contains(field); // a group box
                            return left || above || around;
                        });
        if (!named)
            found << QString("field at %1,%2").arg(field.left()).arg(field.top());
    }
    return found;
}

QList<QAbstractButton*> ButtonsTopDown(QWidget* window)
{
    QList<QAbstractButton*> buttons;
    if (!window)
        return buttons;
    for (QPushButton* button : window->findChildren<QPushButton*>())
        if (button->isVisible() && button->window() == window)
            buttons << button;
    std::sort(buttons.begin(), buttons.end(),
              [window](QAbstractButton* a, QAbstractButton* b)
              { return a->mapTo(window, QPoint(0, 0)).y() < b->mapTo(window, QPoint(0, 0)).y(); });
    return buttons;
}

QAbstractButton* ButtonByText(QWidget* window, const QRegularExpression& text)
{
    for (QAbstractButton* button : ButtonsTopDown(window))
        if (text.match(Plain(button->text())).hasMatch())
            return button;
    return nullptr;
}

QToolButton* ToolButtonByTip(QWidget* window, const QRegularExpression& tip)
{
    if (!window)
        return nullptr;
    for (QToolButton* button : window->findChildren<QToolButton*>())
        if (button->isVisible() && tip.match(button->toolTip()).hasMatch())
            return button;
    return nullptr;
}

void OpenSystemMenu(QWidget* window)
{
    if (!window)
        return;
    // A right click on the window's own area, as on its caption.
    const QPoint at(4, 4);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, window->mapToGlobal(at));
    QApplication::sendEvent(window, &event);
}

bool ChooseMenuItem(const QRegularExpression& text)
{
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu)
        return false;
    for (QAction* action : menu->actions())
        if (action->isEnabled() && !action->isSeparator() && text.match(Plain(action->text())).hasMatch())
        {
            menu->setActiveAction(action);
            TypeKey(menu, Qt::Key_Return);
            return true;
        }
    return false;
}

QStringList LabelTexts(QWidget* window)
{
    QStringList texts;
    if (window)
        for (QLabel* label : window->findChildren<QLabel*>())
            if (label->isVisible())
                texts << label->text();
    return texts;
}

bool Press(QMessageBox* box, QMessageBox::StandardButton which)
{
    QAbstractButton* button = box->button(which);
    if (!button)
        return false;
    QTimer::singleShot(300, box, [button] { RealClick(button, button->rect().center()); });
    return true;
}

bool AnswerYesOrOk(QMessageBox* box)
{
    return Press(box, QMessageBox::Yes) ||
           (box->icon() != QMessageBox::Question && Press(box, QMessageBox::Ok));
}

bool NothingOverMain(QWidget* main)
{
    QWidget* modal = QApplication::activeModalWidget();
    return !modal || modal == main;
}

void Click(QAbstractButton* button)
{
    if (button)
        RealClick(button, button->rect().center());
}

} // namespace roadwalk
