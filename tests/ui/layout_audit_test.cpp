// Every window as the user sees it, in both languages: each text has the room its control gives it, no
// control covers another, and what starts in a group box stays in it. Every window is built at the fixed
// size of its template (CDialog::Build, CTabCtrl::PlacePage), so its default size is also its smallest.
#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionFrame>
#include <QStyleOptionGroupBox>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

#include "model/device/device_type.h"
#include "platform/admin_mode.h"
#include "platform/program_path.h"
#include "platform/resource_module.h"
#include "res/dialogs/dialog_138_ids.h"
#include "res/en/dialog_table_en.h"
#include "res/string_ids.h"
#include "sim/sim_model.h"
#include "support/scaled_timing.h"
#include "ui/common/language.h"
#include "ui/common/static_buffer.h"
#include "ui/controls/meter.h"
#include "ui/framework/dialog_font.h"
#include "ui/framework/dialog_window.h"
#include "ui/framework/tab_ctrl.h"
#include "ui/main/main_dialog_support.h"
#include "ui/main/vort_dlg.h"
#include "ui/ui_test_support.h"

namespace {
// The widest value line a meter shows: a thermocouple's low end in tenths, with its unit.
const QString kWidestMeterLine = QStringLiteral("-1800.000deg C");

std::string Text(const QString& text) { return text.toStdString(); }

QString TextOf(const QWidget* control) {
    if (const auto* button = qobject_cast<const QAbstractButton*>(control)) return button->text();
    if (const auto* label = qobject_cast<const QLabel*>(control)) return label->text();
    if (const auto* box = qobject_cast<const QGroupBox*>(control)) return box->title();
    if (const auto* edit = qobject_cast<const QLineEdit*>(control)) return edit->text();
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

// The least size that shows the control's whole text with its own font and style; empty when the
// control has no text of its own to fit.
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
        if (edit->text().isEmpty()) return QSize();
        QStyleOptionFrame option;
        option.initFrom(edit);
        option.lineWidth = style->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit);
        const QMargins margins = edit->textMargins();
        const QSize text(metrics.horizontalAdvance(edit->text()) + 2 + margins.left() + margins.right(),
                         metrics.height());
        return QSize(style->sizeFromContents(QStyle::CT_LineEdit, &option, text, edit).width(), 0);
    }
    if (const auto* tab = qobject_cast<const CTabCtrl*>(control)) {
        // All tabs side by side, none cut or scrolled away.
        return QSize(tab->Bar()->sizeHint().width(), 0);
    }
    if (const auto* meter = qobject_cast<const CMeter*>(control)) {
        // The value lines are drawn at the dialog font, never smaller.
        const QFontMetrics dialog(DialogFont());
        int width = dialog.horizontalAdvance(kWidestMeterLine);
        for (const std::string& line : {meter->GetLine1(), meter->GetLine2()}) {
            width = std::max(width, dialog.horizontalAdvance(QString::fromStdString(line)));
        }
        return QSize(width, 0);
    }
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

// What is wrong in a window and the pages in it, one line per fault.
class CLayoutAudit {
public:
    // `language` and `scene` say where the window was seen; a fault seen again in another scene is
    // reported once, with the first scene that showed it.
    void Audit(const QWidget* window, const std::string& language, const std::string& scene) {
        m_scene = scene;
        const std::string dialog = language + " " + Text(window->objectName());
        std::vector<const QWidget*> shown;
        for (const QWidget* child : window->findChildren<const QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!child->isHidden()) shown.push_back(child);
        }
        for (const QWidget* control : shown) {
            if (IsWindow(control)) {
                Audit(control, language, scene);
                continue;
            }
            const QSize needed = NeededSize(control);
            if (needed.width() > control->width() || needed.height() > control->height()) {
                Report(dialog, control,
                       "needs " + Size(needed) + " for its text but has " + Size(control->size()));
            }
        }
        for (std::size_t a = 0; a < shown.size(); ++a) {
            for (std::size_t b = a + 1; b < shown.size(); ++b) CheckPair(dialog, shown[a], shown[b]);
        }
    }

    const std::map<std::string, std::string>& Faults() const { return m_faults; }

private:
    static std::string Size(QSize size) {
        return std::to_string(std::max(size.width(), 0)) + "x" + std::to_string(std::max(size.height(), 0));
    }
    static std::string Name(const QWidget* control) {
        return "control " + Text(control->objectName()) + " \"" + Text(TextOf(control)) + "\"";
    }
    void Report(const std::string& dialog, const QWidget* control, const std::string& fault) {
        m_faults.emplace(dialog + ": " + Name(control) + " " + fault, m_scene);
    }

    // A group box and a tab control hold what lies in them; anything else may not touch another.
    void CheckPair(const std::string& dialog, const QWidget* a, const QWidget* b) {
        for (auto [outer, inner] : {std::pair{a, b}, std::pair{b, a}}) {
            if (const auto* box = qobject_cast<const QGroupBox*>(outer)) {
                if (!box->geometry().contains(inner->pos())) continue;
                if (!GroupContents(box).contains(inner->geometry())) {
                    Report(dialog, inner, "leaves group box " + Name(box));
                }
                return;
            }
            if (qobject_cast<const CTabCtrl*>(outer) && IsWindow(inner) &&
                outer->geometry().contains(inner->geometry())) {
                return;
            }
        }
        if (a->geometry().intersects(b->geometry())) Report(dialog, a, "overlaps " + Name(b));
    }

    std::string m_scene;
    std::map<std::string, std::string> m_faults;
};

// The tallest stretch of `group` that no visible control of its window crosses, in pixels.
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

