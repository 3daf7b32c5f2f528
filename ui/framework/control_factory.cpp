#include "ui/framework/control_factory.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QString>

#include "ui/framework/dialog_font.h"
#include "ui/framework/report_list_ctrl.h"
#include "ui/framework/tab_ctrl.h"
#include "ui/framework/trackbar.h"
#include "ui/framework/up_down_ctrl.h"

namespace {
Qt::Alignment TextAlignment(unsigned style) {
    if (style & kStyleRight) return Qt::AlignRight | Qt::AlignVCenter;
    if (style & kStyleCenter) return Qt::AlignHCenter | Qt::AlignVCenter;
    return Qt::AlignLeft | Qt::AlignVCenter;
}

QPushButton* MakePushButton(QWidget* parent, const QString& text) {
    auto* button = new QPushButton(text, parent);
    // Enter is the dialog's to handle (focused button, default button, OnOK), not the button's.
    button->setAutoDefault(false);
    return button;
}

QWidget* MakeControl(QWidget* window, const DialogControl& control) {
    const QString text = QString::fromUtf8(control.text);
    const unsigned style = control.style;
    switch (control.kind) {
        case ControlKind::PushButton: return MakePushButton(window, text);
        case ControlKind::DefPushButton: {
            QPushButton* button = MakePushButton(window, text);
            button->setDefault(true);
            return button;
        }
        case ControlKind::CheckBox: {
            if (style & kStylePushLike) {
                QPushButton* button = MakePushButton(window, text);
                button->setCheckable(true);
                return button;
            }
            return new QCheckBox(text, window);
        }
        case ControlKind::RadioButton: {
            if (style & kStylePushLike) {
                QPushButton* button = MakePushButton(window, text);
                button->setCheckable(true);
                return button;
            }
            auto* radio = new QRadioButton(text, window);
            radio->setAutoExclusive(false);
            return radio;
        }
        case ControlKind::GroupBox: return new QGroupBox(text, window);
        case ControlKind::Static: {
            auto* label = new QLabel(text, window);
            label->setAlignment((style & (kStyleRight | kStyleCenter)) ? TextAlignment(style)
                                                                       : Qt::AlignLeft | Qt::AlignTop);
            if (style & kStyleBorder) label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            // A left-aligned static breaks a text longer than its width into lines, as the templates expect.
            label->setWordWrap(!(style & (kStyleRight | kStyleCenter)));
            return label;
        }
        case ControlKind::Edit: {
            if (style & kStyleMultiLine) {
                auto* edit = new QPlainTextEdit(text, window);
                edit->setReadOnly(style & kStyleReadOnly);
                return edit;
            }
            auto* edit = new QLineEdit(text, window);
            edit->setReadOnly(style & kStyleReadOnly);
            edit->setAlignment(TextAlignment(style));
            return edit;
        }
        case ControlKind::ComboBox: {
            auto* combo = new QComboBox(window);
            // The template height includes the drop-down list; the box itself is one line high.
            combo->setMaxVisibleItems(12);
            return combo;
        }
        case ControlKind::ListBox: {
            auto* list = new QListWidget(window);
            list->setSelectionMode((style & kStyleSingleSel) ? QAbstractItemView::SingleSelection
                                                             : QAbstractItemView::ExtendedSelection);
            list->setSortingEnabled(style & kStyleSort);
            return list;
        }
        case ControlKind::ListView: {
            auto* list = new CReportListCtrl(window);
            list->SetHeadingsVisible(!(style & kStyleNoHeader));
            list->SetSingleSelection(style & kStyleSingleSel);
            return list;
        }
        case ControlKind::TabControl: return new CTabCtrl(window);
        case ControlKind::ProgressBar: {
            auto* bar = new QProgressBar(window);
            bar->setRange(0, 100);
            bar->setValue(0);
            bar->setTextVisible(false);
            return bar;
        }
        case ControlKind::Trackbar: {
            auto* slider = new CTrackbar((style & kStyleVertical) ? Qt::Vertical : Qt::Horizontal, window);
            slider->setTickPosition((style & kStyleNoTicks) ? QSlider::NoTicks : QSlider::TicksBelow);
            return slider;
        }
        case ControlKind::UpDown: return new CUpDownCtrl(window, style);
        case ControlKind::Placeholder: {
            auto* frame = new QFrame(window);
            if (style & kStyleBorder) frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            return frame;
        }
    }
    return new QWidget(window);
}
}  // namespace

std::vector<QWidget*> CreateControls(QWidget* window, const DialogTemplate& dialog) {
    std::vector<QWidget*> controls;
    QButtonGroup* radios = nullptr;
    QWidget* previous = nullptr;
    for (std::size_t i = 0; i < dialog.controlCount; ++i) {
        const DialogControl& control = dialog.controls[i];
        QWidget* widget = MakeControl(window, control);
        // The id names the control where no handle to it is kept (layout checks, accessibility tools).
        widget->setObjectName(QString::number(control.id));
        QRect area = DialogUnitsToPixels(control.x, control.y, control.cx, control.cy);
        if (control.kind == ControlKind::ComboBox) area.setHeight(widget->sizeHint().height());
        widget->setGeometry(area);
        widget->setEnabled(!(control.style & kStyleDisabled));
        widget->setVisible(!(control.style & kStyleHidden));
        // Consecutive radio buttons form one exclusive group; kStyleGroup starts a new one.
        const bool radio = control.kind == ControlKind::RadioButton;
        if (!radio || (control.style & kStyleGroup)) radios = nullptr;
        if (radio) {
            if (!radios) {
                radios = new QButtonGroup(window);
                radios->setExclusive(true);
            }
            radios->addButton(static_cast<QAbstractButton*>(widget));
        }
        if (control.kind == ControlKind::UpDown && (control.style & kStyleAutoBuddy)) {
            static_cast<CUpDownCtrl*>(widget)->SetBuddy(qobject_cast<QLineEdit*>(previous));
        }
        controls.push_back(widget);
        previous = widget;
    }
    return controls;
}
