#pragma once

#include "core/app/FontDescription.h"

#include <QFont>

// Between a remembered font description and the font the screen uses. A description's negative
// height is a character height in pixels at 96 dots per inch.
QFont ToQFont(const FontDescription& description);
// Keeps the fields a font does not carry (character set, precision) from `base`.
FontDescription FromQFont(const QFont& font, const FontDescription& base);
