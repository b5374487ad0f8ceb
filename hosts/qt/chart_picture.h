#pragma once
// Charts saved as PNG pictures, for a job card.

#include <QString>

class QWidget;

namespace zav::qt {

// The widget as it shows now, as a PNG at `path`. False when the file could not be written.
bool WriteChartPicture(QWidget& chart, const QString& path);

// The same with `caption` (what the chart is of, and when) in a line above it, so the
// picture says what it shows away from the program.
bool WriteCaptionedPicture(QWidget& chart, const QString& caption, const QString& path);

// "Live chart-20261209-011502.png": the title made safe for a file name, and the local time,
// so that pictures saved one after another never propose the same name.
QString ProposedPictureName(const QString& title);

// Asks where to save (a .png beside the working folder) and saves with the caption; says so
// if it failed.
void SaveChartPicture(QWidget& chart, QWidget* owner, const QString& title, const QString& caption);

}  // namespace zav::qt
