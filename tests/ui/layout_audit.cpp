#include "ui/layout_audit.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QStyleOptionGroupBox>
#include <QStyleOptionHeader>
#include <QTableView>

#include <algorithm>
#include <cmath>

#include "ui/controls/meter.h"
#include "ui/framework/dialog_window.h"
#include "ui/framework/tab_ctrl.h"

namespace {
// The widest value line a meter shows: a thermocouple's low end in tenths, with its unit.
const QString kWidestMeterLine = QStringLiteral("-1800.000deg C");
// QLineEdit keeps this many pixels between its text margins and its text at each side; it scrolls the
// text once the text and one pixel for the cursor are wider than what is left.
constexpr int kLineEditTextInset = 2;
constexpr int kLineEditCursor = 1;
// The style draws a combo box's text one pixel inside its edit field at each side.
constexpr int kComboLabelInset = 1;

// What Qt keeps protected: the style options a control paints with, a heading's least size.
struct LineEditAccess : QLineEdit {
    using QLineEdit::initStyleOption;
};
struct ComboBoxAccess : QComboBox {
    using QComboBox::initStyleOption;
};
struct HeaderAccess : QHeaderView {
    using QHeaderView::initStyleOptionForIndex;
};

std::string Text(const QString& text) { return text.toStdString(); }

std::string Size(QSize size) {
    return std::to_string(std::max(size.width(), 0)) + "x" + std::to_string(std::max(size.height(), 0));
}

std::string Rectangle(const QRect& r) {
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + Size(r.size());
}

QString TextOf(const QWidget* control) {
    if (const auto* button = qobject_cast<const QAbstractButton*>(control)) return button->text();
    if (const auto* label = qobject_cast<const QLabel*>(control)) return label->text();
    if (const auto* box = qobject_cast<const QGroupBox*>(control)) return box->title();
    if (const auto* edit = qobject_cast<const QLineEdit*>(control)) return edit->text();
    if (const auto* combo = qobject_cast<const QComboBox*>(control)) return combo->currentText();
    if (const auto* tab = qobject_cast<const CTabCtrl*>(control)) {
        QStringList texts;
        for (int i = 0; i < tab->Bar()->count(); ++i) texts << tab->Bar()->tabText(i);
        return texts.join(u'|');
    }
    if (const auto* meter = qobject_cast<const CMeter*>(control)) {
        return QString::fromStdString(meter->GetLine1() + "|" + meter->GetLine2());
    }
    return QString();
}

std::string Name(const QWidget* control) {
    return "control " + Text(control->objectName()) + " \"" + Text(TextOf(control)) + "\"";
}

// The width a line edit must have to show `text` unscrolled: its frame, text margins and inset, the text
// and the cursor.
int LineEditWidth(const QLineEdit* edit, const QString& text) {
    QStyleOptionFrame option;
    (edit->*&LineEditAccess::initStyleOption)(&option);
    const QRect contents = edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit);
    const QMargins margins = edit->textMargins();
    const int room = contents.width() - margins.left() - margins.right() - 2 * kLineEditTextInset;
    return edit->width() - room + edit->fontMetrics().horizontalAdvance(text) + kLineEditCursor;
}

// The width a combo box must have to show the widest of its entries in its edit field.
int ComboBoxWidth(const QComboBox* combo) {
    QStyleOptionComboBox option;
    (combo->*&ComboBoxAccess::initStyleOption)(&option);
    const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                       QStyle::SC_ComboBoxEditField, combo);
    int widest = 0;
    for (int i = 0; i < combo->count(); ++i) {
        widest = std::max(widest, combo->fontMetrics().horizontalAdvance(combo->itemText(i)));
    }
    return combo->width() - (field.width() - 2 * kComboLabelInset) + widest;
}

// The width the section of column `column` must have to show its heading whole: the header cuts a
// heading wider than the label area the style leaves in the section.
int HeadingWidth(const QHeaderView* header, int column) {
    QStyleOptionHeader option;
    (header->*&HeaderAccess::initStyleOptionForIndex)(&option, column);
    option.rect = QRect(0, 0, header->sectionSize(column), header->height());
    const QRect label = header->style()->subElementRect(QStyle::SE_HeaderLabel, &option, header);
    // The heading's pixels may reach past its advance; the label area clips them.
    const QFontMetrics metrics = header->fontMetrics();
    const int text = std::max(metrics.horizontalAdvance(option.text),
                              metrics.boundingRect(option.text).right() + 1);
    return header->sectionSize(column) - label.width() + text;
}

// The width a meter must have to draw its title and value lines, and the widest line it may be given,
// uncut in its own font.
int MeterWidth(const CMeter* meter) {
    const QFontMetricsF metrics(meter->font());
    qreal widest = metrics.horizontalAdvance(kWidestMeterLine);
    for (const std::string& line : {meter->GetLine1(), meter->GetLine2(), meter->GetTitle()}) {
        widest = std::max(widest, metrics.horizontalAdvance(QString::fromStdString(line)));
    }
    return static_cast<int>(std::ceil(widest)) + 2 * CMeter::kTextMargin;
}