class LayoutAudit : public MainDialogFixture {
protected:
    void TearDown() override {
        std::filesystem::remove(AdminMarkerPath(ProgramPath()));
        SetAdminMode(false);
        MainDialogFixture::TearDown();
    }

    // The main dialog with every device and file tab chosen in turn.
    void AuditMainDialog(CVORTDlg& dialog, const std::string& language, const std::string& scene) {
        for (int device = 0; device < dialog.GetDlgItemAs<CTabCtrl>(CVORTDlg::kDeviceTab)->GetItemCount();
             ++device) {
            dialog.SetCurSel(CVORTDlg::kDeviceTab, device);
            dialog.DispatchSelChange(CVORTDlg::kDeviceTab);
            m_audit.Audit(dialog.GetWindow(), language, scene + ", device tab " + std::to_string(device));
            SaveScreenshot(dialog.GetWindow(),
                           "audit_" + language + "_" + scene + "_" + std::to_string(device) + ".png");
        }
        // The device side has no empty band, whichever commands the mode shows.
        const QWidget* upload = dialog.GetDlgItem(CVORTDlg::kUpload);
        EXPECT_LE(LargestEmptyBand(dialog.GetDlgItem(CVORTDlg::kDeviceGroup)), 2 * upload->height())
            << language << " " << scene;
        for (int file = 0; file < dialog.GetDlgItemAs<CTabCtrl>(CVORTDlg::kFileTab)->GetItemCount(); ++file) {
            dialog.SetCurSel(CVORTDlg::kFileTab, file);
            dialog.DispatchSelChange(CVORTDlg::kFileTab);
            m_audit.Audit(dialog.GetWindow(), language, scene + ", file tab " + std::to_string(file));
        }
    }

    CTemporaryProfile m_profile;
    CLayoutAudit m_audit;
};
}  // namespace

TEST_F(LayoutAudit, EveryWindowGivesEachTextRoomAndEachControlItsOwnPlace) {
    const char* languages[] = {"en", "jpn"};
    struct Scene {
        std::string name;
        std::string deviceCode;  // empty: offline
        int fileType;
        bool admin;
        bool transfer;
    };
    std::vector<Scene> scenes = {
        {"offline", "", CDeviceType::kDefaultTypeId, false, false},
        {"admin", "", CDeviceType::kDefaultTypeId, true, false},
        {"uploading", "K9TS", 1, false, true},
    };
    for (const std::string& code : CSimModel::KnownCodes()) {
        scenes.push_back({code, code, CDeviceType::TypeIdOfModel(code), false, false});
    }
    for (int language : {0, 1}) {
        const std::string in = languages[language];
        SetLanguage(language);
        // Every template as it stands, before its class fills it in.
        QWidget host;
        for (std::size_t i = 0; i < EnglishDialogCount(); ++i) {
            CDialog raw(EnglishDialogs()[i].id);
            raw.Create(&host);
            m_audit.Audit(raw.GetWindow(), in, "template");
        }
        // Texts that classes put into a template later.
        CDialog output(138);
        output.Create(&host);
        output.SetDlgItemText(Dialog138Ids::kDeviceState, LoadString(kStrAdjustmentStateUnknown));
        m_audit.Audit(output.GetWindow(), in, "device state unknown");
        for (const Scene& scene : scenes) {
            const std::string where = in + "_" + scene.name;
            if (scene.admin) std::ofstream(AdminMarkerPath(ProgramPath())) << "";
            std::optional<CProfiledSim> device;
            if (!scene.deviceCode.empty()) device.emplace(scene.deviceCode);
            std::optional<CGate> gate;
            if (device) gate.emplace(device->sim);
            {
                CDeviceType registry;
                StaticBuffer().PutParameterSet(registry.SetTypeId(scene.fileType)->Clone());
            }
            CVORTDlg dialog;
            RunModalSettled(dialog, [&] {
                if (device) {
                    Click(dialog, CVORTDlg::kConnect);
                    ASSERT_TRUE(PumpUntil([&] { return dialog.GetState() == CVORTDlg::kStateOnline; }))
                        << where;
                    // Shown once the poll has filled the meters and the adjustment page has followed the
                    // device's record with all its parts.
                    const CAdjustInputPage& adjust = dialog.GetAdjustPage();
                    ASSERT_TRUE(PumpUntil([&] {
                        return !dialog.GetInputMeter().GetMeter()->GetLine2().empty() &&
                               adjust.IsDlgItemShown(CAdjustInputPage::kInputGroup) ==
                                   adjust.IsDlgItemShown(CAdjustInputPage::kInputZero);
                    })) << where;
                }
                if (!device) {
                    ASSERT_TRUE(PumpUntil([&] { return dialog.GetState() == CVORTDlg::kStateOffline; }))
                        << where;
                }
                if (scene.transfer) {
                    gate->Close();
                    Click(dialog, CVORTDlg::kUpload);
                    ASSERT_EQ(dialog.GetState(), CVORTDlg::kStateBusy) << where;
                }
                AuditMainDialog(dialog, in, scene.name);
                if (device && !scene.transfer) {
                    Click(dialog, CVORTDlg::kTrendGraph);
                    m_audit.Audit(dialog.GetWindow(), in, scene.name + ", trend graph");
                    Click(dialog.GetGraphPage(), CGraphPage::kClose);
                    ASSERT_TRUE(PumpUntil([&] { return !dialog.IsGraphOpen(); })) << where;
                }
                if (gate) gate->Open();
                ASSERT_TRUE(PumpUntil([&] { return !dialog.HasWorkThread(); })) << where;
            });
            std::filesystem::remove(AdminMarkerPath(ProgramPath()));
        }
    }
    for (const auto& [fault, scene] : m_audit.Faults()) ADD_FAILURE() << fault << " (" << scene << ")";
}
