#pragma once
// Charts saved as PNG pictures, for a job card.

#include <QString>

class QWidget;

namespace zav::qt {

// The widget as it shows now, as a PNG at `path`. False when the file could not be written.
bool WriteChartPicture(QWidget& chart, const QString& path);

// Asks where to save (a .png beside the working folder) and saves; says so if it failed.
void SaveChartPicture(QWidget& chart, QWidget* owner, const QString& title);

}  // namespace zav::qt
