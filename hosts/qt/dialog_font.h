#pragma once
// The one font of the windows built from templates, and the base units measured from it.
// The templates' boxes are sized in these units, so their texts fit whatever the font.

#include <QFont>
#include <QString>

#include "hosts/qt/dialog_units.h"

namespace zav::qt {

// The desktop's default user-interface font, unless `setting` names another in QFont's
// text form ("Family,points", e.g. "DejaVu Sans,11"); an empty or unreadable setting keeps
// the default.
QFont ChooseDialogFont(const QString& setting);

// Horizontal: the average width of the 52 letters a-z and A-Z, rounded as the platform
// rounds it; vertical: the font's height (ascent + descent, px).
BaseUnits MeasureBaseUnits(const QFont& font);

}  // namespace zav::qt
