#include "gui/app/FontConversion.h"

#include <cmath>
#include <cstdlib>

namespace {
constexpr double kPointsPerPixel = 72.0 / 96.0;
}

QFont ToQFont(const FontDescription& d) {
    QFont font(QString::fromStdString(d.face));
    const int pixels = d.height == 0 ? 12 : std::abs(d.height);
    font.setPointSizeF(pixels * kPointsPerPixel);
    font.setWeight(static_cast<QFont::Weight>(std::clamp(d.weight == 0 ? 400 : d.weight, 100, 900)));
    font.setItalic(d.italic != 0);
    font.setUnderline(d.underline != 0);
    if ((d.pitchAndFamily & 3) == FontDescription::kPitchFixed) {
        font.setFixedPitch(true);
        font.setStyleHint(QFont::TypeWriter);
    }
    return font;
}

FontDescription FromQFont(const QFont& font, const FontDescription& base) {
    FontDescription d = base;
    const double points = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * kPointsPerPixel;
    d.height = -static_cast<int>(std::lround(points / kPointsPerPixel));
    d.weight = font.weight();
    d.italic = font.italic() ? 1 : 0;
    d.underline = font.underline() ? 1 : 0;
    d.pitchAndFamily = FontDescription::kPitchFixed | FontDescription::kFamilyModern;
    d.face = font.family().toStdString().substr(0, FontDescription::kMaxFace);
    return d;
}
