#include "ui/framework/dialog_font.h"

#include <QFontMetrics>
#include <QString>

QFont DialogFont() {
    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setPixelSize(11);
    font.setStyleHint(QFont::SansSerif);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

DialogBaseUnits GetDialogBaseUnits() {
    static const DialogBaseUnits units = [] {
        const QFontMetrics metrics(DialogFont());
        // Average width of the 52 letters, rounded; height of a line.
        const int width = metrics.horizontalAdvance(
            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
        return DialogBaseUnits{(width / 26 + 1) / 2, metrics.height()};
    }();
    return units;
}

namespace {
// Multiplies and divides rounding half away from zero, in 64 bits.
int MulDivRound(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}
}  // namespace

QRect DialogUnitsToPixels(int x, int y, int cx, int cy) {
    const DialogBaseUnits units = GetDialogBaseUnits();
    return QRect(MulDivRound(x, units.x, 4), MulDivRound(y, units.y, 8), MulDivRound(cx, units.x, 4),
                 MulDivRound(cy, units.y, 8));
}
