// Cut texts and new overlaps of a dialog's controls, measured in the controls' own fonts.
#include "DialogFit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <QWidget>

#include <optional>

namespace tvsk::testing
{

namespace
{

constexpr int kButtonFrame = 6;
constexpr int kGroupCaptionFrame = 16;

struct Caption
{
    QString text;
    int room;
    bool wraps = false;
};

std::optional<Caption> CaptionOf(const QWidget& w)
{
    if (const auto* label = qobject_cast<const QLabel*>(&w))
    {
        if (label->textFormat() == Qt::RichText || !label->pixmap().isNull())
            return std::nullopt;
        return Caption{label->text(),
                       w.width() - 2 * label->frameWidth() - 2 * label->margin() -
                           std::max(0, label->indent()),
                       label->wordWrap()};
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(&w))
    {
        int room = w.width() - kButtonFrame;
        if (qobject_cast<const QCheckBox*>(&w) || qobject_cast<const QRadioButton*>(&w))
            room = w.width() - w.style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, &w) -
                   w.style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, &w);
        return Caption{button->text(), room};
    }
    if (const auto* group = qobject_cast<const QGroupBox*>(&w))
        return Caption{group->title(), w.width() - kGroupCaptionFrame};
    return std::nullopt;
}

std::string Quoted(const QString& text)
{
    return "'" + text.toStdString() + "'";
}

CRect ScreenRect(const CWnd& control, const CWnd& dialog)
{
    CRect r;
    control.GetWindowRect(&r);
    dialog.ScreenToClient(&r);
    return r;
}

bool Meet(const CRect& a, const CRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The control a template row made: by its id, or for shared ids (static texts) the one in its place.
const CWnd* ControlOf(const CWnd& dialog, const DialogTemplate& t, int index, CSize baseUnits)
{
    const DlgItem& item = t.items[index];
    int sharing = 0;
    for (int i = 0; i < t.itemCount; ++i)
        sharing += t.items[i].id == item.id ? 1 : 0;
    if (sharing == 1)
        return dialog.GetDlgItem(static_cast<int>(item.id));
    const CRect place =
        DialogUnitsToPixels(CRect(item.x, item.y, item.x + item.cx, item.y + item.cy), baseUnits);
    for (QWidget* child : dialog.GetWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (const CWnd* control = CWnd::FromWidget(child);
            control && control->GetDlgCtrlID() == static_cast<int>(item.id) &&
            ScreenRect(*control, dialog) == place)
            return control;
    return nullptr;
}

} // namespace

ScopedDesktopFont::ScopedDesktopFont(int points) : m_previous(QApplication::font())
{
    QFont font("Sans Serif");
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(points);
    QApplication::setFont(font);
}

ScopedDesktopFont::~ScopedDesktopFont()
{
    QApplication::setFont(m_previous);
}

std::vector<std::string> CutTexts(const CWnd& window)
{
    std::vector<std::string> cut;
    QWidget* top = window.GetWidget();
    if (!top)
        return {"no window"};
    for (QWidget* w : top->findChildren<QWidget*>())
    {
        if (!CWnd::FromWidget(w) || !w->isVisibleTo(top))
            continue;
        std::optional<Caption> caption = CaptionOf(*w);
        if (!caption)
            continue;
        QString text = caption->text;
        text.remove(QRegularExpression("&(?!&)"));
        if (text.trimmed().isEmpty())
            continue;
        const QFontMetrics metrics = w->fontMetrics();
        if (caption->wraps)
        {
            const QRect needed =
                metrics.boundingRect(QRect(0, 0, std::max(1, caption->room), 100000), Qt::TextWordWrap, text);
            if (needed.width() > caption->room || needed.height() > w->height())
                cut.push_back(Quoted(text) + " needs " + std::to_string(needed.width()) + " x " +
                              std::to_string(needed.height()) + " px, has " + std::to_string(caption->room) +
                              " x " + std::to_string(w->height()));
            continue;
        }
        const int needed = metrics.horizontalAdvance(text.split('\n').first());
        if (needed > caption->room)
            cut.push_back(Quoted(text) + " needs " + std::to_string(needed) + " px, has " +
                          std::to_string(caption->room));
    }
    return cut;
}

std::vector<std::string> NewOverlaps(const CWnd& dialog, const DialogTemplate& t)
{
    std::vector<std::string> overlaps;
    const CSize baseUnits = GetDialogBaseUnits(dialog.GetWidget()->font());
    std::vector<const CWnd*> controls;
    for (int i = 0; i < t.itemCount; ++i)
        controls.push_back(ControlOf(dialog, t, i, baseUnits));
    for (int i = 0; i < t.itemCount; ++i)
        for (int j = i + 1; j < t.itemCount; ++j)
        {
            const DlgItem& a = t.items[i];
            const DlgItem& b = t.items[j];
            if (!controls[i] || !controls[j] ||
                Meet(CRect(a.x, a.y, a.x + a.cx, a.y + a.cy), CRect(b.x, b.y, b.x + b.cx, b.y + b.cy)))
                continue;
            if (Meet(ScreenRect(*controls[i], dialog), ScreenRect(*controls[j], dialog)))
                overlaps.push_back("items " + std::to_string(i) + " and " + std::to_string(j) + " (ids " +
                                   std::to_string(a.id) + ", " + std::to_string(b.id) + ") meet on screen");
        }
    return overlaps;
}

std::vector<std::string> FitProblems(const CWnd& dialog, const DialogTemplate& dialogTemplate)
{
    std::vector<std::string> problems = CutTexts(dialog);
    for (std::string& overlap : NewOverlaps(dialog, dialogTemplate))
        problems.push_back(std::move(overlap));
    return problems;
}

std::vector<std::string> TemplateFitProblems(const DialogTemplate& dialogTemplate)
{
    DialogTemplate plain = dialogTemplate;
    plain.style &= ~WS_VISIBLE;
    std::vector<DlgItem> items(dialogTemplate.items, dialogTemplate.items + dialogTemplate.itemCount);
    for (DlgItem& item : items)
        if (item.kind == DlgKind::Control && item.className && item.className[0] == '{')
            item.className = "Static";
    plain.items = items.data();
    CDialog dialog;
    if (!dialog.CreateIndirect(&plain))
        return {"not created"};
    std::vector<std::string> problems = FitProblems(dialog, plain);
    dialog.DestroyWindow();
    return problems;
}

} // namespace tvsk::testing