// The least size that shows the control's whole text as it is drawn; empty when the control has no
// text of its own to fit.
QSize NeededSize(const QWidget* control) {
    const QFontMetrics metrics = control->fontMetrics();
    const QStyle* style = control->style();
    if (const auto* push = qobject_cast<const QPushButton*>(control)) {
        if (push->text().isEmpty()) return QSize();
        // The text and the style's margins; the style's least button width is not about the text.
        const int margins = style->pixelMetric(QStyle::PM_ButtonMargin) +
                            2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth);
        return metrics.size(Qt::TextShowMnemonic, push->text()) + QSize(margins, margins);
    }
    if (qobject_cast<const QCheckBox*>(control) || qobject_cast<const QRadioButton*>(control)) {
        return control->sizeHint();
    }
    if (const auto* box = qobject_cast<const QGroupBox*>(control)) {
        return box->title().isEmpty() ? QSize() : QSize(box->minimumSizeHint().width(), 0);
    }
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        if (label->text().isEmpty()) return QSize();
        const QRect room = label->contentsRect();
        const int flags = label->wordWrap() ? Qt::TextWordWrap : 0;
        const QSize text =
            metrics.boundingRect(QRect(0, 0, room.width(), 10000), flags, label->text()).size();
        return text + (label->size() - room.size());
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(control)) {
        return edit->text().isEmpty() ? QSize() : QSize(LineEditWidth(edit, edit->text()), 0);
    }
    if (const auto* combo = qobject_cast<const QComboBox*>(control)) {
        return combo->count() == 0 ? QSize() : QSize(ComboBoxWidth(combo), 0);
    }
    if (const auto* tab = qobject_cast<const CTabCtrl*>(control)) {
        // All tabs side by side, none cut or scrolled away.
        return QSize(tab->Bar()->sizeHint().width(), 0);
    }
    if (const auto* meter = qobject_cast<const CMeter*>(control)) return QSize(MeterWidth(meter), 0);
    return QSize();
}

// The area a group box holds its controls in, in its parent's coordinates.
QRect GroupContents(const QGroupBox* box) {
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    const QRect frame = box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxFrame,
                                                     box);
    const QRect label = box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel,
                                                     box);
    QRect inside = frame.adjusted(1, 1, -1, -1);
    inside.setTop(std::max(inside.top(), label.bottom() + 1));
    return inside.translated(box->pos());
}

bool IsWindow(const QWidget* widget) { return dynamic_cast<const CDialogLink*>(widget) != nullptr; }

class CWindowAudit {
public:
    explicit CWindowAudit(std::vector<std::string>& faults) : m_faults(faults) {}

    void Audit(const QWidget* window) {
        const std::string name = Text(window->objectName());
        std::vector<const QWidget*> shown;
        for (const QWidget* child : window->findChildren<const QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!child->isHidden()) shown.push_back(child);
        }
        for (const QWidget* control : shown) {
            if (!window->rect().contains(control->geometry())) {
                Report(name, control, "leaves its window " + Rectangle(window->rect()));
            }
            if (IsWindow(control)) {
                Audit(control);
                continue;
            }
            const QSize needed = NeededSize(control);
            if (needed.width() > control->width() || needed.height() > control->height()) {
                Report(name, control,
                       "needs " + Size(needed) + " for its text but has " + Size(control->size()));
            }
            if (const auto* list = qobject_cast<const QTableView*>(control)) CheckHeadings(name, list);
        }
        for (std::size_t a = 0; a < shown.size(); ++a) {
            for (std::size_t b = a + 1; b < shown.size(); ++b) CheckPair(name, shown[a], shown[b]);
        }
    }

private:
    void Report(const std::string& window, const QWidget* control, const std::string& fault) {
        m_faults.push_back(window + ": " + Name(control) + " " + fault);
    }

    // Each shown column's heading whole in its section, as the header would otherwise cut it.
    void CheckHeadings(const std::string& window, const QTableView* list) {
        const QHeaderView* header = list->horizontalHeader();
        if (header->isHidden()) return;
        for (int i = 0; i < header->count(); ++i) {
            if (header->isSectionHidden(i) || header->sectionSize(i) == 0) continue;
            const int needed = HeadingWidth(header, i);
            if (needed <= header->sectionSize(i)) continue;
            const QString heading = list->model()->headerData(i, Qt::Horizontal).toString();
            Report(window, list,
                   "column " + std::to_string(i) + " heading \"" + Text(heading) + "\" needs " +
                       std::to_string(needed) + " but has " + std::to_string(header->sectionSize(i)));
        }
    }

    // A group box and a tab control hold what lies in them; anything else may not touch another.
    void CheckPair(const std::string& window, const QWidget* a, const QWidget* b) {
        for (auto [outer, inner] : {std::pair{a, b}, std::pair{b, a}}) {
            if (const auto* box = qobject_cast<const QGroupBox*>(outer)) {
                if (!box->geometry().contains(inner->pos())) continue;
                if (!GroupContents(box).contains(inner->geometry())) {
                    Report(window, inner, "leaves group box " + Name(box));
                }
                return;
            }
            if (qobject_cast<const CTabCtrl*>(outer) && IsWindow(inner) &&
                outer->geometry().contains(inner->geometry())) {
                return;
            }
        }
        if (a->geometry().intersects(b->geometry())) Report(window, a, "overlaps " + Name(b));
    }

    std::vector<std::string>& m_faults;
};
}  // namespace

std::vector<std::string> LayoutFaults(const QWidget* window) {
    std::vector<std::string> faults;
    CWindowAudit(faults).Audit(window);
    return faults;
}

int LargestEmptyBand(const QWidget* group) {
    std::vector<std::pair<int, int>> spans;
    for (const QWidget* control :
         group->parentWidget()->findChildren<const QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (control != group && !control->isHidden() && group->geometry().contains(control->geometry())) {
            spans.emplace_back(control->geometry().top(), control->geometry().bottom());
        }
    }
    std::sort(spans.begin(), spans.end());
    int reached = GroupContents(static_cast<const QGroupBox*>(group)).top();
    int largest = 0;
    for (const auto& [top, bottom] : spans) {
        largest = std::max(largest, top - reached);
        reached = std::max(reached, bottom);
    }
    return std::max(largest, group->geometry().bottom() - reached);
}
